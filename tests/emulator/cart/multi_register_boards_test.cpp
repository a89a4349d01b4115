// Register behaviour of the multi-register boards beyond a single bank switch: the FME-7's
// command port and its RAM or ROM at $6000, the MMC4's latched banks, the Namco 163's $E0 rule,
// mapper 6's pages of pattern RAM, the J.Y. Company layouts and multiplier, and the smaller
// quirks of the Irem and Taito boards.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "emulator/cart/mappers/mmc4_latch.h"
#include "emulator/cpu/read_bus.h"
#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::MapperTest;
using testing_support::PrgFill;

constexpr uint32_t kChrPages = 128;  // 16 CHR banks of 8 KB

// Random commands and parameters: CHR commands switch 1 KB, PRG commands 8 KB, each slot
// showing the last value written for it.
TEST_F(MapperTest, Fme7CommandPortSwitchesEverySlot) {
  UseBoard(69, 8, 16);  // sixteen 8 KB PRG banks
  std::mt19937 random(69);
  int chr[8] = {0, 1, 2, 3, 4, 5, 6, 7};
  int prg[3] = {0, 1, 14};
  for (int step = 0; step < 300; ++step) {
    const uint8_t command = static_cast<uint8_t>(random() % 12);
    const uint8_t value = static_cast<uint8_t>(random());
    if (command == 8) continue;
    Write(0x8000 + (random() % 0x2000), command);
    Write(0xA000 + (random() % 0x2000), value);
    if (command < 8) chr[command] = value % kChrPages;
    if (command >= 9) prg[command - 9] = (value & 0x3F) % 16;
    for (int slot = 0; slot < 8 && step > 8; ++slot) {
      ASSERT_TRUE(ChrAt(static_cast<uint16_t>(slot * 0x400), 0x400, chr[slot])) << step;
    }
    for (int slot = 0; slot < 3; ++slot) {
      ASSERT_TRUE(PrgAt(static_cast<uint16_t>(0x8000 + slot * 0x2000), 0x2000, prg[slot])) << step;
    }
    ASSERT_TRUE(PrgAt(0xE000, 0x2000, 15));
  }
}

// ROM at $6000 is read in place of the cartridge RAM and ignores writes; the RAM itself stays
// in cpuMem untouched (save states and battery files keep it) and shows again as it was left.
TEST_F(MapperTest, Fme7RomAt6000IsReadWhileTheRamStaysAsItWasLeft) {
  UseBoard(69, 8, 1);
  const auto readsBank = [&](uint8_t bank) {
    for (uint32_t address = 0x6000; address < 0x8000; address += 0x3FF) {
      if (CpuRead(Machine(), static_cast<uint16_t>(address)) != PrgFill(bank)) return false;
    }
    return true;
  };
  Write(0x6000, 0x12);
  Write(0x7FFF, 0x34);
  Write(0x8000, 0x08);
  Write(0xA000, 0x03);  // ROM bank 3
  EXPECT_TRUE(readsBank(3));
  Write(0x6000, 0x99);
  EXPECT_TRUE(readsBank(3));
  Write(0xA000, 0x05 + 16);  // another ROM bank, beyond the image: reduced into it
  EXPECT_TRUE(readsBank(5));
  EXPECT_EQ(Machine().cpuMem[0x6000], 0x12);
  Write(0xA000, 0xC0);  // RAM, enabled
  EXPECT_EQ(CpuRead(Machine(), 0x6000), 0x12);
  EXPECT_EQ(CpuRead(Machine(), 0x7FFF), 0x34);
  Write(0xA000, 0x40);  // RAM, disabled: writes do not land
  Write(0x6000, 0x56);
  EXPECT_EQ(Machine().cpuMem[0x6000], 0x12);
}

