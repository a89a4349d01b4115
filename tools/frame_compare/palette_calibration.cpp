#include "tools/frame_compare/palette_calibration.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace wrenfold::compare {
namespace {

template <typename Pixel, typename Picture>
std::optional<Pixel> MostCommonFilling(const Picture& picture, int lines,
                                       const std::vector<Pixel>& pixels) {
  const int height = std::min(lines, picture.height);
  if (picture.width <= 0 || height <= 0) return std::nullopt;
  const std::size_t counted = static_cast<std::size_t>(picture.width) * height;
  // A picture of one colour has it in its first pixel, so counting that one colour suffices.
  const Pixel first = pixels[0];
  const auto same = std::count(pixels.begin(), pixels.begin() + counted, first);
  if (static_cast<double>(same) < kUniformShare * static_cast<double>(counted)) {
    return std::nullopt;
  }
  return first;
}

}  // namespace

std::optional<uint8_t> UniformIndex(const IndexedPicture& picture, int lines) {
  return MostCommonFilling(picture, lines, picture.indices);
}

std::optional<Rgb> UniformColour(const RgbPicture& picture, int lines) {
  return MostCommonFilling(picture, lines, picture.pixels);
}

std::map<uint16_t, uint32_t> ChooseChartFrames(const std::vector<std::optional<uint16_t>>& shown,
                                               uint32_t minimumRun) {
  std::map<uint16_t, std::pair<uint32_t, uint32_t>> longest;  // key -> (length, first frame)
  std::size_t start = 0;
  while (start < shown.size()) {
    std::size_t end = start + 1;
    while (end < shown.size() && shown[end] == shown[start]) ++end;
    const uint32_t length = static_cast<uint32_t>(end - start);
    if (shown[start] && length >= minimumRun) {
      auto& best = longest[*shown[start]];
      if (length > best.first) best = {length, static_cast<uint32_t>(start + 1)};
    }
    start = end;
  }
  std::map<uint16_t, uint32_t> frames;
  for (const auto& [key, run] : longest) frames[key] = run.second + run.first / 2;
  return frames;
}

std::string FormatPalette(const ReferencePalette& palette) {
  std::string text;
  for (int key = 0; key < kPaletteKeys; ++key) {
    if (!palette[key]) continue;
    char line[16];
    std::snprintf(line, sizeof line, "%03X %02X%02X%02X\n", key, palette[key]->red,
                  palette[key]->green, palette[key]->blue);
    text += line;
  }
  return text;
}

std::optional<std::string> ParsePalette(const std::string& text, ReferencePalette& palette) {
  palette = {};
  std::istringstream lines(text);
  std::string line;
  for (int lineNumber = 1; std::getline(lines, line); ++lineNumber) {
    if (line.empty()) continue;
    unsigned key = 0;
    unsigned colour = 0;
    char rest = 0;
    if (std::sscanf(line.c_str(), "%3x %6x %c", &key, &colour, &rest) != 2 || key >= kPaletteKeys ||
        line.size() != 10) {
      return "palette line " + std::to_string(lineNumber) + " is not \"KKK RRGGBB\"";
    }
    palette[key] = Rgb{static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                       static_cast<uint8_t>(colour)};
  }
  return std::nullopt;
}

}  // namespace wrenfold::compare
