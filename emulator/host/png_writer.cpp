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

// Returns false with session.error set when libpng gave up.
bool EncodeRows(PngSession& session, int width, int height, std::vector<png_bytep>& rows) {
  if (setjmp(png_jmpbuf(session.png))) return false;
  png_init_io(session.png, session.file);
  png_set_IHDR(session.png, session.info, static_cast<png_uint_32>(width),
               static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(session.png, session.info);
  png_write_image(session.png, rows.data());
  png_write_end(session.png, nullptr);
  return true;
}

}  // namespace

std::optional<std::string> WriteRgbPng(const std::string& path, int width, int height,
                                       std::span<const uint8_t> rgb) {
  if (width <= 0 || height <= 0 ||
      rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
    return "picture size does not match its pixels";
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    // libpng only reads the rows, but its interface takes them as writable.
    rows[static_cast<std::size_t>(y)] =
        const_cast<png_bytep>(rgb.data() + static_cast<std::size_t>(y) * width * 3);
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
      written = EncodeRows(session, width, height, rows);
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

}  // namespace wrenfold
