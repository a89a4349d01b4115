#include "tools/png_to_gif/indexed_image.h"

#include <unordered_map>

namespace wrenfold::png_to_gif {

std::optional<IndexedImage> IndexColours(const RgbImage& image) {
  if (image.width <= 0 || image.height <= 0) return std::nullopt;
  const size_t pixelCount = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  if (image.pixels.size() != pixelCount * 3) return std::nullopt;

  IndexedImage indexed;
  indexed.width = image.width;
  indexed.height = image.height;
  indexed.indices.reserve(pixelCount);
  std::unordered_map<uint32_t, uint8_t> indexOfColour;
  for (size_t pixel = 0; pixel < pixelCount; ++pixel) {
    const PaletteColour colour = {image.pixels[pixel * 3], image.pixels[pixel * 3 + 1],
                                  image.pixels[pixel * 3 + 2]};
    const uint32_t key = (uint32_t{colour[0]} << 16) | (uint32_t{colour[1]} << 8) | colour[2];
    auto found = indexOfColour.find(key);
    if (found == indexOfColour.end()) {
      if (indexed.palette.size() == kMaxPaletteColours) return std::nullopt;
      found = indexOfColour.emplace(key, static_cast<uint8_t>(indexed.palette.size())).first;
      indexed.palette.push_back(colour);
    }
    indexed.indices.push_back(found->second);
  }
  return indexed;
}

}  // namespace wrenfold::png_to_gif
