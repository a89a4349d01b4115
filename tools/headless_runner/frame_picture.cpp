#include "tools/headless_runner/frame_picture.h"

#include <cstdio>
#include <cstring>

namespace wrenfold::headless {
namespace {

constexpr uint64_t kFnvOffsetBasis = 0xCBF29CE484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001B3ull;

}  // namespace

bool CapturePicture(const Surface8& frameSurface, FramePicture& picture) {
  if (frameSurface.Width() < kPictureWidth || frameSurface.Height() < kPictureHeight) {
    return false;
  }
  for (int y = 0; y < kPictureHeight; ++y) {
    std::memcpy(picture.data() + static_cast<std::size_t>(y) * kPictureWidth, frameSurface.Row(y),
                kPictureWidth);
  }
  return true;
}

uint64_t HashPicture(const FramePicture& picture) {
  uint64_t hash = kFnvOffsetBasis;
  for (uint8_t index : picture) {
    hash ^= index;
    hash *= kFnvPrime;
  }
  return hash;
}

std::string FormatHash(uint64_t hash) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::vector<uint8_t> PictureToRgb(const FramePicture& picture, const DisplayPalette& palette) {
  std::vector<uint8_t> rgb;
  rgb.reserve(picture.size() * 3);
  for (uint8_t index : picture) {
    const PaletteEntry& colour = palette[index];
    rgb.push_back(colour.red);
    rgb.push_back(colour.green);
    rgb.push_back(colour.blue);
  }
  return rgb;
}

}  // namespace wrenfold::headless
