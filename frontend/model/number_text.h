// Number <-> text conversions of the front-end's file formats and captions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wrenfold {

// Decimal with a sign position: a blank before values of 0 and above (" 3", " 0", "-2").
// Captions, Wrenfold.PER and the IRQADJ= line use this form.
std::string FormatSignedDecimal(int64_t value);

// Decimal without the sign position: "3", "0", "-2".
std::string FormatPlainDecimal(int64_t value);

// The numeric value of a text as the forms runtime reads it: leading blanks skipped, an
// optional sign, then the digits up to the first other character; no digits gives 0.
// Saturates instead of overflowing.
int64_t LeadingNumberValue(std::string_view text);

// The whole text as one integer (blanks around it allowed); nullopt when anything else is in it.
std::optional<int64_t> ParseWholeInteger(std::string_view text);

// `value` as a 16-bit integer, or nullopt when it does not fit.
std::optional<int16_t> ToInt16(int64_t value);

}  // namespace wrenfold
