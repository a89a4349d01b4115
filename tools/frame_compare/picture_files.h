// Reading our frames back from wrenfold-headless --png-frames (indexed PNGs that keep the
// colour numbers) and writing RGB pictures as PNG.
#pragma once

#include <optional>
#include <string>

#include "tools/frame_compare/rgb_picture.h"

namespace wrenfold::compare {

// Reads an 8-bit indexed PNG without turning it into colours. Returns the reason when the
// file is missing, damaged or not such a picture.
std::optional<std::string> ReadIndexedPng(const std::string& path, IndexedPicture& picture);

std::optional<std::string> WritePicturePng(const std::string& path, const RgbPicture& picture);

}  // namespace wrenfold::compare
