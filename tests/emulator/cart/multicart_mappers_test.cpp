// The multicart address decoders: which banks and mirroring one write (or a short sequence of
// writes) selects on boards 15, 41, 225 and 227.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::AllBytesAre;
using testing_support::MapperTest;

// The 8 KB index expected in each of the four 8 KB slots of $8000-$FFFF.
struct Slots {
  uint32_t s8000, sA000, sC000, sE000;
};

class MulticartTest : public MapperTest {
 protected:
  void ExpectSlots(const Slots& slots) {
    EXPECT_TRUE(PrgAt(0x8000, 0x2000, slots.s8000));
    EXPECT_TRUE(PrgAt(0xA000, 0x2000, slots.sA000));
    EXPECT_TRUE(PrgAt(0xC000, 0x2000, slots.sC000));
    EXPECT_TRUE(PrgAt(0xE000, 0x2000, slots.sE000));
  }
};

// --- Mapper 15 ---

struct ContraCase {
  const char* name;
  uint16_t address;
  uint8_t value;
  Slots slots;
  uint32_t mirrorVertical;
};

class ContraTest : public MulticartTest, public ::testing::WithParamInterface<ContraCase> {};

// Starts from the power-on picture (first 32 KB) with horizontal mirroring.
TEST_P(ContraTest, RegisterSelectsBanksAndMirroringFlag) {
  const ContraCase& c = GetParam();
  UseBoard(15, 8, 0, /*vertical=*/false);
  Write(c.address, c.value);
  ExpectSlots(c.slots);
  EXPECT_EQ(Machine().header.mirrorVertical, c.mirrorVertical);
}

INSTANTIATE_TEST_SUITE_P(
    Registers, ContraTest,
    ::testing::Values(ContraCase{"At8000Takes32kFromBank", 0x8000, 0x02, {4, 5, 6, 7}, 1},
                      ContraCase{"At8000Bit6IsHorizontal", 0x8000, 0x42, {4, 5, 6, 7}, 0},
                      ContraCase{"At8000LastBankWrapsToFirst", 0x8000, 0x07, {14, 15, 0, 1}, 1},
                      ContraCase{"At8001SwitchesC000Only", 0x8001, 0x43, {0, 1, 6, 7}, 0},
                      ContraCase{"At8002LowerHalfEverywhere", 0x8002, 0x03, {6, 6, 6, 6}, 0},
                      ContraCase{"At8002UpperHalfEverywhere", 0x8002, 0x83, {7, 7, 7, 7}, 0},
                      ContraCase{"At8003MirrorsAndSwitchesC000", 0x8003, 0x05, {0, 1, 10, 11}, 1},
                      ContraCase{"At8004Ignored", 0x8004, 0x05, {0, 1, 2, 3}, 0}),
    [](const ::testing::TestParamInfo<ContraCase>& info) { return info.param.name; });

// Mappers 15 and 225 only note the mode: the slots keep their tables until the game rewrites them.
class FlagOnlyMirroringTest : public MulticartTest,
                              public ::testing::WithParamInterface<uint8_t> {};

TEST_P(FlagOnlyMirroringTest, NameTablesAreNotCopied) {
  UseBoard(GetParam(), 8, 4, /*vertical=*/true);
  for (int slot = 0; slot < 4; ++slot) {
    std::memset(Machine().ppuMem + 0x2000 + slot * 0x400, 0x10 + slot, 0x400);
  }
  Write(GetParam() == 15 ? 0x8000 : 0xA000, 0x40);  // horizontal on both boards
  EXPECT_EQ(Machine().header.mirrorVertical, 0u);
  for (int slot = 0; slot < 4; ++slot) {
    EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x2000 + slot * 0x400, 0x400, 0x10 + slot));
  }
}

INSTANTIATE_TEST_SUITE_P(Boards, FlagOnlyMirroringTest, ::testing::Values(15, 225));

// --- Mapper 225 ---

struct Multicart225Case {
  uint16_t address;
  Slots slots;
  uint32_t chr1k;
  uint32_t mirrorVertical;
};

class Multicart225Test : public MulticartTest,
                         public ::testing::WithParamInterface<Multicart225Case> {};

