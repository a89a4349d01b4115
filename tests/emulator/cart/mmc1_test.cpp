// MMC1 (mapper 1): the serial port, the PRG and CHR modes over every bank number and several
// image sizes, mirroring, the cartridge RAM switch, and the 32 KB and 512 KB boards.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "emulator/cpu/read_bus.h"
#include "emulator/ppu/ppu_memory.h"
#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::AllBytesAre;
using testing_support::MapperTest;

constexpr uint16_t kControl = 0x8000;
constexpr uint16_t kChr0 = 0xA000;
constexpr uint16_t kChr1 = 0xC000;
constexpr uint16_t kPrg = 0xE000;

class Mmc1Test : public MapperTest {
 protected:
  // Five writes, bit 0 first; the register is the one the last write addresses.
  void Load(uint16_t address, uint8_t value) {
    for (int bit = 0; bit < 5; ++bit) Write(address, static_cast<uint8_t>((value >> bit) & 1));
  }

  // Which 16 KB bank stands at $8000 and at $C000 (the fill holds 8 KB indexes).
  uint32_t Bank16At(uint16_t address) { return Machine().cpuMem[address] / 2u; }
};

// --- The serial port ---

TEST_F(Mmc1Test, TheFifthWriteChoosesTheRegisterAndEarlierAddressesDoNotMatter) {
  UseBoard(1, 16, 0);
  for (int value = 0; value < 16; ++value) {
    Write(kControl, value & 1);  // the first four writes go anywhere in $8000-$FFFF
    Write(kChr0, (value >> 1) & 1);
    Write(kChr1, (value >> 2) & 1);
    Write(0x9FFF, (value >> 3) & 1);
    Write(0xFFFF, 0);
    EXPECT_EQ(Machine().mapper.mmc1Regs[3], value);
    EXPECT_EQ(Bank16At(0x8000), static_cast<uint32_t>(value));
  }
}

TEST_F(Mmc1Test, AResetWriteRestartsTheSequenceAndFixesTheLastBankAtC000) {
  UseBoard(1, 8, 0);
  Load(kControl, 0x08);  // 16 KB banks, $8000 fixed
  Load(kPrg, 5);
  ASSERT_EQ(Bank16At(0x8000), 0u);
  ASSERT_EQ(Bank16At(0xC000), 5u);

  Write(kPrg, 1);
  Write(kPrg, 1);
  Write(0xA000, 0x80);  // the two bits are dropped; CHR register 0 keeps its value
  EXPECT_EQ(Machine().mapper.mmc1Regs[0] & 0x0C, 0x0C);
  EXPECT_EQ(Bank16At(0x8000), 5u);
  EXPECT_EQ(Bank16At(0xC000), 7u);
  Load(kPrg, 2);
  EXPECT_EQ(Bank16At(0x8000), 2u);
}

// --- PRG banking ---

class Mmc1PrgTest : public Mmc1Test, public ::testing::WithParamInterface<uint32_t> {};

// Every mode with every value of the PRG register: 32 KB mode ignores bit 0, mode 2 fixes the
// first bank at $8000, mode 3 the last at $C000; numbers beyond the image wrap into it.
TEST_P(Mmc1PrgTest, EveryModeAndBankNumberPlacesTheBanksThePcbWires) {
  const uint32_t banks = GetParam();
  UseBoard(1, banks, 2);
  for (uint8_t mode = 0; mode < 4; ++mode) {
    Load(kControl, static_cast<uint8_t>(mode << 2));
    for (uint8_t value = 0; value < 16; ++value) {
      Load(kPrg, value);
      uint32_t low = value;
      uint32_t high = 15;
      if (mode < 2) {
        low = value & 0x0E;
        high = low + 1;
      } else if (mode == 2) {
        low = 0;
        high = value;
      }
      SCOPED_TRACE(::testing::Message() << "mode " << int{mode} << " value " << int{value});
      EXPECT_TRUE(PrgAt(0x8000, 0x4000, (low % banks) * 2));
      EXPECT_TRUE(PrgAt(0xC000, 0x4000, (high % banks) * 2));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ImageSizes, Mmc1PrgTest, ::testing::Values(4u, 8u, 16u));

TEST_F(Mmc1Test, A32kImageHasNoPrgBanking) {
  UseBoard(1, 2, 1);
  for (uint8_t mode = 0; mode < 4; ++mode) {
    Load(kControl, static_cast<uint8_t>(mode << 2));
    Load(kPrg, 1);
    EXPECT_TRUE(PrgAt(0x8000, 0x8000, 0)) << int{mode};
  }
}

// The 512 KB board takes the 256 KB half from bit 4 of CHR register 0, for both windows.
TEST_F(Mmc1Test, A512kImageTakesItsHalfFromChrRegister0) {
  UseBoard(1, 32, 0);
  EXPECT_EQ(Bank16At(0xC000), 31u);  // power-on: the last bank of the image
  for (uint8_t half : {0x10, 0x00, 0x10}) {
    Load(kChr0, half);
    for (uint8_t value : {0, 3, 14}) {
      Load(kPrg, value);
      EXPECT_EQ(Bank16At(0x8000), half + value) << int{value};
      EXPECT_EQ(Bank16At(0xC000), half + 15u);
    }
  }
  Load(kControl, 0x08);  // $8000 fixed: the first bank of the half
  EXPECT_EQ(Bank16At(0x8000), 16u);
}

// --- CHR banking ---

TEST_F(Mmc1Test, ChrModesOverEveryRegisterValue) {
  UseBoard(1, 8, 4);  // 32 KB of CHR: eight 4 KB banks
  for (uint8_t value = 0; value < 32; ++value) {
    Load(kControl, 0x0C);  // 8 KB mode: CHR register 0 without its bit 0, register 1 unused
    Load(kChr0, value);
    Load(kChr1, static_cast<uint8_t>(value + 3));
    const uint32_t pair = (value & 0x1E) % 8;
    EXPECT_TRUE(ChrAt(0x0000, 0x2000, pair * 4)) << int{value};

    Load(kControl, 0x1C);  // 4 KB mode: one register per pattern table
    EXPECT_TRUE(ChrAt(0x0000, 0x1000, (value % 8) * 4u)) << int{value};
    EXPECT_TRUE(ChrAt(0x1000, 0x1000, ((value + 3) % 8) * 4u)) << int{value};
    EXPECT_TRUE(CacheMatchesPatterns(0, 0x2000));
  }
}

// The 8 KB of pattern RAM is banked in 4 KB halves like CHR ROM; 8 KB mode shows it whole.
TEST_F(Mmc1Test, ChrRegistersBankThePatternRam) {
  UseBoard(1, 8, 0);
  for (uint16_t address = 0; address < 0x2000; ++address) {
    PpuWrite(Machine(), address, static_cast<uint8_t>(0x10 + (address >> 12)));
  }
  Load(kControl, 0x1C);
  Load(kChr0, 3);  // the upper half at $0000
  Load(kChr1, 0);  // the lower half at $1000
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem, 0x1000, 0x11));
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x1000, 0x1000, 0x10));
  Load(kControl, 0x0C);  // 8 KB mode: both halves in order again
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem, 0x1000, 0x10));
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x1000, 0x1000, 0x11));
  EXPECT_TRUE(CacheMatchesPatterns(0, 0x2000));
}

