// png-to-gif: the colour indexing, the PNG reader's refusals and a pixel-exact round trip
// PNG -> GIF -> pixels.
#include <gtest/gtest.h>
#include <png.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "tests/tools/gif_file_reader.h"
#include "tools/png_to_gif/gif_writer.h"
#include "tools/png_to_gif/indexed_image.h"
#include "tools/png_to_gif/png_reader.h"

namespace wrenfold::png_to_gif {
namespace {

namespace fs = std::filesystem;

// An RGB picture whose pixel i has colour i % colourCount, every colour distinct.
RgbImage Stripes(int width, int height, int colourCount) {
  RgbImage image{width, height, {}};
  for (int i = 0; i < width * height; ++i) {
    const int colour = i % colourCount;
    image.pixels.insert(image.pixels.end(), {static_cast<uint8_t>(colour & 0xFF),
                                             static_cast<uint8_t>(colour >> 8), 0x5A});
  }
  return image;
}

// Writes 8-bit RGBA pixels as a PNG with libpng.
bool WritePng(const fs::path& path, int width, int height, const std::vector<uint8_t>& rgba) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(width);
  png.height = static_cast<png_uint_32>(height);
  png.format = PNG_FORMAT_RGBA;
  const bool written = png_image_write_to_file(&png, path.c_str(), 0, rgba.data(), 0, nullptr);
  png_image_free(&png);
  return written;
}

std::vector<uint8_t> WithAlpha(const RgbImage& image, uint8_t alpha = 0xFF) {
  std::vector<uint8_t> rgba;
  for (size_t i = 0; i < image.pixels.size(); i += 3)
    rgba.insert(rgba.end(), {image.pixels[i], image.pixels[i + 1], image.pixels[i + 2], alpha});
  return rgba;
}

class PngToGifFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/png_to_gif_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  fs::path folder;
};

TEST(IndexColours, ListsColoursInOrderOfFirstUse) {
  const RgbImage image{3,
                       2,
                       {9, 9, 9, 1, 2, 3, 9, 9, 9,  //
                        4, 5, 6, 1, 2, 3, 4, 5, 6}};
  const std::optional<IndexedImage> indexed = IndexColours(image);
  ASSERT_TRUE(indexed);
  EXPECT_EQ(indexed->palette, (std::vector<PaletteColour>{{9, 9, 9}, {1, 2, 3}, {4, 5, 6}}));
  EXPECT_EQ(indexed->indices, (std::vector<uint8_t>{0, 1, 0, 2, 1, 2}));
  EXPECT_EQ(indexed->width, 3);
  EXPECT_EQ(indexed->height, 2);
}

TEST(IndexColours, TakesExactly256ColoursAndRefusesOneMore) {
  const std::optional<IndexedImage> full = IndexColours(Stripes(256, 2, 256));
  ASSERT_TRUE(full);
  EXPECT_EQ(full->palette.size(), 256u);
  EXPECT_EQ(full->indices[255], 255);
  EXPECT_EQ(full->indices[256], 0);

  EXPECT_FALSE(IndexColours(Stripes(257, 1, 257)));
}

TEST(IndexColours, RefusesPixelDataThatDoesNotMatchTheSize) {
  RgbImage shortImage = Stripes(4, 4, 3);
  shortImage.pixels.pop_back();
  EXPECT_FALSE(IndexColours(shortImage));
  EXPECT_FALSE(IndexColours(RgbImage{0, 5, {}}));
}

TEST_F(PngToGifFiles, KeepsEveryPixelOfAScreenSizedPicture) {
  const RgbImage original = Stripes(256, 240, 200);
  ASSERT_TRUE(WritePng(folder / "frame.png", 256, 240, WithAlpha(original)));

  const PngReadResult read = ReadPng(folder / "frame.png");
  ASSERT_EQ(read.error, "");
  EXPECT_EQ(read.image.pixels, original.pixels);
  const std::optional<IndexedImage> indexed = IndexColours(read.image);
  ASSERT_TRUE(indexed);
  ASSERT_EQ(WriteGif(folder / "frame.gif", *indexed), "");

  const gif_test::GifPicture gif = gif_test::ReadGif(folder / "frame.gif");
  ASSERT_EQ(gif.error, "");
  EXPECT_EQ(gif.screenWidth, 256);
  EXPECT_EQ(gif.screenHeight, 240);
  EXPECT_EQ(gif.pictureCount, 1);
  EXPECT_EQ(gif.rgb, original.pixels);
  EXPECT_FALSE(fs::exists(folder / "frame.gif.part"));
}

