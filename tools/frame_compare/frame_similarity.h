// How alike our picture and the reference's are, whatever the two palettes: each of our colour
// numbers is turned into the colour the reference shows for that number under the picture's
// colour emphasis (measured from the reference itself with the palette chart cartridge,
// palette_calibration.h), and the figure is the share of pixels where that colour is the one
// the reference drew.
#pragma once

#include <array>
#include <map>
#include <optional>

#include "tools/frame_compare/rgb_picture.h"

namespace wrenfold::compare {

inline constexpr int kColourNumbers = 64;
inline constexpr int kEmphasisSettings = 8;
inline constexpr int kPaletteKeys = kColourNumbers * kEmphasisSettings;

// The reference's colour for each colour number under each colour emphasis, at
// PaletteKey(number, emphasis); a pair never measured stays empty.
using ReferencePalette = std::array<std::optional<Rgb>, kPaletteKeys>;

inline constexpr int PaletteKey(int number, int emphasis) {
  return emphasis * kColourNumbers + number;
}

// The reference's colour for our colour number under `emphasis`; empty when the number is no
// colour number or the pair was never measured.
std::optional<Rgb> ReferenceColour(uint8_t ourIndex, uint8_t emphasis,
                                   const ReferencePalette& palette);

// Largest difference in any channel that still counts as the same colour: room for a core
// that rounds or dithers its output by a few steps.
inline constexpr int kColourTolerance = 8;

bool SameColour(const Rgb& a, const Rgb& b);

// True where our pixel's colour number, under `emphasis`, shows in the reference as the
// reference's pixel.
bool PixelMatches(uint8_t ourIndex, uint8_t emphasis, const Rgb& theirs,
                  const ReferencePalette& palette);

// Share (0-1) of matching pixels over the top `lines` rows of both pictures (fewer when a
// picture is shorter) and their common width; 0 when nothing can be compared.
double Similarity(const IndexedPicture& ours, const RgbPicture& theirs,
                  const ReferencePalette& palette, int lines);

struct FrameMatch {
  int offset = 0;  // reference frame number minus ours
  double similarity = 0;
};

// The best of the reference's frames near ours (key: offset). Ties go to the offset nearest
// to 0, then the earlier frame. Empty when there is no candidate.
std::optional<FrameMatch> BestMatch(const IndexedPicture& ours,
                                    const std::map<int, RgbPicture>& candidates,
                                    const ReferencePalette& palette, int lines);

}  // namespace wrenfold::compare
