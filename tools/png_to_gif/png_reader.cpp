#include "tools/png_to_gif/png_reader.h"

#include <png.h>

#include <cstring>

namespace wrenfold::png_to_gif {
namespace {

// Frees the simplified-API read state on every way out.
struct PngImageGuard {
  png_image image;
  PngImageGuard() {
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
  }
  ~PngImageGuard() { png_image_free(&image); }
};

}  // namespace

PngReadResult ReadPng(const std::filesystem::path& path) {
  PngReadResult result;
  PngImageGuard guard;
  png_image& png = guard.image;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    result.error = path.string() + ": " + png.message;
    return result;
  }
  if (png.width == 0 || png.height == 0 || png.width > kMaxPictureSide ||
      png.height > kMaxPictureSide) {
    result.error = path.string() + ": " + std::to_string(png.width) + "x" +
                   std::to_string(png.height) + " is not a picture size this tool takes (1 to " +
                   std::to_string(kMaxPictureSide) + " pixels a side)";
    return result;
  }

  png.format = PNG_FORMAT_RGBA;
  const int width = static_cast<int>(png.width);
  const int height = static_cast<int>(png.height);
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  if (!png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr)) {
    result.error = path.string() + ": " + png.message;
    return result;
  }

  result.image.width = width;
  result.image.height = height;
  result.image.pixels.reserve(rgba.size() / 4 * 3);
  for (size_t pixel = 0; pixel < rgba.size(); pixel += 4) {
    if (rgba[pixel + 3] != 0xFF) {
      const size_t index = pixel / 4;
      result.error = path.string() + ": the pixel at " +
                     std::to_string(index % static_cast<size_t>(width)) + "," +
                     std::to_string(index / static_cast<size_t>(width)) +
                     " is not opaque; a GIF screenshot cannot keep transparency";
      result.image = RgbImage{};
      return result;
    }
    result.image.pixels.insert(result.image.pixels.end(), rgba.begin() + static_cast<long>(pixel),
                               rgba.begin() + static_cast<long>(pixel) + 3);
  }
  return result;
}

}  // namespace wrenfold::png_to_gif
