#include "emulator/host/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <utility>
#include <vector>

namespace wrenfold {
namespace {

// libpng reports errors by longjmp; everything that needs cleaning up lives outside the
// jumping function, so nothing is skipped when it unwinds.
struct PngSession {
  std::FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::string error;

  ~PngSession() {
    if (png != nullptr) png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    if (file != nullptr) std::fclose(file);
  }
};

void RecordError(png_structp png, png_const_charp message) {
  auto* session = static_cast<PngSession*>(png_get_error_ptr(png));
  session->error = message;
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Returns false with session.error set when libpng gave up. `colours` is the palette of an
// indexed picture, empty for an RGB one; `emphasis` is written with an indexed picture.
bool EncodeRows(PngSession& session, int width, int height, std::vector<png_bytep>& rows,
                const std::vector<png_color>& colours, uint8_t emphasis) {
  if (setjmp(png_jmpbuf(session.png))) return false;
  png_init_io(session.png, session.file);
  png_set_IHDR(session.png, session.info, static_cast<png_uint_32>(width),
               static_cast<png_uint_32>(height), 8,
               colours.empty() ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  char emphasisText[4];
  png_text text{};
  if (!colours.empty()) {
    png_set_PLTE(session.png, session.info, colours.data(), static_cast<int>(colours.size()));
    std::snprintf(emphasisText, sizeof emphasisText, "%u", static_cast<unsigned>(emphasis));
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = const_cast<png_charp>(kEmphasisTextKey);
    text.text = emphasisText;
    png_set_text(session.png, session.info, &text, 1);
  }
  png_write_info(session.png, session.info);
  png_write_image(session.png, rows.data());
  png_write_end(session.png, nullptr);
  return true;
}

std::optional<std::string> WritePng(const std::string& path, int width, int height,
                                    std::span<const uint8_t> pixels, int bytesPerPixel,
                                    const std::vector<png_color>& colours, uint8_t emphasis) {
  if (width <= 0 || height <= 0 ||
      pixels.size() !=
          static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * bytesPerPixel) {
    return "picture size does not match its pixels";
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    // libpng only reads the rows, but its interface takes them as writable.
    rows[static_cast<std::size_t>(y)] =
        const_cast<png_bytep>(pixels.data() + static_cast<std::size_t>(y) * width * bytesPerPixel);
  }

  bool written = false;
  std::string error;
  {
    PngSession session;
    session.file = std::fopen(path.c_str(), "wb");
    if (session.file == nullptr) return "cannot create \"" + path + "\"";
    session.png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &session, RecordError, IgnoreWarning);
    if (session.png != nullptr) session.info = png_create_info_struct(session.png);
    if (session.png == nullptr || session.info == nullptr) {
      session.error = "libpng could not start";
    } else {
      written = EncodeRows(session, width, height, rows, colours, emphasis);
    }
    const bool closed = std::fclose(std::exchange(session.file, nullptr)) == 0;
    if (written && !closed) {
      written = false;
      session.error = "write failed";
    }
    error = session.error;
  }
  if (!written) {
    std::remove(path.c_str());
    return "cannot write PNG \"" + path + "\": " + error;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> WriteRgbPng(const std::string& path, int width, int height,
                                       std::span<const uint8_t> rgb) {
  return WritePng(path, width, height, rgb, 3, {}, 0);
}

std::optional<std::string> WriteIndexedPng(const std::string& path, int width, int height,
                                           std::span<const uint8_t> indices,
                                           const DisplayPalette& palette, uint8_t emphasis) {
  std::vector<png_color> colours;
  colours.reserve(palette.size());
  for (const PaletteEntry& entry : palette) colours.push_back({entry.red, entry.green, entry.blue});
  return WritePng(path, width, height, indices, 1, colours, emphasis);
}

}  // namespace wrenfold
