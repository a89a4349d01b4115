// Reading a PNG file of any colour type into RGB pixels (through libpng).
#pragma once

#include <filesystem>
#include <string>

#include "tools/png_to_gif/rgb_image.h"

namespace wrenfold::png_to_gif {

// Larger pictures are refused: the tool is meant for screenshots, and a hostile header must not
// make it allocate gigabytes.
inline constexpr int kMaxPictureSide = 4096;

struct PngReadResult {
  RgbImage image;
  std::string error;  // empty when the picture was read
};

// Fails on a file that is missing, not a PNG, damaged, larger than kMaxPictureSide on a side,
// or that has pixels which are not fully opaque (a GIF screenshot has no transparency).
PngReadResult ReadPng(const std::filesystem::path& path);

}  // namespace wrenfold::png_to_gif
