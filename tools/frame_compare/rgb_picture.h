// Pictures as the comparison sees them: the reference's frames in RGB, ours as colour numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wrenfold::compare {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;

  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row after row

  const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Our picture: one colour number (0-63) per pixel, as the renderer wrote it, and the colour
// emphasis (0-7, $2001 bits 5-7) it was shown with.
struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;  // row after row
  uint8_t emphasis = 0;

  uint8_t At(int x, int y) const { return indices[static_cast<std::size_t>(y) * width + x]; }
};

}  // namespace wrenfold::compare
