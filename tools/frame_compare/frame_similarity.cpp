#include "tools/frame_compare/frame_similarity.h"

#include <algorithm>
#include <cstdlib>

namespace wrenfold::compare {

bool SameColour(const Rgb& a, const Rgb& b) {
  return std::abs(a.red - b.red) <= kColourTolerance &&
         std::abs(a.green - b.green) <= kColourTolerance &&
         std::abs(a.blue - b.blue) <= kColourTolerance;
}

std::optional<Rgb> ReferenceColour(uint8_t ourIndex, uint8_t emphasis,
                                   const ReferencePalette& palette) {
  if (ourIndex >= kColourNumbers || emphasis >= kEmphasisSettings) return std::nullopt;
  return palette[PaletteKey(ourIndex, emphasis)];
}

bool PixelMatches(uint8_t ourIndex, uint8_t emphasis, const Rgb& theirs,
                  const ReferencePalette& palette) {
  const std::optional<Rgb> colour = ReferenceColour(ourIndex, emphasis, palette);
  return colour && SameColour(*colour, theirs);
}

double Similarity(const IndexedPicture& ours, const RgbPicture& theirs,
                  const ReferencePalette& palette, int lines) {
  const int width = std::min(ours.width, theirs.width);
  const int height = std::min({lines, ours.height, theirs.height});
  if (width <= 0 || height <= 0) return 0;
  long matching = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (PixelMatches(ours.At(x, y), ours.emphasis, theirs.At(x, y), palette)) ++matching;
    }
  }
  return static_cast<double>(matching) / (static_cast<double>(width) * height);
}

std::optional<FrameMatch> BestMatch(const IndexedPicture& ours,
                                    const std::map<int, RgbPicture>& candidates,
                                    const ReferencePalette& palette, int lines) {
  std::optional<FrameMatch> best;
  for (const auto& [offset, picture] : candidates) {
    const FrameMatch match{offset, Similarity(ours, picture, palette, lines)};
    const bool better =
        !best || match.similarity > best->similarity ||
        (match.similarity == best->similarity && std::abs(match.offset) < std::abs(best->offset));
    if (better) best = match;
  }
  return best;
}

}  // namespace wrenfold::compare
