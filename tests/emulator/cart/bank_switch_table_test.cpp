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
        BankSwitchCase{"Mapper250At8E11", 250, 2, 1, 0x8E11, 3, 0xA000, 0x2000, 3},
        BankSwitchCase{"Ffe6BitsTwoToFive", 6, 8, 0, 0x8000, 2 << 2, 0x8000, 0x4000, 4},
        BankSwitchCase{"Mmc4AtA000", 10, 8, 1, 0xA000, 5, 0x8000, 0x4000, 10},
        BankSwitchCase{"BandaiRegister8High", 16, 8, 0, 0x8008, 3, 0x8000, 0x4000, 6},
        BankSwitchCase{"BandaiRegister8LowWraps", 16, 8, 0, 0x6FF8, 9, 0x8000, 0x4000, 2},
        BankSwitchCase{"Ffe17At4505", 17, 4, 0, 0x4505, 3, 0xA000, 0x2000, 3},
        BankSwitchCase{"JalecoLowNibbleAlone", 18, 8, 0, 0x8000, 5, 0x8000, 0x2000, 5},
        BankSwitchCase{"JalecoC000HighNibble", 18, 8, 0, 0x9001, 1, 0xC000, 0x2000, 0},
        BankSwitchCase{"Namco163AtE800", 19, 8, 1, 0xE800, 0x45, 0xA000, 0x2000, 5},
        BankSwitchCase{"Vrc4aAt8000", 21, 8, 0, 0x8000, 5, 0x8000, 0x2000, 5},
        BankSwitchCase{"Vrc2aAtA000Wraps", 22, 4, 1, 0xA000, 9, 0xA000, 0x2000, 1},
        BankSwitchCase{"Vrc4fAnyAddressOf8000", 23, 8, 0, 0x8003, 7, 0x8000, 0x2000, 7},
        BankSwitchCase{"Vrc6aSixteenK", 24, 8, 1, 0x8000, 3, 0x8000, 0x4000, 6},
        BankSwitchCase{"Vrc4bAtA000", 25, 8, 0, 0xA002, 3, 0xA000, 0x2000, 3},
        BankSwitchCase{"Vrc6bEightKAtC000", 26, 8, 1, 0xC000, 5, 0xC000, 0x2000, 5},
        BankSwitchCase{"G101At8000", 32, 8, 1, 0x8000, 6, 0x8000, 0x2000, 6},
        BankSwitchCase{"G101AtA000AnyAddress", 32, 8, 1, 0xA123, 7, 0xA000, 0x2000, 7},
        BankSwitchCase{"Tc0190At8000", 33, 8, 1, 0x8000, 5, 0x8000, 0x2000, 5},
        BankSwitchCase{"Tc0690At8001", 48, 8, 1, 0x8001, 3, 0xA000, 0x2000, 3},
        BankSwitchCase{"Tc0690At5116", 48, 8, 1, 0x5116, 0x84, 0xC000, 0x2000, 4},
        BankSwitchCase{"H3001AtC000", 65, 8, 0, 0xC000, 4, 0xC000, 0x2000, 4},
        BankSwitchCase{"Sunsoft4AtF000", 68, 8, 1, 0xF000, 3, 0x8000, 0x4000, 6},
        BankSwitchCase{"Vrc3AtF000", 73, 8, 1, 0xF000, 2, 0x8000, 0x4000, 4},
        BankSwitchCase{"X1005At7EFE", 80, 8, 1, 0x7EFE, 9, 0xC000, 0x2000, 9},
        BankSwitchCase{"JyLast32kUntilALayoutIsChosen", 90, 8, 0, 0x8000, 3, 0x8000, 0x8000, 12}),
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
        BankSwitchCase{"Multicart225FromAddress", 225, 8, 4, 0x8005, 0, 0x0000, 0x2000, 8},
        BankSwitchCase{"Mmc4LatchedFeAtC000", 10, 2, 16, 0xC000, 3, 0x0000, 0x1000, 12},
        BankSwitchCase{"BandaiRegister5", 16, 2, 16, 0x8005, 0x21, 0x1400, 0x0400, 33},
        BankSwitchCase{"Ffe17At4513", 17, 2, 16, 0x4513, 7, 0x0C00, 0x0400, 7},
        BankSwitchCase{"JalecoHighNibbleAlone", 18, 2, 16, 0xB003, 0x02, 0x0C00, 0x0400, 32},
        BankSwitchCase{"Namco163At9800", 19, 2, 16, 0x9800, 0x23, 0x0C00, 0x0400, 35},
        BankSwitchCase{"Vrc4aLowNibble", 21, 2, 16, 0xB000, 5, 0x0000, 0x0400, 5},
        BankSwitchCase{"Vrc4cSecondBankOfC000", 21, 2, 16, 0xC080, 7, 0x0C00, 0x0400, 7},
        BankSwitchCase{"Vrc2aDropsTheLowBit", 22, 2, 16, 0xD000, 0x0B, 0x1000, 0x0400, 5},
        BankSwitchCase{"Vrc4eHighNibble", 23, 2, 16, 0xE004, 0x03, 0x1800, 0x0400, 48},
        BankSwitchCase{"Vrc6aAtE003", 24, 2, 16, 0xE003, 9, 0x1C00, 0x0400, 9},
        BankSwitchCase{"Vrc6bSwapsA0AndA1", 26, 2, 16, 0xD001, 9, 0x0800, 0x0400, 9},
        BankSwitchCase{"G101AtB006", 32, 2, 16, 0xB006, 11, 0x1800, 0x0400, 11},
        BankSwitchCase{"Tc0190TwoK", 33, 2, 16, 0x8003, 5, 0x0800, 0x0800, 10},
        BankSwitchCase{"Tc0690OneK", 48, 2, 16, 0xA002, 5, 0x1800, 0x0400, 5},
        BankSwitchCase{"H3001AtB001", 65, 2, 16, 0xB001, 12, 0x0400, 0x0400, 12},
        BankSwitchCase{"Sunsoft4TwoK", 68, 2, 16, 0xA000, 3, 0x1000, 0x0800, 6},
        BankSwitchCase{"X1005TwoKIgnoresBit0", 80, 2, 16, 0x7EF1, 0x0B, 0x0800, 0x0800, 10},
        BankSwitchCase{"JyEightKUntilALayoutIsChosen", 90, 2, 16, 0x9000, 1, 0x0000, 0x2000, 8}),
    CaseName);

}  // namespace
}  // namespace wrenfold
