// The comparison's figure, its choice among the reference's frames, the palette chart's
// frame choice, the palette file, and our indexed PNGs read back.
#include <gtest/gtest.h>

#include <filesystem>

#include "emulator/host/palette.h"
#include "tools/frame_compare/frame_similarity.h"
#include "tools/frame_compare/palette_calibration.h"
#include "tools/frame_compare/picture_files.h"
#include "tools/frame_compare/side_by_side.h"
#include "emulator/host/png_writer.h"

namespace wrenfold::compare {
namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 240;

// A palette unlike ours, as a reference's would be, with neighbouring numbers and the same
// number under neighbouring emphases far apart.
ReferencePalette TestPalette() {
  ReferencePalette palette;
  for (int key = 0; key < kPaletteKeys; ++key) {
    palette[key] = Rgb{static_cast<uint8_t>(key * 37), static_cast<uint8_t>(key * 101 + 17),
                       static_cast<uint8_t>(key * 59 + 5)};
  }
  return palette;
}

// A busy picture: every colour number appears, in diagonal bands.
IndexedPicture Bands() {
  IndexedPicture picture{kWidth, kHeight, std::vector<uint8_t>(kWidth * kHeight)};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) picture.indices[y * kWidth + x] = (x / 4 + y / 3) % 64;
  }
  return picture;
}

RgbPicture AsReference(const IndexedPicture& ours, const ReferencePalette& palette) {
  RgbPicture picture{ours.width, ours.height, {}};
  for (uint8_t index : ours.indices) {
    picture.pixels.push_back(*ReferenceColour(index, ours.emphasis, palette));
  }
  return picture;
}

TEST(FrameSimilarityTest, FigureIsTheShareOfPixelsShowingTheReferencesColour) {
  const ReferencePalette palette = TestPalette();
  const IndexedPicture ours = Bands();
  RgbPicture theirs = AsReference(ours, palette);
  EXPECT_DOUBLE_EQ(Similarity(ours, theirs, palette, 232), 1.0);

  // 1,000 pixels of the compared rows changed; rows below 232 are not counted at all.
  for (int i = 0; i < 1000; ++i) theirs.pixels[i * 37] = Rgb{1, 2, 250};
  for (int x = 0; x < kWidth; ++x) theirs.pixels[235 * kWidth + x] = Rgb{1, 2, 250};
  EXPECT_NEAR(Similarity(ours, theirs, palette, 232), 1.0 - 1000.0 / (kWidth * 232), 1e-12);

  // A few steps of rounding in the reference's output still count as the same colour.
  RgbPicture rounded = AsReference(ours, palette);
  for (Rgb& pixel : rounded.pixels) pixel.blue = static_cast<uint8_t>(pixel.blue ^ 4);
  EXPECT_DOUBLE_EQ(Similarity(ours, rounded, palette, 232), 1.0);
}

// The figure does not forgive wrong colours: every colour number one entry off (what the
// $2007 fault did to whole pictures) leaves almost nothing matching, and a colour number
// the palette does not know never matches.
TEST(FrameSimilarityTest, ColoursOneEntryOffOrUnknownDoNotMatch) {
  const ReferencePalette palette = TestPalette();
  IndexedPicture ours = Bands();
  const RgbPicture theirs = AsReference(ours, palette);
  for (uint8_t& index : ours.indices) index = (index + 1) % 64;
  EXPECT_LT(Similarity(ours, theirs, palette, 232), 0.01);
  for (uint8_t& index : ours.indices) index = 0x8F;
  EXPECT_EQ(Similarity(ours, theirs, palette, 232), 0.0);
}

// A picture shown under colour emphasis is held against the reference's colours under the
// same emphasis, not those of the plain picture.
TEST(FrameSimilarityTest, OurPicturesEmphasisPicksTheReferencesColours) {
  const ReferencePalette palette = TestPalette();
  IndexedPicture ours = Bands();
  ours.emphasis = 7;
  const RgbPicture theirs = AsReference(ours, palette);
  EXPECT_DOUBLE_EQ(Similarity(ours, theirs, palette, 232), 1.0);
  ours.emphasis = 0;
  EXPECT_LT(Similarity(ours, theirs, palette, 232), 0.01);
}

TEST(FrameSimilarityTest, BestMatchTakesTheLikestFrameAndTheNearestOnTies) {
  const ReferencePalette palette = TestPalette();
  const IndexedPicture ours = Bands();
  const RgbPicture same = AsReference(ours, palette);
  RgbPicture other = same;
  for (int i = 0; i < 5000; ++i) other.pixels[i] = Rgb{1, 2, 250};

  const auto ahead =
      BestMatch(ours, {{-1, other}, {0, other}, {1, same}, {2, other}}, palette, 232);
  ASSERT_TRUE(ahead);
  EXPECT_EQ(ahead->offset, 1);
  EXPECT_DOUBLE_EQ(ahead->similarity, 1.0);
  const auto tie = BestMatch(ours, {{-2, same}, {-1, same}, {1, same}}, palette, 232);
  EXPECT_EQ(tie->offset, -1);
  EXPECT_FALSE(BestMatch(ours, {}, palette, 232));
}

