#include "emulator/ppu/ppu_memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace wrenfold {
namespace {

constexpr uint8_t kUntouched = 0xAA;

class PpuMemoryTest : public ::testing::Test {
 protected:
  void ExpectPaletteRamMatchesPpuMemory() const {
    for (int i = 0; i < 32; ++i) {
      EXPECT_EQ(machine->paletteRam[i], machine->ppuMem[0x3F00 + i]) << "entry " << i;
    }
  }

  std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
};

// --- palette ---

class BackdropWriteTest : public PpuMemoryTest, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(BackdropWriteTest, BackdropWriteSetsAllEightBackdropEntries) {
  PpuWrite(*machine, GetParam(), 0x21);
  for (int entry = 0; entry < 32; ++entry) {
    const uint8_t expected = (entry % 4 == 0) ? 0x21 : 0x00;
    EXPECT_EQ(machine->paletteRam[entry], expected) << "entry " << entry;
  }
  ExpectPaletteRamMatchesPpuMemory();
}

INSTANTIATE_TEST_SUITE_P(BackdropAndItsMirrors, BackdropWriteTest,
                         ::testing::Values(0x3F00, 0x3F10, 0x3F20, 0x3FF0, 0x7F10));

class IgnoredPaletteWriteTest : public PpuMemoryTest,
                                public ::testing::WithParamInterface<uint16_t> {};

TEST_P(IgnoredPaletteWriteTest, EntryZeroOfOtherPalettesIgnoresWrites) {
  for (int i = 0; i < 32; ++i) {
    machine->ppuMem[0x3F00 + i] = kUntouched;
    machine->paletteRam[i] = kUntouched;
  }
  PpuWrite(*machine, GetParam(), 0x30);
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(machine->paletteRam[i], kUntouched) << i;
    EXPECT_EQ(machine->ppuMem[0x3F00 + i], kUntouched) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(ThePaletteEntriesThatShowTheBackdrop, IgnoredPaletteWriteTest,
                         ::testing::Values(0x3F04, 0x3F08, 0x3F0C, 0x3F14, 0x3F18, 0x3F1C, 0x3F34));

TEST_F(PpuMemoryTest, PaletteMirrorWritesTheEntryBelow) {
  PpuWrite(*machine, 0x3F25, 0x16);
  EXPECT_EQ(machine->paletteRam[5], 0x16);
  EXPECT_EQ(machine->ppuMem[0x3F05], 0x16);
  EXPECT_EQ(machine->ppuMem[0x3F25], 0);
  PpuWrite(*machine, 0x3FFF, 0x2A);
  EXPECT_EQ(machine->paletteRam[0x1F], 0x2A);
  ExpectPaletteRamMatchesPpuMemory();
}

// Palette entries are six bits wide: a byte with the top bits set (games write $8F, $FF
// and the like) still names one of the 64 colours.
TEST_F(PpuMemoryTest, PaletteKeepsOnlyTheSixColourBits) {
  for (int value = 0; value < 256; ++value) {
    PpuWrite(*machine, 0x3F01, static_cast<uint8_t>(value));
    PpuWrite(*machine, 0x3F00, static_cast<uint8_t>(value));
    ASSERT_EQ(machine->paletteRam[1], value & 0x3F) << value;
    ASSERT_EQ(machine->paletteRam[0], value & 0x3F) << value;
  }
  ExpectPaletteRamMatchesPpuMemory();
}

// --- plain memory ---

TEST_F(PpuMemoryTest, AreaBelowThePaletteIsStoredAsWritten) {
  PpuWrite(*machine, 0x3400, 0x42);
  EXPECT_EQ(machine->ppuMem[0x3400], 0x42);
  EXPECT_EQ(machine->ppuMem[0x3000], 0);
  EXPECT_EQ(machine->ppuMem[0x2400], 0);
  EXPECT_EQ(machine->ppuMem[0x3800], 0);
  EXPECT_EQ(machine->ppuMem[0x3C00], 0);
  EXPECT_EQ(machine->patternDirty, 0);
}

TEST_F(PpuMemoryTest, NameTableWriteFollowsTheMirroring) {
  PpuWrite(*machine, 0x2001, 0x42);  // horizontal
  EXPECT_EQ(machine->ppuMem[0x2001], 0x42);
  EXPECT_EQ(machine->ppuMem[0x2401], 0x42);
  EXPECT_EQ(machine->patternDirty, 0);
}

TEST_F(PpuMemoryTest, PatternWriteIsCachedOnlyAtTheNextFullDecode) {
  PpuWrite(*machine, 0x1234, 0xFF);  // tile $123, plane 0 row 4
  EXPECT_EQ(machine->ppuMem[0x1234], 0xFF);
  EXPECT_EQ(machine->patternDirty, 1);
  const uint8_t* row = machine->patternCache + 0x123 * 64 + 4 * 8;
  EXPECT_EQ(row[0], 0);

  DecodeAllTiles(*machine);
  EXPECT_EQ(machine->patternDirty, 0);
  for (int column = 0; column < 8; ++column) EXPECT_EQ(row[column], 1) << column;
}

TEST_F(PpuMemoryTest, PatternWritesOverChrRomChangeNothing) {
  machine->header.chrBankCount = 1;
  machine->ppuMem[0x0123] = 0x5A;
  PpuWrite(*machine, 0x0123, 0xFF);
  PpuWrite(*machine, 0x1FFF, 0xFF);
  EXPECT_EQ(machine->ppuMem[0x0123], 0x5A);
  EXPECT_EQ(machine->ppuMem[0x1FFF], 0);
  EXPECT_EQ(machine->patternDirty, 0);
  PpuWrite(*machine, 0x2000, 0x42);  // name tables are RAM on every cartridge
  EXPECT_EQ(machine->ppuMem[0x2000], 0x42);
}

// --- pattern cache ---

TEST_F(PpuMemoryTest, PixelIsPlaneZeroPlusTwiceThePlaneOneBit) {
  machine->ppuMem[0x0000] = 0x80;  // tile 0, row 0, plane 0
  machine->ppuMem[0x0008] = 0x01;  // tile 0, row 0, plane 1
  machine->ppuMem[0x1017] = 0x81;  // tile 257, row 7, plane 0
  machine->ppuMem[0x101F] = 0x0F;  // tile 257, row 7, plane 1
  machine->patternDirty = 1;
  DecodeAllTiles(*machine);

  const uint8_t expectedTile0[8] = {1, 0, 0, 0, 0, 0, 0, 2};
  EXPECT_EQ(std::memcmp(machine->patternCache, expectedTile0, 8), 0);
  const uint8_t expectedTile257[8] = {1, 0, 0, 0, 2, 2, 2, 3};
  // The cache offset of a tile is four times the PPU address of its first byte.
  EXPECT_EQ(std::memcmp(machine->patternCache + 0x1010 * 4 + 7 * 8, expectedTile257, 8), 0);
  EXPECT_EQ(machine->patternDirty, 0);
}

class TileRangeTest : public PpuMemoryTest {
 protected:
  void SetUp() override {
    std::memset(machine->ppuMem, 0xFF, 0x2000);  // every pattern pixel decodes to 3
    std::memset(machine->patternCache, kUntouched, sizeof machine->patternCache);
    std::memset(machine->ppuMem + 0x2000, kUntouched, 0x2000);
  }

  bool TileDecoded(int tile) const {
    for (int i = 0; i < 64; ++i) {
      if (machine->patternCache[tile * 64 + i] != 3) return false;
    }
    return true;
  }

  void ExpectDecodedTiles(int first, int end) const {
    for (int tile = 0; tile < 512; ++tile) {
      EXPECT_EQ(TileDecoded(tile), tile >= first && tile < end) << "tile " << tile;
    }
  }

  void ExpectRestOfPpuMemoryUntouched() const {
    for (int i = 0x2000; i < 0x4000; ++i) {
      ASSERT_EQ(machine->ppuMem[i], kUntouched) << std::hex << i;
    }
  }
};

TEST_F(TileRangeTest, SecondPatternTableRebuildsTiles256To511Only) {
  machine->patternDirty = 1;
  DecodeTileRange(*machine, 0x1000, 0x1000);
  ExpectDecodedTiles(256, 512);
  EXPECT_EQ(machine->patternDirty, 1);
}

struct OutOfRangeCase {
  uint16_t start;
  uint32_t length;
  int firstDecoded;
  int endDecoded;
};

class TileRangeBoundsTest : public TileRangeTest,
                            public ::testing::WithParamInterface<OutOfRangeCase> {};

TEST_P(TileRangeBoundsTest, RangeIsCutAtTheEndOfThePatternTables) {
  const OutOfRangeCase& param = GetParam();
  DecodeTileRange(*machine, param.start, param.length);
  ExpectDecodedTiles(param.firstDecoded, param.endDecoded);
  ExpectRestOfPpuMemoryUntouched();
}

INSTANTIATE_TEST_SUITE_P(BadRanges, TileRangeBoundsTest,
                         ::testing::Values(OutOfRangeCase{0x1FF0, 0x1000, 511, 512},
                                           OutOfRangeCase{0x1C00, 0xFFFFFFFF, 448, 512},
                                           OutOfRangeCase{0x2000, 0x0400, 0, 0},
                                           OutOfRangeCase{0xFFF0, 0x0400, 0, 0},
                                           OutOfRangeCase{0x0000, 0x0000, 0, 0},
                                           OutOfRangeCase{0x0000, 0x000F, 0, 0}));

}  // namespace
}  // namespace wrenfold
