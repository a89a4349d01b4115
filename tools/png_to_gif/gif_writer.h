// Writing a palette picture as a single-frame GIF file (through giflib).
#pragma once

#include <filesystem>
#include <string>

#include "tools/png_to_gif/rgb_image.h"

namespace wrenfold::png_to_gif {

// Writes `image` to `path`: one global colour table (the palette, padded with black to the
// next power of two) and one picture covering the whole screen. The file is written under a
// temporary name beside `path` and renamed when complete, so a failed run never leaves a
// truncated GIF behind. Returns an empty string on success, else what went wrong.
std::string WriteGif(const std::filesystem::path& path, const IndexedImage& image);

}  // namespace wrenfold::png_to_gif
