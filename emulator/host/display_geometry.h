// Display mode and blit rectangles chosen by the resolution setting.
#pragma once

#include <cstdint>

namespace wrenfold {

// Inclusive edges, as the picture rectangles of the display service use them.
struct PictureRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

struct DisplayGeometry {
  uint16_t modeWidth;
  uint16_t modeHeight;
  uint8_t bitsPerPixel;          // always 8: every pixel is a palette index
  PictureRect doubleSizeTarget;  // where double-size mode puts the picture on the screen
  PictureRect source;            // the 256 x 240 picture
};

// Resolution 2 is 800 x 600, 3 is 1024 x 768; every other value is 640 x 480.
DisplayGeometry DisplayGeometryFor(int resolution);

}  // namespace wrenfold
