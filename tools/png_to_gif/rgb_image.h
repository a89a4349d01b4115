// A picture as rows of 8-bit RGB pixels, and the same picture as palette indices.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace wrenfold::png_to_gif {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height * 3 bytes, rows top to bottom
};

using PaletteColour = std::array<uint8_t, 3>;  // red, green, blue

// A GIF holds at most 256 colours per picture.
inline constexpr size_t kMaxPaletteColours = 256;

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<PaletteColour> palette;  // 1 to 256 colours, in order of first use
  std::vector<uint8_t> indices;        // width * height palette indices
};

}  // namespace wrenfold::png_to_gif
