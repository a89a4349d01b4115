// Learning the reference's colour for each colour number under each colour emphasis from the
// palette chart cartridge (roms/palette_chart), which fills the whole picture with one colour
// number after another, under one emphasis after another. Our run tells which number and
// emphasis (its palette key, frame_similarity.h) each frame shows; the reference's frame of the
// same key, taken in the middle of the stretch where that key stays, gives its colour.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/frame_compare/frame_similarity.h"

namespace wrenfold::compare {

// Share of the compared pixels that must have one colour for a frame to count as one colour.
inline constexpr double kUniformShare = 0.99;

// The colour number that fills (kUniformShare of) the top `lines` rows, if one does.
std::optional<uint8_t> UniformIndex(const IndexedPicture& picture, int lines);

// The same for a reference picture: its most common colour, if it fills the rows.
std::optional<Rgb> UniformColour(const RgbPicture& picture, int lines);

// `shown[f]` is the palette key frame f + 1 shows alone, if any. For each key, the frame
// (counted from 1) in the middle of its longest stretch of at least `minimumRun` frames: far
// enough from both ends that a reference a frame or two ahead or behind still shows the same
// colour there.
std::map<uint16_t, uint32_t> ChooseChartFrames(const std::vector<std::optional<uint16_t>>& shown,
                                               uint32_t minimumRun);

// Palette file: one line per measured palette key, "KKK RRGGBB" in hexadecimal.
std::string FormatPalette(const ReferencePalette& palette);
std::optional<std::string> ParsePalette(const std::string& text, ReferencePalette& palette);

}  // namespace wrenfold::compare
