#include "tools/png_to_gif/gif_writer.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

namespace wrenfold::png_to_gif {
namespace {

std::string GifError(int code) {
  const char* text = GifErrorString(code);
  return text != nullptr ? text : "giflib error " + std::to_string(code);
}

// The encoding itself; `gif` is closed by the caller.
std::string Encode(GifFileType* gif, const IndexedImage& image) {
  // GIF colour tables hold 2, 4, ... 256 entries; the unused ones stay black.
  const int tableSize = 1 << GifBitSize(static_cast<int>(image.palette.size()));
  ColorMapObject* colourMap = GifMakeMapObject(tableSize, nullptr);
  if (colourMap == nullptr) return "out of memory for the colour table";
  for (size_t i = 0; i < image.palette.size(); ++i)
    colourMap->Colors[i] =
        GifColorType{image.palette[i][0], image.palette[i][1], image.palette[i][2]};

  const int put =
      EGifPutScreenDesc(gif, image.width, image.height, colourMap->BitsPerPixel, 0, colourMap);
  GifFreeMapObject(colourMap);  // giflib keeps its own copy
  if (put == GIF_ERROR) return GifError(gif->Error);
  if (EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_ERROR)
    return GifError(gif->Error);
  // giflib takes a writable line, so each row goes through a buffer of its own.
  std::vector<GifPixelType> line(static_cast<size_t>(image.width));
  for (int row = 0; row < image.height; ++row) {
    const auto rowStart = image.indices.begin() + static_cast<long>(row) * image.width;
    std::copy(rowStart, rowStart + image.width, line.begin());
    if (EGifPutLine(gif, line.data(), image.width) == GIF_ERROR) return GifError(gif->Error);
  }
  return {};
}

}  // namespace

std::string WriteGif(const std::filesystem::path& path, const IndexedImage& image) {
  const size_t pixelCount = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  if (image.width <= 0 || image.height <= 0 || image.width > 0xFFFF || image.height > 0xFFFF ||
      image.indices.size() != pixelCount || image.palette.empty() ||
      image.palette.size() > kMaxPaletteColours)
    return "not a picture a GIF can hold";
  for (uint8_t index : image.indices)
    if (index >= image.palette.size()) return "a pixel names a colour outside the palette";

  std::filesystem::path partial = path;
  partial += ".part";
  // Opened here rather than by giflib, which would create the file readable by its owner only.
  const int descriptor = open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0) return partial.string() + ": " + std::strerror(errno);
  int openError = 0;
  GifFileType* gif = EGifOpenFileHandle(descriptor, &openError);  // owns the descriptor now
  if (gif == nullptr) {
    close(descriptor);
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    return partial.string() + ": " + GifError(openError);
  }

  std::string error = Encode(gif, image);
  int closeError = 0;
  if (EGifCloseFile(gif, &closeError) == GIF_ERROR && error.empty()) error = GifError(closeError);

  std::error_code fileError;
  if (error.empty()) {
    std::filesystem::rename(partial, path, fileError);
    if (fileError) error = "cannot rename " + partial.string() + ": " + fileError.message();
  }
  if (!error.empty()) {
    std::filesystem::remove(partial, fileError);
    return path.string() + ": " + error;
  }
  return {};
}

}  // namespace wrenfold::png_to_gif
