// png-to-gif: converts a PNG picture of at most 256 colours (such as a frame written by
// wrenfold-headless --png) into a GIF without changing a pixel; the front-end shows its
// screenshots from GIF files.
#include <cstdio>
#include <cstring>

#include "tools/png_to_gif/gif_writer.h"
#include "tools/png_to_gif/indexed_image.h"
#include "tools/png_to_gif/png_reader.h"

namespace {

constexpr const char* kUsage =
    "usage: png-to-gif INPUT.png OUTPUT.gif\n"
    "Writes the picture of INPUT.png as a one-frame GIF. Every colour is kept exactly, so the\n"
    "picture may hold at most 256 distinct colours and no transparency.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace wrenfold::png_to_gif;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc != 3) {
    std::fputs(kUsage, stderr);
    return 1;
  }

  const PngReadResult png = ReadPng(argv[1]);
  if (!png.error.empty()) {
    std::fprintf(stderr, "png-to-gif: %s\n", png.error.c_str());
    return 2;
  }
  const std::optional<IndexedImage> indexed = IndexColours(png.image);
  if (!indexed) {
    std::fprintf(stderr, "png-to-gif: %s has more than %zu colours\n", argv[1], kMaxPaletteColours);
    return 2;
  }
  const std::string error = WriteGif(argv[2], *indexed);
  if (!error.empty()) {
    std::fprintf(stderr, "png-to-gif: %s\n", error.c_str());
    return 2;
  }
  return 0;
}