// Only the bank its table's latch selects is in pattern memory; a latch switch brings in the
// other one, as written.
TEST_F(MapperTest, Mmc4RegistersLoadOnlyTheLatchedBank) {
  UseBoard(10, 2, 16);
  Write(0xB000, 5);  // table 0, $FD bank: latch 0 holds $FE
  EXPECT_TRUE(ChrAt(0x0000, 0x1000, 0));
  Write(0xC000, 6);  // table 0, $FE bank
  EXPECT_TRUE(ChrAt(0x0000, 0x1000, 24));
  Mmc4LatchFetch(Machine(), 0xFD);
  EXPECT_TRUE(ChrAt(0x0000, 0x1000, 20));
  Write(0xE000, 7);  // table 1, $FE bank
  EXPECT_TRUE(ChrAt(0x1000, 0x1000, 28));
  Write(0xF000, 1);
  EXPECT_EQ(Machine().header.mirrorVertical, 0u);
}

// CPU reads through $2007 of the pattern bytes of tiles $FD and $FE switch the latches too,
// once the byte has been fetched; an address set by $2006 is the one the next read fetches.
TEST_F(MapperTest, Mmc4LatchesFollowPpuDataReads) {
  UseBoard(10, 2, 16);
  Write(0xB000, 5);  // table 0: $FD bank 5, $FE bank 6 (latched)
  Write(0xC000, 6);
  Write(0x2006, 0x0F);
  Write(0x2006, 0xD8);
  EXPECT_TRUE(ChrAt(0x0000, 0x1000, 20));
  Write(0x2006, 0x0F);
  Write(0x2006, 0xE7);
  CpuRead(Machine(), 0x2007);  // fetches $0FE7, steps to $0FE8
  EXPECT_TRUE(ChrAt(0x0000, 0x1000, 20));
  CpuRead(Machine(), 0x2007);  // fetches $0FE8
  EXPECT_TRUE(ChrAt(0x0000, 0x1000, 24));
  Write(0x2006, 0x1F);
  Write(0x2006, 0xDF);  // table 1's $FD latch
  EXPECT_EQ(Machine().mapper.mmc4Latch[1], 0xFD);
  EXPECT_EQ(Machine().mapper.mmc4Latch[0], 0xFE);
}

// Values $E0 and up in a CHR slot name the console's RAM unless $E800 says CHR ROM for that
// pattern table; the unemulated case leaves the slot as it was.
TEST_F(MapperTest, Namco163HighChrValuesNeedTheRomBit) {
  UseBoard(19, 2, 32);  // 256 pages, so $E5 is a real bank
  Write(0x8000, 0x10);
  Write(0x8000, 0xE5);
  EXPECT_TRUE(ChrAt(0x0000, 0x400, 0x10));
  Write(0xE800, 0x40);  // ROM for $0000-$0FFF only
  Write(0x8000, 0xE5);
  EXPECT_EQ(Machine().ppuMem[0x0000], testing_support::ChrFill(0xE5));
  Write(0xA000, 0xE6);
  EXPECT_NE(Machine().ppuMem[0x1000], testing_support::ChrFill(0xE6));
  Write(0xE800, 0xC0);
  Write(0xA000, 0xE6);
  EXPECT_EQ(Machine().ppuMem[0x1000], testing_support::ChrFill(0xE6));
}

// Mapper 6 keeps four pages of pattern RAM; a page written by the game comes back intact.
TEST_F(MapperTest, Ffe6KeepsItsPagesOfPatternRam) {
  UseBoard(6, 8, 0);
  for (uint8_t page = 0; page < 4; ++page) {
    Write(0x8000, page);
    EXPECT_EQ(Machine().ppuMem[0x1FFF], 0) << int{page};
    WritePatternRam(Machine(), 0x0000, static_cast<uint8_t>(0x10 + page));
    WritePatternRam(Machine(), 0x1FFF, static_cast<uint8_t>(0x20 + page));
  }
  for (const uint8_t page : {2, 0, 3, 1}) {
    Write(0x8000, page);
    EXPECT_EQ(Machine().ppuMem[0x0000], 0x10 + page);
    EXPECT_EQ(Machine().ppuMem[0x1FFF], 0x20 + page);
  }
  // Outside mode $20 the high range switches nothing.
  Write(0x42F0, 0x00);
  Write(0x8000, 0x08);
  EXPECT_TRUE(PrgAt(0x8000, 0x4000, 0));
}

