#include "frontend/model/number_text.h"

#include <limits>

namespace wrenfold {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string FormatSignedDecimal(int64_t value) {
  return value >= 0 ? " " + std::to_string(value) : std::to_string(value);
}

std::string FormatPlainDecimal(int64_t value) {
  return std::to_string(value);
}

int64_t LeadingNumberValue(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / 10 - 9;
  int64_t magnitude = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    if (magnitude < kLimit) magnitude = magnitude * 10 + (text[pos] - '0');
  }
  return negative ? -magnitude : magnitude;
}

std::optional<int64_t> ParseWholeInteger(std::string_view text) {
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  size_t last = text.size();
  while (last > first && IsBlank(text[last - 1])) --last;
  std::string_view body = text.substr(first, last - first);
  size_t digitsStart = (!body.empty() && (body[0] == '-' || body[0] == '+')) ? 1 : 0;
  if (body.size() == digitsStart || body.size() - digitsStart > 18) return std::nullopt;
  for (size_t i = digitsStart; i < body.size(); ++i) {
    if (!IsDigit(body[i])) return std::nullopt;
  }
  return LeadingNumberValue(body);
}

std::optional<int16_t> ToInt16(int64_t value) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int16_t>(value);
}

}  // namespace wrenfold
