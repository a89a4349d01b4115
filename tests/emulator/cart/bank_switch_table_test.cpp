// One write to a plain bank register selects the expected bank, for every board that has one:
// bank numbers beyond the image wrap into it, and nothing outside the switched window moves.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::MapperTest;

struct BankSwitchCase {
  const char* name;
  uint8_t mapper;
  uint32_t prgBanks16k;
  uint32_t chrBanks8k;
  uint16_t address;
  uint8_t value;
  uint16_t window;  // cpu address for PRG, ppu address for CHR
  uint32_t length;
  uint32_t firstIndex;  // 8 KB PRG index or 1 KB CHR index expected at the window start
};

std::string CaseName(const ::testing::TestParamInfo<BankSwitchCase>& info) {
  return info.param.name;
}

class PrgSwitchTest : public MapperTest, public ::testing::WithParamInterface<BankSwitchCase> {};

TEST_P(PrgSwitchTest, WriteSelectsBankInItsWindowOnly) {
  const BankSwitchCase& c = GetParam();
  UseBoard(c.mapper, c.prgBanks16k, c.chrBanks8k);
  uint8_t before[0x8000];
  std::memcpy(before, Machine().cpuMem + 0x8000, sizeof before);
  uint8_t patternsBefore[0x2000];
  std::memcpy(patternsBefore, Machine().ppuMem, sizeof patternsBefore);

  Write(c.address, c.value);

  EXPECT_TRUE(PrgAt(c.window, c.length, c.firstIndex));
  const uint32_t windowStart = c.window - 0x8000u;
  EXPECT_EQ(std::memcmp(before, Machine().cpuMem + 0x8000, windowStart), 0);
  const uint32_t windowEnd = windowStart + c.length;
  EXPECT_EQ(std::memcmp(before + windowEnd, Machine().cpuMem + 0x8000 + windowEnd,
                        sizeof before - windowEnd),
            0);
  EXPECT_EQ(std::memcmp(patternsBefore, Machine().ppuMem, sizeof patternsBefore), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, PrgSwitchTest,
    ::testing::Values(
        BankSwitchCase{"Uxrom9Of8SelectsBank1", 2, 8, 0, 0x8000, 9, 0x8000, 0x4000, 2},
        BankSwitchCase{"UxromAnyAddress", 2, 8, 0, 0xFFFF, 3, 0x8000, 0x4000, 6},
        BankSwitchCase{"AxromWrapsIn32kBanks", 7, 4, 0, 0x8000, 3, 0x8000, 0x8000, 4},
        BankSwitchCase{"Ffe8TakesBitsAbove2", 8, 4, 0, 0x8000, (5 << 3) | 2, 0x8000, 0x4000, 2},
        BankSwitchCase{"ColorDreamsLowNibble", 11, 4, 0, 0x8000, 0x03, 0x8000, 0x8000, 4},
        BankSwitchCase{"BnromHighRange", 34, 4, 0, 0x8000, 5, 0x8000, 0x8000, 4},
        BankSwitchCase{"Nina001At7FFD", 34, 4, 1, 0x7FFD, 5, 0x8000, 0x8000, 4},
        BankSwitchCase{"Caltron41AddressBits", 41, 8, 1, 0x6003, 0, 0x8000, 0x8000, 12},
        BankSwitchCase{"GxromBits4And5", 66, 8, 1, 0x8000, 0x20, 0x8000, 0x8000, 8},
        BankSwitchCase{"Bandai70AtC000", 70, 8, 1, 0xC000, 0x30, 0x8000, 0x4000, 6},
        BankSwitchCase{"Bandai70AtC020Wraps", 70, 4, 1, 0xC020, 0x50, 0x8000, 0x4000, 2},
        BankSwitchCase{"CamericaAtC000", 71, 8, 0, 0xC000, 9, 0x8000, 0x4000, 2},
        BankSwitchCase{"CamericaAtFFFF", 71, 8, 0, 0xFFFF, 3, 0x8000, 0x4000, 6},
        BankSwitchCase{"QuattroAtC000", 232, 8, 0, 0xC000, 9, 0x8000, 0x4000, 2},
        BankSwitchCase{"Hksf3At8000", 91, 2, 1, 0x7000, 5, 0x8000, 0x2000, 1},
        BankSwitchCase{"Hksf3AtA000", 91, 2, 1, 0x7FFF, 6, 0xA000, 0x2000, 2},
        BankSwitchCase{"FongShenAt8000", 246, 2, 1, 0x6000, 3, 0x8000, 0x2000, 3},
        BankSwitchCase{"FongShenAtE000Wraps", 246, 2, 1, 0x6003, 6, 0xE000, 0x2000, 2},
        BankSwitchCase{"Mapper240At9316", 240, 2, 1, 0x9316, 5, 0x8000, 0x2000, 1},
        BankSwitchCase{"Mapper240At9326", 240, 2, 1, 0x9326, 6, 0xA000, 0x2000, 2},
        BankSwitchCase{"Mapper241WrapsIn32kBanks", 241, 4, 0, 0x8000, 2, 0x8000, 0x8000, 0},
        BankSwitchCase{"Mapper250At8B06", 250, 2, 1, 0x8B06, 6, 0x8000, 0x2000, 2},
        BankSwitchCase{"Mapper250At8E11", 250, 2, 1, 0x8E11, 3, 0xA000, 0x2000, 3}),
    CaseName);

class ChrSwitchTest : public MapperTest, public ::testing::WithParamInterface<BankSwitchCase> {};

// The cache is cleared first, so only a refresh of the switched range can make it agree again.
TEST_P(ChrSwitchTest, WriteSelectsBankAndRefreshesItsTiles) {
  const BankSwitchCase& c = GetParam();
  UseBoard(c.mapper, c.prgBanks16k, c.chrBanks8k);
  uint8_t before[0x2000];
  std::memcpy(before, Machine().ppuMem, sizeof before);
  uint8_t programBefore[0x8000];
  std::memcpy(programBefore, Machine().cpuMem + 0x8000, sizeof programBefore);
  ClearPatternCache();

  Write(c.address, c.value);

  EXPECT_TRUE(ChrAt(c.window, c.length, c.firstIndex));
  EXPECT_TRUE(CacheMatchesPatterns(c.window, c.length));
  EXPECT_EQ(std::memcmp(before, Machine().ppuMem, c.window), 0);
  const uint32_t windowEnd = c.window + c.length;
  EXPECT_EQ(
      std::memcmp(before + windowEnd, Machine().ppuMem + windowEnd, sizeof before - windowEnd), 0);
  EXPECT_EQ(Machine().patternDirty, 0);
  EXPECT_EQ(std::memcmp(programBefore, Machine().cpuMem + 0x8000, sizeof programBefore), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, ChrSwitchTest,
    ::testing::Values(
        BankSwitchCase{"Cnrom5Of4SelectsBank1", 3, 2, 4, 0x8000, 5, 0x0000, 0x2000, 8},
        BankSwitchCase{"ColorDreamsHighNibble", 11, 2, 4, 0x8000, 0x50, 0x0000, 0x2000, 8},
        BankSwitchCase{"GxromBits0And1", 66, 2, 4, 0x8000, 0x02, 0x0000, 0x2000, 16},
        BankSwitchCase{"Bandai70AtC010", 70, 2, 4, 0xC010, 0x03, 0x0000, 0x2000, 24},
        BankSwitchCase{"Nina001At7FFE", 34, 2, 2, 0x7FFE, 3, 0x0000, 0x1000, 12},
        BankSwitchCase{"Nina001At7FFFWraps", 34, 2, 2, 0x7FFF, 6, 0x1000, 0x1000, 8},
        BankSwitchCase{"Nina03At4100", 79, 2, 4, 0x4100, 0x13, 0x0000, 0x2000, 24},
        BankSwitchCase{"Nina03At41FF", 79, 2, 4, 0x41FF, 0x02, 0x0000, 0x2000, 16},
        BankSwitchCase{"Jaleco87In4kSteps", 87, 2, 4, 0x6000, 3, 0x0000, 0x2000, 12},
        BankSwitchCase{"Hksf3At1000", 91, 2, 2, 0x6002, 3, 0x1000, 0x0800, 6},
        BankSwitchCase{"Hksf3At1800Wraps", 91, 2, 2, 0x6FF7, 9, 0x1800, 0x0800, 2},
        BankSwitchCase{"FongShenAt0800", 246, 2, 2, 0x6005, 3, 0x0800, 0x0800, 6},
        BankSwitchCase{"Multicart225FromAddress", 225, 8, 4, 0x8005, 0, 0x0000, 0x2000, 8}),
    CaseName);

}  // namespace
}  // namespace wrenfold
