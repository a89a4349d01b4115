#include "emulator/host/palette.h"

#include <gtest/gtest.h>

namespace wrenfold {
namespace {

bool IsBlack(const PaletteEntry& entry) {
  return entry.red == 0 && entry.green == 0 && entry.blue == 0;
}

struct ColourCase {
  int index;
  PaletteEntry colour;
};

class ColourTableTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourTableTest, EntryHoldsItsColour) {
  const PaletteEntry& entry = kNesColourTable[GetParam().index];
  EXPECT_EQ(entry.red, GetParam().colour.red);
  EXPECT_EQ(entry.green, GetParam().colour.green);
  EXPECT_EQ(entry.blue, GetParam().colour.blue);
}

// First, last and a few inner entries of every colour set, so a shifted row shows.
INSTANTIATE_TEST_SUITE_P(
    SpotChecks, ColourTableTest,
    ::testing::Values(ColourCase{0, {127, 127, 127}}, ColourCase{3, {71, 43, 191}},
                      ColourCase{12, {0, 67, 88}}, ColourCase{22, {248, 56, 0}},
                      ColourCase{45, {120, 120, 120}}, ColourCase{55, {255, 227, 171}},
                      ColourCase{61, {248, 216, 248}}, ColourCase{128, {104, 104, 104}},
                      ColourCase{137, {51, 80, 0}}, ColourCase{173, {51, 51, 51}},
                      ColourCase{180, {255, 64, 255}}, ColourCase{189, {153, 153, 153}},
                      ColourCase{192, {152, 152, 152}}, ColourCase{206, {24, 24, 24}},
                      ColourCase{219, {24, 216, 88}}, ColourCase{231, {248, 184, 0}},
                      ColourCase{247, {248, 184, 56}}, ColourCase{254, {24, 24, 24}}));

TEST(ColourTableTest, BlankAndClearIndicesAreBlack) {
  EXPECT_TRUE(IsBlack(kNesColourTable[15]));
  EXPECT_TRUE(IsBlack(kNesColourTable[255]));
  for (int index = 64; index < 128; ++index) {
    EXPECT_TRUE(IsBlack(kNesColourTable[index])) << index;
  }
}

// A primary of every entry is dimmed to three quarters when another primary is emphasised.
TEST(EmphasisedPaletteTest, EmphasisDimsThePrimariesThatAreNotEmphasised) {
  const DisplayPalette& colours = kNesColourTable;
  for (uint8_t emphasis = 0; emphasis < 8; ++emphasis) {
    const DisplayPalette shown = EmphasisedPalette(colours, emphasis);
    for (std::size_t i = 0; i < colours.size(); ++i) {
      const auto expected = [&](uint8_t level, uint8_t bit) {
        return (emphasis & ~bit) == 0 ? level : level * 3 / 4;
      };
      ASSERT_EQ(shown[i].red, expected(colours[i].red, 1)) << int{emphasis} << " " << i;
      ASSERT_EQ(shown[i].green, expected(colours[i].green, 2)) << int{emphasis} << " " << i;
      ASSERT_EQ(shown[i].blue, expected(colours[i].blue, 4)) << int{emphasis} << " " << i;
    }
  }
  EXPECT_EQ(EmphasisOf(0xFE), 7);
  EXPECT_EQ(EmphasisOf(0x3F), 1);
}

TEST(MonochromePaletteTest, GreyIsTheMeanNudgedByIndexWithoutWrapping) {
  const DisplayPalette grey = BuildDisplayPalette(/*monochrome=*/true);
  for (const PaletteEntry& entry : grey) {
    EXPECT_EQ(entry.red, entry.green);
    EXPECT_EQ(entry.green, entry.blue);
  }
  EXPECT_EQ(grey[14].red, 0);     // black, remainder 2: stays 0
  EXPECT_EQ(grey[16].red, 192);   // 191, remainder 1
  EXPECT_EQ(grey[0].red, 127);    // remainder 0
  EXPECT_EQ(grey[2].red, 62);     // (0 + 0 + 191) / 3 = 63, remainder 2
  EXPECT_EQ(grey[48].red, 255);   // white, remainder 0
  EXPECT_EQ(grey[176].red, 254);  // white, remainder 2
}

TEST(MonochromePaletteTest, WhiteWithRemainderOneStaysAt255) {
  DisplayPalette white{};
  white[1] = {255, 255, 255};
  EXPECT_EQ(MonochromePalette(white)[1].red, 255);
}

TEST(MonochromePaletteTest, ColourSettingGivesTheTableUnchanged) {
  const DisplayPalette colour = BuildDisplayPalette(/*monochrome=*/false);
  for (int index = 0; index < 256; ++index) {
    EXPECT_EQ(ArgbOf(colour[index]), ArgbOf(kNesColourTable[index])) << index;
  }
}

}  // namespace
}  // namespace wrenfold
