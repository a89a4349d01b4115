// The finished 256 x 240 picture of a frame as palette indices, its hash for golden-frame
// comparisons, and its colours through the NES colour table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/surface8.h"

namespace wrenfold::headless {

inline constexpr int kPictureWidth = 256;
inline constexpr int kPictureHeight = 240;
inline constexpr std::size_t kPicturePixels = std::size_t{kPictureWidth} * kPictureHeight;

using FramePicture = std::array<uint8_t, kPicturePixels>;

// Copies the frame surface's 256 x 240 pixels, row after row without padding. False when
// the surface is smaller than a picture.
bool CapturePicture(const Surface8& frameSurface, FramePicture& picture);

// FNV-1a, 64 bits, over the palette indices row after row: stable across runs and machines.
uint64_t HashPicture(const FramePicture& picture);

// The hash as 16 lower-case hex digits.
std::string FormatHash(uint64_t hash);

// Red, green, blue bytes per pixel through `palette`.
std::vector<uint8_t> PictureToRgb(const FramePicture& picture, const DisplayPalette& palette);

}  // namespace wrenfold::headless
