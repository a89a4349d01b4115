// Boards with registers below $8000, the boards whose writes are only logged, and the boards that
// decode half of the cartridge RAM space.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::AllBytesAre;
using testing_support::MapperTest;

constexpr uint8_t kPatternRamByte = 0x5A;

// --- Mapper 184 ---

struct SunsoftLayoutCase {
  uint8_t value;
  uint32_t lowTable1k;   // 1 KB index expected at $0000
  uint32_t highTable1k;  // 1 KB index expected at $1000
};

class SunsoftLayoutTest : public MapperTest,
                          public ::testing::WithParamInterface<SunsoftLayoutCase> {};

TEST_P(SunsoftLayoutTest, ValueSelectsBothPatternTables) {
  const SunsoftLayoutCase& c = GetParam();
  UseBoard(184, 2, 2);
  ClearPatternCache();
  Write(0x6000, c.value);
  EXPECT_TRUE(ChrAt(0x0000, 0x1000, c.lowTable1k));
  EXPECT_TRUE(ChrAt(0x1000, 0x1000, c.highTable1k));
  EXPECT_TRUE(CacheMatchesPatterns(0x0000, 0x2000));
}

INSTANTIATE_TEST_SUITE_P(Values, SunsoftLayoutTest,
                         ::testing::Values(SunsoftLayoutCase{0x14, 0, 4},
                                           SunsoftLayoutCase{0x16, 8, 4},
                                           SunsoftLayoutCase{0x34, 0, 12},
                                           SunsoftLayoutCase{0x36, 8, 12}));

// An unlisted value switches nothing but still rebuilds every tile from pattern memory.
TEST_F(MapperTest, SunsoftAnyValueRebuildsTheWholeCache) {
  UseBoard(184, 2, 2);
  std::memset(Machine().ppuMem, kPatternRamByte, 0x2000);
  ClearPatternCache();
  Write(0x6000, 0x00);
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem, 0x2000, kPatternRamByte));
  EXPECT_TRUE(CacheMatchesPatterns(0x0000, 0x2000));
}

TEST_F(MapperTest, SunsoftDecodesOnly6000) {
  UseBoard(184, 2, 2);
  ClearPatternCache();
  Write(0x6001, 0x36);
  Write(0x7000, 0x36);
  EXPECT_TRUE(ChrAt(0x0000, 0x2000, 8));  // still the power-on second 8 KB
  EXPECT_TRUE(AllBytesAre(Machine().patternCache, 64, 0));
  EXPECT_EQ(Machine().cpuMem[0x6001], 0);
}

// --- Mappers 79 and 87 ---

TEST_F(MapperTest, Nina03LogsOtherAddressesAndNeverSwitchesProgram) {
  UseBoard(79, 4, 4);
  uint8_t before[0x8000];
  std::memcpy(before, Machine().cpuMem + 0x8000, sizeof before);
  Write(0x4100, 0x0B);  // bit 3 would be a PRG bit on other boards
  Write(0x4200, 0x01);
  Write(0x6000, 0x02);
  Write(0x4013, 0x03);  // a sound register: not the board's business, not logged
  EXPECT_TRUE(ChrAt(0x0000, 0x2000, 3 * 8));  // 11 wraps to bank 3
  EXPECT_EQ(std::memcmp(before, Machine().cpuMem + 0x8000, sizeof before), 0);
  EXPECT_EQ(Machine().cpuMem[0x6000], 0);
  EXPECT_EQ(Log(), LoggedWrite(0x4200, 0x01) + LoggedWrite(0x6000, 0x02));
}

TEST_F(MapperTest, Jaleco87DecodesOnly6000) {
  UseBoard(87, 2, 4);
  Write(0x6001, 3);
  Write(0x7000, 3);
  EXPECT_TRUE(ChrAt(0x0000, 0x2000, 0));
  EXPECT_EQ(Machine().cpuMem[0x6001], 0);
  EXPECT_EQ(Log(), "");
}

// --- Mapper 246 ---

TEST_F(MapperTest, FongShenKeepsRamOnlyAt6800) {
  UseBoard(246, 2, 2);
  Write(0x6800, 0x11);
  Write(0x6FFF, 0x22);
  Write(0x6008, 0x33);
  Write(0x7000, 0x44);
  EXPECT_EQ(Machine().cpuMem[0x6800], 0x11);
  EXPECT_EQ(Machine().cpuMem[0x6FFF], 0x22);
  EXPECT_EQ(Machine().cpuMem[0x6008], 0);
  EXPECT_EQ(Machine().cpuMem[0x7000], 0);
}