TEST_P(Multicart225Test, AddressSelectsEverything) {
  const Multicart225Case& c = GetParam();
  UseBoard(225, 16, 8);
  Write(c.address, 0xFF);  // the value is not used
  ExpectSlots(c.slots);
  EXPECT_TRUE(ChrAt(0x0000, 0x2000, c.chr1k));
  EXPECT_TRUE(CacheMatchesPatterns(0x0000, 0x2000));
  EXPECT_EQ(Machine().header.mirrorVertical, c.mirrorVertical);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, Multicart225Test,
    ::testing::Values(Multicart225Case{0x8000, {0, 1, 2, 3}, 0, 1},
                      Multicart225Case{0x8185, {12, 13, 14, 15}, 40, 1},    // 32 KB bank 3
                      Multicart225Case{0xB0C5, {6, 7, 6, 7}, 40, 0},        // 16 KB bank 3 twice
                      Multicart225Case{0x9FFF, {30, 31, 30, 31}, 56, 1}));  // 63 and 63 wrap

// --- Mapper 227 ---

struct Multicart227Case {
  const char* name;
  std::vector<uint16_t> addresses;
  uint32_t first8kAt8000;
  uint32_t first8kAtC000;
  uint32_t mirrorVertical;
  uint8_t outer;
};

class Multicart227Test : public MulticartTest,
                         public ::testing::WithParamInterface<Multicart227Case> {};

// A full-size image, so every bank the decoder can name exists as such.
TEST_P(Multicart227Test, AddressSequenceSelectsBanks) {
  const Multicart227Case& c = GetParam();
  UseBoard(227, 64, 0);
  for (uint16_t address : c.addresses) Write(address, 0xFF);
  EXPECT_TRUE(PrgAt(0x8000, 0x2000, c.first8kAt8000));
  EXPECT_TRUE(PrgAt(0xC000, 0x2000, c.first8kAtC000));
  EXPECT_EQ(Machine().header.mirrorVertical, c.mirrorVertical);
  EXPECT_EQ(Machine().mapper.outerBank227, c.outer);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Multicart227Test,
    ::testing::Values(
        // Bank 19 (bit 8 adds 16): first halves of 32 KB banks 19 and outer 16.
        Multicart227Case{"Prg32kModeUnlatchedTakesOuter", {0x8119}, 76, 64, 0, 16},
        Multicart227Case{"Prg32kModeLatchedClearsOuter", {0x8119, 0x8093}, 8, 10, 1, 0},
        // Bank 10 upper half at $8000; $C000 fixed at 16 KB bank 7 of outer block 8.
        Multicart227Case{"Prg16kModeUnlatchedFixesC000", {0x8054}, 42, 46, 0, 8},
        Multicart227Case{"Prg16kModeLatchedRepeatsHalf", {0x80A8}, 20, 20, 0, 0},
        Multicart227Case{"OuterKeptUntilLatched", {0x8054, 0x817A}, 124, 46, 1, 8},
        Multicart227Case{"OuterRetakenAfterLatch", {0x8054, 0x80A8, 0x8159}, 108, 96, 0, 24}),
    [](const ::testing::TestParamInfo<Multicart227Case>& info) { return info.param.name; });

// --- Mapper 41 ---

TEST_F(MulticartTest, CaltronInnerChrOnlyWhileOuterEnabled) {
  UseBoard(41, 16, 16);
  Write(0x6023, 0);  // bank 3, outer disabled, horizontal
  ExpectSlots({12, 13, 14, 15});
  EXPECT_EQ(Machine().header.mirrorVertical, 0u);
  Write(0x8000, 0x03);
  EXPECT_TRUE(ChrAt(0x0000, 0x2000, 0));

  Write(0x601C, 0);  // bank 4, outer enabled, CHR outer bits 3, vertical
  ExpectSlots({16, 17, 18, 19});
  EXPECT_EQ(Machine().header.mirrorVertical, 1u);
  ClearPatternCache();
  Write(0x8000, 0x01);
  EXPECT_TRUE(ChrAt(0x0000, 0x2000, 13 * 8));
  EXPECT_TRUE(CacheMatchesPatterns(0x0000, 0x2000));
}

TEST_F(MulticartTest, CaltronIgnoresTheUpperHalfOfCartridgeSpace) {
  UseBoard(41, 16, 16);
  Write(0x7003, 0x55);
  ExpectSlots({0, 1, 2, 3});
  EXPECT_EQ(Machine().cpuMem[0x7003], 0);
  EXPECT_EQ(Machine().mapper.caltronOuterEnable, 0);
}

}  // namespace
}  // namespace wrenfold