// One case per layout of $D000: the PRG window and pattern memory it builds from the registers.
struct JyLayoutCase {
  const char* name;
  uint8_t mode;
  uint16_t prg[4];  // 8 KB indexes expected at $8000-$E000
  uint16_t chr[8];  // 1 KB indexes expected at $0000-$1C00
};

class JyLayoutTest : public MapperTest, public ::testing::WithParamInterface<JyLayoutCase> {};

// Registers: PRG 1, 2, 3, 4; CHR 0x10 + n in register n, with register 7's high byte 1.
TEST_P(JyLayoutTest, LayoutBuildsTheWindowsFromTheRegisters) {
  const JyLayoutCase& c = GetParam();
  UseBoard(90, 32, 32);  // 64 PRG and 256 CHR pages of 8 KB and 1 KB (wraps beyond 127)
  for (uint16_t i = 0; i < 4; ++i) Write(0x8000 + i, static_cast<uint8_t>(1 + i));
  for (uint16_t i = 0; i < 8; ++i) Write(0x9000 + i, static_cast<uint8_t>(0x10 + i));
  Write(0xA007, 1);
  Write(0xD000, c.mode);
  for (int slot = 0; slot < 4; ++slot) {
    EXPECT_TRUE(PrgAt(static_cast<uint16_t>(0x8000 + slot * 0x2000), 0x2000, c.prg[slot]));
  }
  for (int slot = 0; slot < 8; ++slot) {
    EXPECT_EQ(Machine().ppuMem[slot * 0x400], testing_support::ChrFill(c.chr[slot]))
        << "CHR slot " << slot;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, JyLayoutTest,
    ::testing::Values(
        JyLayoutCase{
            "Prg32kLastChr8k", 0x00, {60, 61, 62, 63}, {128, 129, 130, 131, 132, 133, 134, 135}},
        JyLayoutCase{"Prg32kFromRegister3",
                     0x04,
                     {16, 17, 18, 19},
                     {128, 129, 130, 131, 132, 133, 134, 135}},
        JyLayoutCase{"Prg16kChr4k", 0x09, {4, 5, 62, 63}, {64, 65, 66, 67, 80, 81, 82, 83}},
        JyLayoutCase{"Prg8kChr2k", 0x12, {1, 2, 3, 63}, {32, 33, 36, 37, 40, 41, 44, 45}},
        // Register 7 holds $117: page 279 of 256 wraps to 23.
        JyLayoutCase{
            "Prg8kLastFromRegisterChr1k", 0x1E, {1, 2, 3, 4}, {16, 17, 18, 19, 20, 21, 22, 23}},
        // 1, 2, 3 reversed in seven bits are 64, 32 and 96, wrapped into 64 banks.
        JyLayoutCase{
            "Prg8kReversedBits", 0x03, {0, 32, 32, 63}, {128, 129, 130, 131, 132, 133, 134, 135}}),
    [](const ::testing::TestParamInfo<JyLayoutCase>& info) {
      return std::string(info.param.name);
    });

TEST_F(MapperTest, JyMultipliesAndKeepsItsScratchByte) {
  UseBoard(90, 2, 1);
  for (const auto& [a, b] :
       std::vector<std::pair<int, int>>{{0, 0}, {3, 5}, {255, 255}, {17, 200}}) {
    Write(0x5800, static_cast<uint8_t>(a));
    Write(0x5801, static_cast<uint8_t>(b));
    EXPECT_EQ(CpuRead(Machine(), 0x5800), (a * b) & 0xFF);
    EXPECT_EQ(CpuRead(Machine(), 0x5801), (a * b) >> 8);
  }
  Write(0x5803, 0x5A);
  EXPECT_EQ(CpuRead(Machine(), 0x5803), 0x5A);
}

// The RAMBO-1 builds its windows from the registers: the PRG mode moves banks already written,
// the 1 KB mode adds R8 and R9, the inversion swaps the pattern tables.
TEST_F(MapperTest, Rambo1ModesRearrangeTheRegisters) {
  UseBoard(64, 8, 16);
  const auto set = [&](uint8_t select, uint8_t value) {
    Write(0x8000, select);
    Write(0x8001, value);
  };
  set(0x06, 3);
  set(0x07, 4);
  set(0x0F, 5);
  EXPECT_TRUE(PrgAt(0x8000, 0x6000, 3));  // 3, 4, 5
  EXPECT_TRUE(PrgAt(0xE000, 0x2000, 15));
  Write(0x8000, 0x40);
  EXPECT_TRUE(PrgAt(0x8000, 0x2000, 5));
  EXPECT_TRUE(PrgAt(0xA000, 0x4000, 3));  // 3, 4

  set(0x20, 20);
  set(0x28, 9);
  set(0x21, 30);
  set(0x29, 40);
  for (uint8_t r = 2; r <= 5; ++r)
    set(static_cast<uint8_t>(0x20 | r), static_cast<uint8_t>(50 + r));
  const int oneK[8] = {20, 9, 30, 40, 52, 53, 54, 55};
  for (int slot = 0; slot < 8; ++slot) {
    EXPECT_TRUE(ChrAt(static_cast<uint16_t>(slot * 0x400), 0x400, oneK[slot])) << slot;
  }
  Write(0x8000, 0x80);  // 2 KB banks, pattern tables swapped
  const int inverted[8] = {52, 53, 54, 55, 20, 21, 30, 31};
  for (int slot = 0; slot < 8; ++slot) {
    EXPECT_TRUE(ChrAt(static_cast<uint16_t>(slot * 0x400), 0x400, inverted[slot])) << slot;
  }
  Write(0xA000, 1);
  EXPECT_EQ(Machine().header.mirrorVertical, 0u);
}

// The G-101 moves its $8xxx bank to $C000 and the second-last bank to $8000.
TEST_F(MapperTest, G101SwapModeMovesTheFirstBank) {
  UseBoard(32, 8, 1);
  Write(0x8000, 3);
  Write(0x9000, 0x02);
  EXPECT_TRUE(PrgAt(0x8000, 0x2000, 14));
  EXPECT_TRUE(PrgAt(0xC000, 0x2000, 3));
  Write(0x9000, 0x01);
  EXPECT_TRUE(PrgAt(0x8000, 0x2000, 3));
  EXPECT_TRUE(PrgAt(0xC000, 0x2000, 14));
  EXPECT_EQ(Machine().header.mirrorVertical, 0u);
}

// Bit 6 of the TC0190's first PRG register and of the TC0690's $E000 set horizontal mirroring.
TEST_F(MapperTest, TaitoMirroringBitSixMeansHorizontal) {
  for (const auto& [mapper, address] :
       std::vector<std::pair<uint8_t, uint16_t>>{{33, 0x8000}, {48, 0xE000}}) {
    UseBoard(mapper, 2, 1, /*vertical=*/true);
    Write(address, 0x40);
    EXPECT_EQ(Machine().header.mirrorVertical, 0u) << int{mapper};
    Write(address, 0x00);
    EXPECT_EQ(Machine().header.mirrorVertical, 1u) << int{mapper};
  }
}

TEST_F(MapperTest, Tc0690LowRegistersLogRamSelections) {
  UseBoard(48, 8, 1);
  Write(0x5115, 0x82);
  EXPECT_EQ(Log(), "");
  Write(0x5114, 0x03);
  EXPECT_EQ(Log(), "Q");
  EXPECT_TRUE(PrgAt(0x8000, 0x2000, 2));
  EXPECT_TRUE(PrgAt(0xA000, 0x2000, 3));
}

// The X1-005's 128 bytes of RAM appear twice in $7F00-$7FFF; the rest of $6000-$7EFF is open.
TEST_F(MapperTest, X1005RamIsSeenTwice) {
  UseBoard(80, 2, 1);
  Write(0x7F05, 0x11);
  Write(0x7FF0, 0x22);
  Write(0x6000, 0x33);
  EXPECT_EQ(Machine().cpuMem[0x7F85], 0x11);
  EXPECT_EQ(Machine().cpuMem[0x7F70], 0x22);
  EXPECT_EQ(Machine().cpuMem[0x6000], 0);
}

}  // namespace
}  // namespace wrenfold