TEST_F(PngToGifFiles, WritesAOneColourPicture) {
  const RgbImage original{1, 1, {10, 20, 30}};
  const std::optional<IndexedImage> indexed = IndexColours(original);
  ASSERT_TRUE(indexed);
  ASSERT_EQ(WriteGif(folder / "dot.gif", *indexed), "");
  const gif_test::GifPicture gif = gif_test::ReadGif(folder / "dot.gif");
  ASSERT_EQ(gif.error, "");
  EXPECT_EQ(gif.rgb, original.pixels);
}

struct BadPngCase {
  const char* name;
  std::string (*makeFile)(const fs::path& folder);  // returns the file to read
  const char* errorPart;                            // a part of the expected message
};

void PrintTo(const BadPngCase& badCase, std::ostream* out) {
  *out << badCase.name;
}

std::string Missing(const fs::path& folder) {
  return (folder / "absent.png").string();
}

std::string NotAPng(const fs::path& folder) {
  std::ofstream(folder / "text.png") << "GIF89a and then some text that is not a PNG at all";
  return (folder / "text.png").string();
}

std::string Truncated(const fs::path& folder) {
  const RgbImage image = Stripes(64, 64, 100);
  WritePng(folder / "whole.png", 64, 64, WithAlpha(image));
  const auto size = fs::file_size(folder / "whole.png");
  fs::copy_file(folder / "whole.png", folder / "cut.png");
  fs::resize_file(folder / "cut.png", size / 2);
  return (folder / "cut.png").string();
}

std::string SeeThrough(const fs::path& folder) {
  WritePng(folder / "alpha.png", 4, 4, WithAlpha(Stripes(4, 4, 2), 0x80));
  return (folder / "alpha.png").string();
}

std::string Oversized(const fs::path& folder) {
  const int width = kMaxPictureSide + 1;
  WritePng(folder / "wide.png", width, 1,
           std::vector<uint8_t>(static_cast<size_t>(width) * 4, 0xFF));
  return (folder / "wide.png").string();
}

class PngReaderRefuses : public PngToGifFiles, public ::testing::WithParamInterface<BadPngCase> {};

TEST_P(PngReaderRefuses, WithAMessage) {
  const std::string path = GetParam().makeFile(folder);
  const PngReadResult read = ReadPng(path);
  EXPECT_NE(read.error.find(GetParam().errorPart), std::string::npos) << read.error;
  EXPECT_TRUE(read.image.pixels.empty());
}

INSTANTIATE_TEST_SUITE_P(BadFiles, PngReaderRefuses,
                         ::testing::Values(BadPngCase{"missing", Missing, "absent.png"},
                                           BadPngCase{"not_a_png", NotAPng, "text.png"},
                                           BadPngCase{"truncated", Truncated, "cut.png"},
                                           BadPngCase{"see_through", SeeThrough, "not opaque"},
                                           BadPngCase{"oversized", Oversized, "4097x1"}),
                         [](const ::testing::TestParamInfo<BadPngCase>& info) {
                           return info.param.name;
                         });

TEST_F(PngToGifFiles, AFailedWriteLeavesTheOldFileAndNoPartialOne) {
  std::ofstream(folder / "shot.gif") << "old picture";
  IndexedImage broken{2, 1, {{1, 2, 3}}, {0, 1}};  // index 1 names no palette colour
  EXPECT_NE(WriteGif(folder / "shot.gif", broken), "");
  EXPECT_EQ(fs::file_size(folder / "shot.gif"), std::string("old picture").size());

  const IndexedImage good{1, 1, {{1, 2, 3}}, {0}};
  EXPECT_NE(WriteGif(folder / "no_such_folder" / "shot.gif", good), "");
  EXPECT_FALSE(fs::exists(folder / "no_such_folder"));
  for (const auto& file : fs::directory_iterator(folder))
    EXPECT_EQ(file.path().extension(), ".gif") << file.path();
}

}  // namespace
}  // namespace wrenfold::png_to_gif
