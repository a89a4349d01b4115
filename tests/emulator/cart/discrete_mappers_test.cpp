// The discrete-logic boards beyond a plain bank switch: one-screen mirroring, deferred pattern
// decoding, the bank caches, and the registers that are logged or ignored.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "emulator/cart/mirroring.h"
#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::AllBytesAre;
using testing_support::MapperTest;

constexpr uint8_t kTableA = 0x11;
constexpr uint8_t kTableB = 0x22;
constexpr uint8_t kTampered = 0x5A;

class DiscreteMapperTest : public MapperTest {
 protected:
  // Vertical layout: table A in $2000 and $2800, table B in $2400 and $2C00.
  void FillVerticalTables() {
    Machine().header.mirrorVertical = 1;
    FillSlot(0x2000, kTableA);
    FillSlot(0x2800, kTableA);
    FillSlot(0x2400, kTableB);
    FillSlot(0x2C00, kTableB);
  }
  void FillSlot(uint16_t base, uint8_t value) {
    std::memset(Machine().ppuMem + base, value, 0x400);
  }
  ::testing::AssertionResult SlotHolds(uint16_t base, uint8_t value) {
    return AllBytesAre(Machine().ppuMem + base, 0x400, value);
  }
};

// Bit 4 of the value picks the table; bit 3 is not a table bit.
TEST_F(DiscreteMapperTest, AxromShowsTableBThenBringsTableABackFromTheSpare) {
  UseBoard(7, 4, 0);
  FillVerticalTables();

  Write(0x8000, 0x08);
  for (uint16_t slot : {0x2000, 0x2400, 0x2800, 0x2C00}) EXPECT_TRUE(SlotHolds(slot, kTableA));

  Write(0x8000, 0x10);
  for (uint16_t slot : {0x2000, 0x2400, 0x2800, 0x2C00}) EXPECT_TRUE(SlotHolds(slot, kTableB));

  Write(0x8000, 0x00);
  for (uint16_t slot : {0x2000, 0x2400, 0x2800, 0x2C00}) EXPECT_TRUE(SlotHolds(slot, kTableA));
  EXPECT_TRUE(AllBytesAre(Machine().spareNameTable, 0x400, kTableB));
}

// A 16 KB image has no whole 32 KB bank; it fills the window twice instead of dividing by zero.
TEST_F(DiscreteMapperTest, AxromWithOne16kBankShowsItTwice) {
  UseBoard(7, 1, 0);
  Write(0x8000, 0x05);
  EXPECT_TRUE(PrgAt(0x8000, 0x4000, 0));
  EXPECT_TRUE(PrgAt(0xC000, 0x4000, 0));
}

// Mapper 8 leaves the tiles to the frame driver's rebuild at the next frame start.
TEST_F(DiscreteMapperTest, Ffe8CopiesPatternsWithoutDecodingThem) {
  UseBoard(8, 4, 4);
  ClearPatternCache();
  Machine().patternDirty = 0;

  Write(0x8000, (1 << 3) | 2);

  EXPECT_TRUE(ChrAt(0x0000, 0x2000, 16));
  EXPECT_TRUE(PrgAt(0x8000, 0x4000, 2));
  EXPECT_EQ(Machine().patternDirty, 1);
  EXPECT_TRUE(AllBytesAre(Machine().patternCache, sizeof Machine().patternCache, 0));
}

TEST_F(DiscreteMapperTest, CnromWithPatternRamKeepsWhatTheGameWrote) {
  UseBoard(3, 2, 0);
  std::memset(Machine().ppuMem, kTampered, 0x2000);
  Write(0x8000, 0x01);
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem, 0x2000, kTampered));
}

TEST_F(DiscreteMapperTest, ColorDreamsWithPatternRamSwitchesProgramOnly) {
  UseBoard(11, 4, 0);
  std::memset(Machine().ppuMem, kTampered, 0x2000);
  Write(0x8000, 0x31);
  EXPECT_TRUE(PrgAt(0x8000, 0x8000, 4));
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem, 0x2000, kTampered));
}

// The board that rewrites the same bank every frame copies it only the first time.
TEST_F(DiscreteMapperTest, GxromSameValueTwiceCopiesOnce) {
  UseBoard(66, 8, 4);
  Write(0x8000, 0x11);
  ASSERT_TRUE(PrgAt(0x8000, 0x8000, 4));
  ASSERT_TRUE(ChrAt(0x0000, 0x2000, 8));
  Machine().cpuMem[0x8000] = kTampered;
  Machine().ppuMem[0x0000] = kTampered;

  Write(0x8000, 0x11);
  EXPECT_EQ(Machine().cpuMem[0x8000], kTampered);
  EXPECT_EQ(Machine().ppuMem[0x0000], kTampered);

  Write(0x8000, 0x21);  // new PRG bits, same CHR bank
  EXPECT_TRUE(PrgAt(0x8000, 0x8000, 8));
  EXPECT_EQ(Machine().ppuMem[0x0000], kTampered);
}

// The PRG cache holds the register bits, so a different value that wraps onto the same bank
// still copies.
TEST_F(DiscreteMapperTest, GxromCachesTheRegisterBitsNotTheWrappedBank) {
  UseBoard(66, 2, 1);
  Write(0x8000, 0x00);
  Machine().cpuMem[0x8000] = kTampered;
  Write(0x8000, 0x10);  // bank 1 of a one-bank image is bank 0 again
  EXPECT_EQ(Machine().cpuMem[0x8000], 0);
  EXPECT_EQ(Machine().prgBankCache[0], 0x10);
}

