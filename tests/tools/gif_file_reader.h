// Reading a GIF back in tests: the first picture of the file as RGB pixels (through giflib).
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace wrenfold::gif_test {

struct GifPicture {
  std::string error;  // empty when the file was read
  int screenWidth = 0;
  int screenHeight = 0;
  int pictureCount = 0;
  std::vector<uint8_t> rgb;  // the first picture, width * height * 3 bytes
};

inline GifPicture ReadGif(const std::filesystem::path& path) {
  GifPicture picture;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (gif == nullptr) {
    picture.error = GifErrorString(error);
    return picture;
  }
  if (DGifSlurp(gif) == GIF_ERROR) {
    picture.error = GifErrorString(gif->Error);
  } else {
    picture.screenWidth = gif->SWidth;
    picture.screenHeight = gif->SHeight;
    picture.pictureCount = gif->ImageCount;
    if (gif->ImageCount > 0) {
      const SavedImage& image = gif->SavedImages[0];
      const ColorMapObject* colours =
          image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
      const int count = image.ImageDesc.Width * image.ImageDesc.Height;
      for (int i = 0; i < count; ++i) {
        const int index = image.RasterBits[i];
        if (colours == nullptr || index >= colours->ColorCount) {
          picture.error = "a pixel names no colour of the table";
          break;
        }
        const GifColorType colour = colours->Colors[index];
        picture.rgb.insert(picture.rgb.end(), {colour.Red, colour.Green, colour.Blue});
      }
    }
  }
  DGifCloseFile(gif, &error);
  return picture;
}

}  // namespace wrenfold::gif_test
