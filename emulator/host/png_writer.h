// Writes a picture as a PNG file through libpng: RGB, or palette indices with their colours.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/surface8.h"

namespace wrenfold {

// `rgb` holds width x height pixels of three bytes, row after row. Returns the reason on
// failure; a file that could not be finished is removed.
std::optional<std::string> WriteRgbPng(const std::string& path, int width, int height,
                                       std::span<const uint8_t> rgb);

// The text field of an indexed picture that holds the colour emphasis (0-7) it was shown with.
inline constexpr const char* kEmphasisTextKey = "Emphasis";

// `indices` holds width x height palette indices; the file keeps them as they are, with the
// 256 colours of `palette`, so a reader gets back both the indices and the picture, and the
// colour `emphasis` the colours were shown with (palette then holds them so shown).
std::optional<std::string> WriteIndexedPng(const std::string& path, int width, int height,
                                           std::span<const uint8_t> indices,
                                           const DisplayPalette& palette, uint8_t emphasis = 0);

}  // namespace wrenfold