TEST(FrameSimilarityTest, SideBySideMarksExactlyTheDifferingPixels) {
  const ReferencePalette palette = TestPalette();
  const IndexedPicture ours = Bands();
  RgbPicture theirs = AsReference(ours, palette);
  theirs.pixels[10 * kWidth + 20] = Rgb{255, 255, 255};
  const RgbPicture picture = SideBySide(ours, theirs, palette, 232);
  ASSERT_EQ(picture.width, 3 * kWidth + 2 * kPanelGap);
  const int mapLeft = 2 * (kWidth + kPanelGap);
  int red = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) red += picture.At(mapLeft + x, y) == Rgb{255, 32, 32};
  }
  EXPECT_EQ(red, 1);
  EXPECT_EQ(picture.At(mapLeft + 20, 10), (Rgb{255, 32, 32}));
  EXPECT_EQ(picture.At(20, 10), *ReferenceColour(ours.At(20, 10), 0, palette));
}

TEST(PaletteCalibrationTest, ChartFrameIsTheMiddleOfEachColoursLongestStretch) {
  std::vector<std::optional<uint16_t>> shown(3, std::nullopt);  // frames 1-3: no one colour
  for (int key : {0, 1, 0x1C0}) shown.insert(shown.end(), 8, uint16_t(key));
  shown.insert(shown.end(), 2, uint16_t{7});  // too short to trust
  shown.insert(shown.end(), 6, uint16_t{1});  // key 1 again, shorter than its first stretch
  const std::map<uint16_t, uint32_t> frames = ChooseChartFrames(shown, 5);
  EXPECT_EQ(frames, (std::map<uint16_t, uint32_t>{{0, 8}, {1, 16}, {0x1C0, 24}}));
}

TEST(PaletteCalibrationTest, UniformPictureNeedsNearlyEveryComparedPixel) {
  IndexedPicture picture{kWidth, kHeight, std::vector<uint8_t>(kWidth * kHeight, 0x21)};
  for (int x = 0; x < kWidth; ++x) picture.indices[239 * kWidth + x] = 0x0F;  // not compared
  EXPECT_EQ(UniformIndex(picture, 232), 0x21);
  for (int i = 0; i < kWidth * 3; ++i) picture.indices[i] = 0x0F;  // 1.3% of the compared rows
  EXPECT_FALSE(UniformIndex(picture, 232));
}

TEST(PaletteCalibrationTest, PaletteFileRoundTripsAndRejectsDamagedLines) {
  const ReferencePalette palette = TestPalette();
  ReferencePalette read;
  ASSERT_FALSE(ParsePalette(FormatPalette(palette), read));
  EXPECT_EQ(read, palette);
  EXPECT_TRUE(ParsePalette("000 FFFFFF\n200 000000\n", read));  // key 512: emphasis 8
  EXPECT_TRUE(ParsePalette("000 FFFF\n", read));
  EXPECT_TRUE(ParsePalette("00 FFFFFF\n", read));
  EXPECT_TRUE(ParsePalette("zzz 123456\n", read));
}

TEST(PictureFilesTest, IndexedPngKeepsTheColourNumbersAndTheEmphasis) {
  const IndexedPicture ours = Bands();
  const std::string path =
      (std::filesystem::path(::testing::TempDir()) / "frame_compare_indexed.png").string();
  ASSERT_FALSE(WriteIndexedPng(path, kWidth, kHeight, ours.indices, kNesColourTable));
  IndexedPicture read;
  ASSERT_FALSE(ReadIndexedPng(path, read));
  EXPECT_EQ(read.indices, ours.indices);
  EXPECT_EQ(read.width, kWidth);
  EXPECT_EQ(read.emphasis, 0);
  ASSERT_FALSE(WriteIndexedPng(path, kWidth, kHeight, ours.indices, kNesColourTable, 5));
  ASSERT_FALSE(ReadIndexedPng(path, read));
  EXPECT_EQ(read.emphasis, 5);

  ASSERT_FALSE(WritePicturePng(path, AsReference(ours, TestPalette())));
  EXPECT_TRUE(ReadIndexedPng(path, read));  // an RGB picture is not taken for indices
  EXPECT_TRUE(ReadIndexedPng(path + ".missing", read));
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace wrenfold::compare