TEST_F(DiscreteMapperTest, Bandai70CachesProgramBitsAndLoadsChrOnlyAtC010) {
  UseBoard(70, 8, 4);
  Write(0xC000, 0x23);
  EXPECT_TRUE(PrgAt(0x8000, 0x4000, 4));
  EXPECT_TRUE(ChrAt(0x0000, 0x2000, 0));  // $C000 leaves the CHR bank alone

  Machine().cpuMem[0x8000] = kTampered;
  Write(0xC010, 0x21);  // same PRG bits: no copy, but the CHR bank follows
  EXPECT_EQ(Machine().cpuMem[0x8000], kTampered);
  EXPECT_TRUE(ChrAt(0x0000, 0x2000, 8));
}

TEST_F(DiscreteMapperTest, Bandai70MirroringLeavesOneScreenForHorizontal) {
  UseBoard(70, 2, 1);
  FillVerticalTables();
  Write(0xC080, 0x80);
  EXPECT_EQ(Machine().header.mirrorVertical, 0u);
  EXPECT_TRUE(SlotHolds(0x2400, kTableA));
  EXPECT_TRUE(SlotHolds(0x2800, kTableB));

  Write(0xC080, 0x00);
  EXPECT_EQ(Machine().header.mirrorVertical, 1u);
  EXPECT_TRUE(SlotHolds(0x2800, kTableA));
  EXPECT_TRUE(SlotHolds(0x2400, kTableB));
}

TEST_F(DiscreteMapperTest, Bandai70LogsUndecodedAddresses) {
  UseBoard(70, 2, 1);
  uint8_t before[0x8000];
  std::memcpy(before, Machine().cpuMem + 0x8000, sizeof before);
  Write(0xC040, 0x05);
  EXPECT_EQ(Log(), LoggedWrite(0xC040, 0x05));
  EXPECT_EQ(std::memcmp(before, Machine().cpuMem + 0x8000, sizeof before), 0);
}

class CamericaIgnoreTest : public MapperTest, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(CamericaIgnoreTest, WritesBelowC000ChangeNothing) {
  UseBoard(GetParam(), 8, 0);
  auto before = std::make_unique<MachineState>(Machine());
  Write(0x9000, 0x03);
  Write(0xBFFF, 0x05);
  EXPECT_EQ(std::memcmp(before->cpuMem, Machine().cpuMem, sizeof before->cpuMem), 0);
  EXPECT_EQ(std::memcmp(before->prgBankCache, Machine().prgBankCache, 4), 0);
}

INSTANTIATE_TEST_SUITE_P(Boards, CamericaIgnoreTest, ::testing::Values(71, 232));

TEST_F(DiscreteMapperTest, CamericaSameBankTwiceCopiesOnce) {
  UseBoard(71, 8, 0);
  Write(0xC000, 3);
  Machine().cpuMem[0x8000] = kTampered;
  Write(0xE000, 11);  // 11 wraps to bank 3 of an eight-bank image
  EXPECT_EQ(Machine().cpuMem[0x8000], kTampered);
}

TEST_F(DiscreteMapperTest, OekaKidsPlaces8kFrom4kStepsAndLogsEveryWrite) {
  UseBoard(96, 4, 1);
  Write(0xF000, 3);  // PRG offset 12 KB: the top of 8 KB index 1, then index 2
  EXPECT_TRUE(AllBytesAre(Machine().cpuMem + 0x8000, 0x1000, 1));
  EXPECT_TRUE(AllBytesAre(Machine().cpuMem + 0x9000, 0x1000, 2));

  Write(0xF004, 4);
  EXPECT_TRUE(PrgAt(0xC000, 0x2000, 2));
  Write(0xF005, 6);
  EXPECT_TRUE(PrgAt(0xE000, 0x2000, 3));

  uint8_t before[0x8000];
  std::memcpy(before, Machine().cpuMem + 0x8000, sizeof before);
  Write(0xF001, 7);
  EXPECT_EQ(std::memcmp(before, Machine().cpuMem + 0x8000, sizeof before), 0);

  EXPECT_EQ(Log(), LoggedWrite(0xF000, 3) + LoggedWrite(0xF004, 4) + LoggedWrite(0xF005, 6) +
                       LoggedWrite(0xF001, 7));
}

TEST_F(DiscreteMapperTest, Nina001KeepsNoRamBesideItsRegisters) {
  UseBoard(34, 2, 2);
  Write(0x6000, 0x55);
  Write(0x7FFC, 0x55);
  EXPECT_EQ(Machine().cpuMem[0x6000], 0);
  EXPECT_EQ(Machine().cpuMem[0x7FFC], 0);
}

TEST_F(DiscreteMapperTest, Nina001ChrRegistersAreCachedPerHalf) {
  UseBoard(34, 2, 2);
  Write(0x7FFE, 2);
  Write(0x7FFF, 3);
  Machine().ppuMem[0x0000] = kTampered;
  Machine().ppuMem[0x1000] = kTampered;
  Write(0x7FFE, 2);
  Write(0x7FFF, 7);  // 7 wraps to 4 KB bank 3 of a 16 KB image
  EXPECT_EQ(Machine().ppuMem[0x0000], kTampered);
  EXPECT_EQ(Machine().ppuMem[0x1000], kTampered);
}

}  // namespace
}  // namespace wrenfold
