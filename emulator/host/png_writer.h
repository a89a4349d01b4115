// Writes an RGB picture as a PNG file through libpng (screenshots, the runner's --png).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace wrenfold {

// `rgb` holds width x height pixels of three bytes, row after row. Returns the reason on
// failure; a file that could not be finished is removed.
std::optional<std::string> WriteRgbPng(const std::string& path, int width, int height,
                                       std::span<const uint8_t> rgb);

}  // namespace wrenfold
