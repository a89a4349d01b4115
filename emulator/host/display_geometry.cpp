#include "emulator/host/display_geometry.h"

namespace wrenfold {

DisplayGeometry DisplayGeometryFor(int resolution) {
  DisplayGeometry geometry{};
  geometry.bitsPerPixel = 8;
  geometry.source = {0, 0, 255, 239};
  switch (resolution) {
    case 2:
      geometry.modeWidth = 800;
      geometry.modeHeight = 600;
      geometry.doubleSizeTarget = {148, 60, 659, 539};
      break;
    case 3:
      geometry.modeWidth = 1024;
      geometry.modeHeight = 768;
      geometry.doubleSizeTarget = {128, 0, 895, 719};
      break;
    default:
      geometry.modeWidth = 640;
      geometry.modeHeight = 480;
      geometry.doubleSizeTarget = {64, 0, 575, 479};
      break;
  }
  return geometry;
}

}  // namespace wrenfold
