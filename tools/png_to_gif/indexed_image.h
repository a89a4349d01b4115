// Turning an RGB picture into palette indices without any loss: every distinct colour gets
// its own palette entry, so pictures of more than 256 colours are refused rather than dithered.
#pragma once

#include <optional>

#include "tools/png_to_gif/rgb_image.h"

namespace wrenfold::png_to_gif {

// The palette lists the colours in the order the rows meet them, so the same picture always
// gives the same file. Empty when the picture has more than kMaxPaletteColours colours (or no
// pixels, or fewer pixel bytes than its size says).
std::optional<IndexedImage> IndexColours(const RgbImage& image);

}  // namespace wrenfold::png_to_gif