// --- Mirroring ---

TEST_F(Mmc1Test, TheFourMirroringModesShowTheTablesTheyName) {
  UseBoard(1, 8, 1);
  // Vertical at load: table A in $2000/$2800, table B in $2400/$2C00.
  std::memset(Machine().ppuMem + 0x2000, 0xAA, 0x400);
  std::memset(Machine().ppuMem + 0x2800, 0xAA, 0x400);
  std::memset(Machine().ppuMem + 0x2400, 0xBB, 0x400);
  std::memset(Machine().ppuMem + 0x2C00, 0xBB, 0x400);
  struct Expected {
    uint8_t control;
    uint8_t slots[4];
  };
  const Expected steps[] = {
      {0x0C | 1, {0xBB, 0xBB, 0xBB, 0xBB}},                                        // one-screen B
      {0x0C | 0, {0xAA, 0xAA, 0xAA, 0xAA}},                                        // one-screen A
      {0x0C | 3, {0xAA, 0xAA, 0xBB, 0xBB}},                                        // horizontal
      {0x0C | 1, {0xBB, 0xBB, 0xBB, 0xBB}}, {0x0C | 2, {0xAA, 0xBB, 0xAA, 0xBB}},  // vertical
  };
  for (const Expected& step : steps) {
    Load(kControl, step.control);
    for (int slot = 0; slot < 4; ++slot) {
      EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x2000 + slot * 0x400, 0x400, step.slots[slot]))
          << "control " << int{step.control} << " slot " << slot;
    }
  }
}

// --- Cartridge RAM ---

TEST_F(Mmc1Test, PrgRegisterBit4DisablesTheCartridgeRam) {
  UseBoard(1, 8, 1);
  Write(0x6000, 0x11);
  Write(0x7FFF, 0x22);
  EXPECT_EQ(CpuRead(Machine(), 0x6000), 0x11);

  Load(kPrg, 0x10);
  Write(0x6000, 0x33);
  EXPECT_EQ(CpuRead(Machine(), 0x6000), 0x60);  // nothing drives the bus
  EXPECT_EQ(CpuRead(Machine(), 0x7FFF), 0x7F);

  Load(kPrg, 0x00);
  EXPECT_EQ(CpuRead(Machine(), 0x6000), 0x11);
  EXPECT_EQ(CpuRead(Machine(), 0x7FFF), 0x22);
}

// With pattern RAM and at most 256 KB of PRG, bit 4 of CHR register 0 is the RAM switch too;
// with CHR ROM it is a bank bit.
TEST_F(Mmc1Test, OnThePatternRamBoardChrRegisterBit4AlsoDisablesTheRam) {
  UseBoard(1, 16, 0);
  Write(0x6000, 0x11);
  Load(kChr0, 0x10);
  EXPECT_EQ(CpuRead(Machine(), 0x6000), 0x60);

  ResetMachineState(Machine());
  UseBoard(1, 16, 4);
  Write(0x6000, 0x11);
  Load(kChr0, 0x10);
  EXPECT_EQ(CpuRead(Machine(), 0x6000), 0x11);
}

}  // namespace
}  // namespace wrenfold
