// Text of the databases is in the GB code page (936): a byte below 0x80 stands alone, a byte of
// 0x80 or above leads a two-byte character. Everything outside the files is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace wrenfold {

// Decodes GB bytes, pairing every byte of 0x80 or above with the byte after it whatever that
// is. A pair that is no GB character becomes U+FFFD; a lead byte with nothing after it is
// dropped (a length byte counts it, but it starts no character). Never fails.
std::string GbToUtf8(std::string_view gb);

// Encodes UTF-8 as GB. A character without a two-byte or ASCII GB form, and every byte that is
// not valid UTF-8, becomes "?". Never fails.
std::string Utf8ToGb(std::string_view utf8);

// True when the bytes decode and encode back to themselves.
bool GbRoundTrips(std::string_view gb);

}  // namespace wrenfold
