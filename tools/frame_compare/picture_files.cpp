#include "tools/frame_compare/picture_files.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "emulator/host/png_writer.h"

namespace wrenfold::compare {
namespace {

// libpng reports errors by longjmp; what needs cleaning up lives outside the jumping function.
struct PngReadSession {
  std::FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::string error;

  ~PngReadSession() {
    if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    if (file != nullptr) std::fclose(file);
  }
};

void RecordError(png_structp png, png_const_charp message) {
  auto* session = static_cast<PngReadSession*>(png_get_error_ptr(png));
  session->error = message;
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

constexpr png_uint_32 kLargestSide = 4096;

// The colour emphasis our writer keeps in a text field; 0 when there is none or it is not one
// digit 0-7.
uint8_t ReadEmphasis(PngReadSession& session) {
  png_textp texts = nullptr;
  const int count = png_get_text(session.png, session.info, &texts, nullptr);
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(texts[i].key, kEmphasisTextKey) != 0) continue;
    const char* value = texts[i].text;
    if (value != nullptr && value[0] >= '0' && value[0] <= '7' && value[1] == '\0') {
      return static_cast<uint8_t>(value[0] - '0');
    }
  }
  return 0;
}

bool DecodeIndices(PngReadSession& session, IndexedPicture& picture) {
  if (setjmp(png_jmpbuf(session.png))) return false;
  png_init_io(session.png, session.file);
  png_read_info(session.png, session.info);
  const png_uint_32 width = png_get_image_width(session.png, session.info);
  const png_uint_32 height = png_get_image_height(session.png, session.info);
  if (png_get_color_type(session.png, session.info) != PNG_COLOR_TYPE_PALETTE ||
      png_get_bit_depth(session.png, session.info) != 8 ||
      png_get_interlace_type(session.png, session.info) != PNG_INTERLACE_NONE) {
    session.error = "not an 8-bit indexed picture";
    return false;
  }
  if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) {
    session.error = "picture size out of range";
    return false;
  }
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.emphasis = ReadEmphasis(session);
  picture.indices.assign(static_cast<std::size_t>(width) * height, 0);
  for (png_uint_32 y = 0; y < height; ++y) {
    png_read_row(session.png, picture.indices.data() + static_cast<std::size_t>(y) * width,
                 nullptr);
  }
  png_read_end(session.png, nullptr);
  return true;
}

}  // namespace

std::optional<std::string> ReadIndexedPng(const std::string& path, IndexedPicture& picture) {
  PngReadSession session;
  session.file = std::fopen(path.c_str(), "rb");
  if (session.file == nullptr) return "cannot open \"" + path + "\"";
  session.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &session, RecordError, IgnoreWarning);
  if (session.png != nullptr) session.info = png_create_info_struct(session.png);
  if (session.png == nullptr || session.info == nullptr) return "libpng could not start";
  if (!DecodeIndices(session, picture)) {
    picture = {};
    return "cannot read \"" + path + "\": " + session.error;
  }
  return std::nullopt;
}

std::optional<std::string> WritePicturePng(const std::string& path, const RgbPicture& picture) {
  std::vector<uint8_t> bytes;
  bytes.reserve(picture.pixels.size() * 3);
  for (const Rgb& pixel : picture.pixels) {
    bytes.insert(bytes.end(), {pixel.red, pixel.green, pixel.blue});
  }
  return WriteRgbPng(path, picture.width, picture.height, bytes);
}

}  // namespace wrenfold::compare