// --- Mapper 240 ---

TEST_F(MapperTest, Mapper240MirroringPortAt4800) {
  UseBoard(240, 2, 1, /*vertical=*/true);
  std::memset(Machine().ppuMem + 0x2000, 0x11, 0x400);
  Write(0x4800, 0x01);
  EXPECT_EQ(Machine().header.mirrorVertical, 0u);
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x2400, 0x400, 0x11));
  Write(0x4800, 0x00);
  EXPECT_EQ(Machine().header.mirrorVertical, 1u);
  EXPECT_EQ(Log(), "");
}

TEST_F(MapperTest, Mapper240LowRangeLogsAllButItsSilentRam) {
  UseBoard(240, 2, 1);
  Write(0x6000, 0x01);
  Write(0x6FFF, 0x02);
  Write(0x7000, 0x03);
  Write(0x5000, 0x04);
  Write(0x4000, 0x05);
  EXPECT_EQ(Machine().cpuMem[0x6000], 0);
  EXPECT_EQ(Machine().cpuMem[0x7000], 0);
  EXPECT_EQ(Log(), LoggedWrite(0x7000, 0x03) + LoggedWrite(0x5000, 0x04));
}

class LoggedHighRangeTest : public MapperTest, public ::testing::WithParamInterface<uint8_t> {};

// Boards 240 and 250 log every high write, decoded or not.
TEST_P(LoggedHighRangeTest, EveryHighWriteIsLogged) {
  UseBoard(GetParam(), 2, 1);
  Write(0x8000, 0x01);
  Write(0xFFFF, 0xFE);
  EXPECT_EQ(Log(), LoggedWrite(0x8000, 0x01) + LoggedWrite(0xFFFF, 0xFE));
}

INSTANTIATE_TEST_SUITE_P(Boards, LoggedHighRangeTest, ::testing::Values(240, 250));

// --- Boards whose registers are only logged ---

class LogOnlyBoardTest : public MapperTest, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(LogOnlyBoardTest, HighWritesAreLoggedAndChangeNothing) {
  UseBoard(GetParam(), 4, 2);
  auto before = std::make_unique<MachineState>();
  std::memcpy(before.get(), &Machine(), sizeof(MachineState));
  Write(0x8000, 0xA5);
  Write(0xC123, 0x07);
  EXPECT_EQ(Log(), LoggedWrite(0x8000, 0xA5) + LoggedWrite(0xC123, 0x07));
  EXPECT_EQ(std::memcmp(before.get(), &Machine(), sizeof(MachineState)), 0);
}

TEST_P(LogOnlyBoardTest, CartridgeRamIsKept) {
  UseBoard(GetParam(), 4, 2);
  Write(0x7FFF, 0x42);
  EXPECT_EQ(Machine().cpuMem[0x7FFF], 0x42);
}

INSTANTIATE_TEST_SUITE_P(Boards, LogOnlyBoardTest, ::testing::Values(89, 228, 231, 242, 254));

// --- Boards with 4 KB of cartridge RAM ---

class HalfCartridgeRamTest : public MapperTest, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(HalfCartridgeRamTest, OnlySixThousandToSixFFFIsStored) {
  UseBoard(GetParam(), 2, 1);
  Write(0x6000, 0x11);
  Write(0x6FFF, 0x22);
  Write(0x7000, 0x33);
  Write(0x7FFF, 0x44);
  Write(0x5000, 0x55);
  EXPECT_EQ(Machine().cpuMem[0x6000], 0x11);
  EXPECT_EQ(Machine().cpuMem[0x6FFF], 0x22);
  EXPECT_EQ(Machine().cpuMem[0x7000], 0);
  EXPECT_EQ(Machine().cpuMem[0x7FFF], 0);
  EXPECT_EQ(Machine().cpuMem[0x5000], 0);
}

INSTANTIATE_TEST_SUITE_P(Boards, HalfCartridgeRamTest, ::testing::Values(66, 161, 249));

// Sound register writes reach the low range too; only the cartridge's own space is logged.
TEST_F(MapperTest, Mapper161LogsCartridgeSpaceAddressesBeforeStoring) {
  UseBoard(161, 2, 1);
  Write(0x4000, 0x01);
  Write(0x6000, 0x02);
  Write(0x7001, 0x03);
  EXPECT_EQ(Log(), "24576\n28673\n");
  EXPECT_EQ(Machine().cpuMem[0x6000], 0x02);
}

}  // namespace
}  // namespace wrenfold
