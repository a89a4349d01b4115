#include "tools/frame_compare/side_by_side.h"

#include <algorithm>

namespace wrenfold::compare {
namespace {

constexpr Rgb kGapColour{40, 40, 40};
constexpr Rgb kUnknownColour{255, 0, 255};
constexpr Rgb kDifferenceColour{255, 32, 32};

Rgb Dimmed(const Rgb& colour) {
  return {static_cast<uint8_t>(colour.red / 3), static_cast<uint8_t>(colour.green / 3),
          static_cast<uint8_t>(colour.blue / 3)};
}

}  // namespace

RgbPicture SideBySide(const IndexedPicture& ours, const RgbPicture& theirs,
                      const ReferencePalette& palette, int lines) {
  const int width = std::max(ours.width, theirs.width);
  const int height = std::max(ours.height, theirs.height);
  RgbPicture picture;
  picture.width = 3 * width + 2 * kPanelGap;
  picture.height = height;
  picture.pixels.assign(static_cast<std::size_t>(picture.width) * height, kGapColour);
  const auto put = [&](int panel, int x, int y, const Rgb& colour) {
    picture.pixels[static_cast<std::size_t>(y) * picture.width + panel * (width + kPanelGap) + x] =
        colour;
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool haveOurs = x < ours.width && y < ours.height;
      const bool haveTheirs = x < theirs.width && y < theirs.height;
      if (haveOurs) {
        const std::optional<Rgb> colour = ReferenceColour(ours.At(x, y), ours.emphasis, palette);
        put(0, x, y, colour ? *colour : kUnknownColour);
      }
      if (haveTheirs) put(1, x, y, theirs.At(x, y));
      const bool compared = haveOurs && haveTheirs && y < lines;
      if (compared && !PixelMatches(ours.At(x, y), ours.emphasis, theirs.At(x, y), palette)) {
        put(2, x, y, kDifferenceColour);
      } else if (haveTheirs) {
        put(2, x, y, Dimmed(theirs.At(x, y)));
      }
    }
  }
  return picture;
}

}  // namespace wrenfold::compare
