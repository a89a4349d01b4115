#include "frontend/model/gb_text.h"

#include <iconv.h>

#include <algorithm>
#include <cstdint>

namespace wrenfold {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// One iconv descriptor per direction and thread, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : descriptor(iconv_open(to, from)) {}
  ~Converter() {
    if (IsOpen()) iconv_close(descriptor);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one whole character; false when the input is not exactly one convertible unit.
  bool ConvertUnit(std::string_view in, std::string& out) {
    if (!IsOpen()) return false;
    iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char buffer[16];
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    if (iconv(descriptor, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
        inLeft != 0)
      return false;
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    return true;
  }

 private:
  bool IsOpen() const { return descriptor != reinterpret_cast<iconv_t>(-1); }
  iconv_t descriptor;
};

Converter& GbDecoder() {
  thread_local Converter converter("UTF-8", "GBK");
  return converter;
}

Converter& GbEncoder() {
  thread_local Converter converter("GBK", "UTF-8");
  return converter;
}

// Length of the UTF-8 sequence a lead byte announces, 0 for a byte that cannot lead one.
size_t Utf8SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// A decoded pair must be one character; 0x80 0x41 would otherwise give a euro sign and "A".
bool IsOneCharacter(std::string_view utf8) {
  return !utf8.empty() && Utf8SequenceLength(static_cast<uint8_t>(utf8[0])) == utf8.size();
}

// Length of the well-formed UTF-8 sequence at the start of text, 0 when it is not one.
size_t WellFormedSequenceLength(std::string_view text) {
  const size_t length = Utf8SequenceLength(static_cast<uint8_t>(text[0]));
  if (length == 0 || length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k)
    if ((static_cast<uint8_t>(text[k]) & 0xC0) != 0x80) return 0;
  return length;
}

}  // namespace

std::string GbToUtf8(std::string_view gb) {
  std::string utf8;
  utf8.reserve(gb.size() * 3 / 2);
  size_t i = 0;
  while (i < gb.size()) {
    const auto byte = static_cast<uint8_t>(gb[i]);
    if (byte < 0x80) {
      utf8.push_back(static_cast<char>(byte));
      ++i;
      continue;
    }
    if (i + 1 == gb.size()) break;  // a lead byte at the very end starts nothing
    const std::string_view pair = gb.substr(i, 2);
    std::string decoded;
    // The GBK table also maps the single byte 0x80 (the euro sign); the files never do, so a
    // pair must give exactly one character from both bytes.
    if (GbDecoder().ConvertUnit(pair, decoded) && IsOneCharacter(decoded)) {
      utf8 += decoded;
    } else {
      utf8 += kReplacementCharacter;
    }
    i += 2;
  }
  return utf8;
}

std::string Utf8ToGb(std::string_view utf8) {
  std::string gb;
  gb.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    if (lead < 0x80) {
      gb.push_back(static_cast<char>(lead));
      ++i;
      continue;
    }
    const size_t length = std::max<size_t>(1, WellFormedSequenceLength(utf8.substr(i)));
    std::string encoded;
    // Only two-byte results are allowed: a single byte of 0x80 or above would swallow the byte
    // after it when read back.
    if (length > 1 && GbEncoder().ConvertUnit(utf8.substr(i, length), encoded) &&
        encoded.size() == 2) {
      gb += encoded;
    } else {
      gb.push_back('?');
    }
    i += length;
  }
  return gb;
}

bool GbRoundTrips(std::string_view gb) {
  return Utf8ToGb(GbToUtf8(gb)) == gb;
}

}  // namespace wrenfold
