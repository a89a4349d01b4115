// MMC3 family: the bank registers over every register, value and mode, mirroring, the scanline
// counter (when it fires, IRQADJ, acknowledge, A12 through $2006), and the variant boards.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "emulator/cart/board_table.h"
#include "emulator/cpu/interrupts.h"
#include "emulator/ppu/ppu_memory.h"
#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::AllBytesAre;
using testing_support::MapperTest;

constexpr uint16_t kIrqVector = 0xA0F0;
constexpr uint8_t kCtrlSprites1000 = 0x08;
constexpr uint8_t kCtrlBackground1000 = 0x10;
constexpr uint8_t kCtrlTall = 0x20;

class Mmc3Test : public MapperTest {
 protected:
  void UseMmc3(uint8_t mapper, uint32_t prgBanks16k, uint32_t chrBanks8k) {
    UseBoard(mapper, prgBanks16k, chrBanks8k);
    MachineState& m = Machine();
    m.cpu.P = 0x20;
    m.cpu.S = 0xFF;
    m.cpu.PC = 0xC000;
    m.cpuMem[0x2000] = kCtrlSprites1000;  // background $0000, sprites $1000: one rise a line
    m.cpuMem[0x2001] = 0x18;
  }

  void SetBank(int reg, uint8_t value, uint8_t modes = 0) {
    Write(0x8000, static_cast<uint8_t>(modes | reg));
    Write(0x8001, value);
  }

  // Runs the board's line steps over lines [first, last] and returns the first line at whose
  // start the CPU entered the IRQ, or -1. Each entry is handled at once, as a game's handler
  // does: $E000 and $E001 (acknowledge, enable again) unless `acknowledge` is false, then the
  // return (PC reset, I cleared), so later entries show too; `entries` counts them.
  int RunLines(int first, int last, int* entries = nullptr, bool acknowledge = true) {
    MachineState& m = Machine();
    m.cpuMem[0xFFFE] = kIrqVector & 0xFF;
    m.cpuMem[0xFFFF] = kIrqVector >> 8;
    const BoardLineStep step = BoardFor(m.header.mapperNumber).lineStep;
    int firstEntry = -1;
    int count = 0;
    for (int line = first; line <= last; ++line) {
      step(m, static_cast<uint16_t>(line), (m.cpuMem[0x2001] & 0x18) != 0);
      if (m.cpu.PC == kIrqVector) {
        if (firstEntry < 0) firstEntry = line;
        ++count;
        if (acknowledge) {
          Write(0xE000, 0);
          Write(0xE001, 0);
        }
        m.cpu.PC = 0xC000;
        m.cpu.P = 0x20;
        m.cpu.S = 0xFF;
      }
    }
    if (entries != nullptr) *entries = count;
    return firstEntry;
  }

  // $C000 = latch, $C001 (reload at the next clock), $E001 (enable), as a game's NMI does.
  void ArmIrq(uint8_t latch) {
    Write(0xC000, latch);
    Write(0xC001, 0);
    Write(0xE001, 0);
  }
};

// --- Banks ---

struct ImageSize {
  uint32_t prgBanks16k;
  uint32_t chrBanks8k;
};

class Mmc3BankTest : public Mmc3Test, public ::testing::WithParamInterface<ImageSize> {};

// Every register with every value in both PRG modes: R6 and R7 land where the mode puts them,
// the second-last and last 8 KB banks stay fixed, and nothing reads outside the image.
TEST_P(Mmc3BankTest, PrgRegistersInBothModes) {
  const ImageSize size = GetParam();
  UseMmc3(4, size.prgBanks16k, size.chrBanks8k);
  const uint32_t count = size.prgBanks16k * 2;
  for (uint8_t mode : {uint8_t{0}, uint8_t{0x40}}) {
    for (int value = 0; value < 256; value += 7) {
      SetBank(6, static_cast<uint8_t>(value), mode);
      SetBank(7, static_cast<uint8_t>(value + 3), mode);
      const uint32_t r6 = value % count;
      const uint32_t r7 = (value + 3) % count;
      SCOPED_TRACE(::testing::Message() << "mode " << int{mode} << " value " << value);
      EXPECT_TRUE(PrgAt(mode ? 0xC000 : 0x8000, 0x2000, r6));
      EXPECT_TRUE(PrgAt(0xA000, 0x2000, r7));
      EXPECT_TRUE(PrgAt(mode ? 0x8000 : 0xC000, 0x2000, count - 2));
      EXPECT_TRUE(PrgAt(0xE000, 0x2000, count - 1));
    }
  }
}

TEST_P(Mmc3BankTest, ChrRegistersWithAndWithoutInversion) {
  const ImageSize size = GetParam();
  UseMmc3(4, size.prgBanks16k, size.chrBanks8k);
  const uint32_t count = size.chrBanks8k * 8;
  for (uint8_t invert : {uint8_t{0}, uint8_t{0x80}}) {
    for (int value = 0; value < 256; value += 5) {
      for (int reg = 0; reg < 6; ++reg) SetBank(reg, static_cast<uint8_t>(value + reg * 9), invert);
      const uint16_t pairs = invert ? 0x1000 : 0x0000;
      const uint16_t singles = invert ? 0x0000 : 0x1000;
      SCOPED_TRACE(::testing::Message() << "inversion " << int{invert} << " value " << value);
      // The 2 KB registers ignore bit 0.
      EXPECT_TRUE(ChrAt(pairs, 0x800, ((value & 0xFE) % count)));
      EXPECT_TRUE(ChrAt(pairs + 0x800, 0x800, (((value + 9) & 0xFE) % count)));
      for (int reg = 2; reg < 6; ++reg) {
        EXPECT_TRUE(ChrAt(static_cast<uint16_t>(singles + (reg - 2) * 0x400), 0x400,
                          (value + reg * 9) % count));
      }
    }
  }
  EXPECT_TRUE(CacheMatchesPatterns(0, 0x2000));
}

INSTANTIATE_TEST_SUITE_P(ImageSizes, Mmc3BankTest,
                         ::testing::Values(ImageSize{2, 2}, ImageSize{8, 16}, ImageSize{16, 32}));

TEST_F(Mmc3Test, PowerOnShowsTheFirstBanksAndTheFixedEnd) {
  UseMmc3(4, 8, 4);
  EXPECT_TRUE(PrgAt(0x8000, 0x4000, 0));
  EXPECT_TRUE(PrgAt(0xC000, 0x4000, 14));
  EXPECT_TRUE(ChrAt(0x0000, 0x2000, 0));
  // The first bank-select write keeps the picture: the registers start as the banks stand.
  Write(0x8000, 0x00);
  EXPECT_TRUE(PrgAt(0x8000, 0x4000, 0));
  EXPECT_TRUE(ChrAt(0x0000, 0x2000, 0));
}

// The 8 KB of pattern RAM is banked in 1 KB pieces like CHR ROM; a piece shown twice takes a
// write in both places. CHR registers never move PRG banks.
TEST_F(Mmc3Test, ChrRegistersBankThePatternRam) {
  UseMmc3(4, 8, 0);
  for (uint16_t address = 0; address < 0x2000; ++address) {
    PpuWrite(Machine(), address, static_cast<uint8_t>(0x20 + (address >> 10)));
  }
  uint8_t prg[0x8000];
  std::memcpy(prg, Machine().cpuMem + 0x8000, sizeof prg);
  SetBank(2, 9);  // piece 1 at $1000 ...
  SetBank(3, 1);  // ... and at $1400
  EXPECT_EQ(std::memcmp(prg, Machine().cpuMem + 0x8000, sizeof prg), 0);
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x1000, 0x400, 0x21));
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x1400, 0x400, 0x21));
  PpuWrite(Machine(), 0x1003, 0x77);
  EXPECT_EQ(Machine().ppuMem[0x1403], 0x77);
  EXPECT_EQ(Machine().ppuMem[0x0403], 0x77);  // R0 still shows piece 1 at $0400
  DecodeAllTiles(Machine());                  // the next frame start

  Write(0x8000, 0x80);  // inversion: the 2 KB pieces 0-1 and 2-3 move to $1000
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x1800, 0x400, 0x22));
  EXPECT_EQ(Machine().ppuMem[0x0003], 0x77);  // R2's piece 1, with the write
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x0004, 0x3FC, 0x21));
  EXPECT_TRUE(CacheMatchesPatterns(0, 0x2000));
}

TEST_F(Mmc3Test, MirroringRegisterAndFourScreenImages) {
  UseMmc3(4, 2, 1);
  Write(0xA000, 1);
  EXPECT_EQ(Machine().header.mirrorVertical, 0u);
  Write(0xA001, 0);  // RAM protect: not decoded, the register leaves mirroring alone
  Write(0xA000, 0);
  EXPECT_EQ(Machine().header.mirrorVertical, 1u);

  Machine().header.fourScreen = 1;
  Write(0xA000, 1);
  EXPECT_EQ(Machine().header.mirrorVertical, 1u);
}

// --- The scanline counter ---

// The counter reloads on the first clock after $C001, counts down once a line and raises the
// IRQ on reaching zero; the CPU takes it at the next line start, so the handler's changes show
// from the line after the one the counter reached zero on, as on the console.
TEST_F(Mmc3Test, TheIrqIsTakenAtLineLatchPlusOneForEveryLatch) {
  for (int latch = 1; latch < 239; latch += 3) {
    UseMmc3(4, 2, 1);
    ArmIrq(static_cast<uint8_t>(latch));
    int entries = 0;
    EXPECT_EQ(RunLines(0, 261, &entries), latch + 1) << latch;
    // After reaching zero the counter reloads by itself: every latch + 1 lines while clocked.
    EXPECT_EQ(entries, 241 / (latch + 1)) << latch;
  }
}

TEST_F(Mmc3Test, IrqAdjustMovesTheFirstIrqAndKeepsTheSpacing) {
  for (int adjust : {-3, -1, 0, 2, 5}) {
    UseMmc3(4, 2, 1);
    Machine().irqAdjust = static_cast<int16_t>(adjust);
    ArmIrq(40);
    EXPECT_EQ(RunLines(0, 41 + adjust), 41 + adjust) << adjust;
    Write(0xE000, 0);
    Write(0xE001, 0);
    EXPECT_EQ(RunLines(42 + adjust, 240), 41 + adjust + 41) << adjust;
  }
}

TEST_F(Mmc3Test, OnlyRenderedLinesWithA12RisingClockTheCounter) {
  struct Case {
    uint8_t ctrl;
    uint8_t mask;
    bool clocks;
  };
  const Case cases[] = {
      {kCtrlSprites1000, 0x18, true},
      {kCtrlBackground1000, 0x08, true},
      {kCtrlTall, 0x10, true},
      {0x00, 0x18, false},
      {kCtrlSprites1000 | kCtrlBackground1000, 0x18, false},
      {kCtrlSprites1000, 0x00, false},
  };
  for (const Case& c : cases) {
    UseMmc3(4, 2, 1);
    Machine().cpuMem[0x2000] = c.ctrl;
    Machine().cpuMem[0x2001] = c.mask;
    ArmIrq(10);
    EXPECT_EQ(RunLines(0, 261), c.clocks ? 11 : -1) << int{c.ctrl} << " " << int{c.mask};
  }
}

TEST_F(Mmc3Test, LatchZeroRaisesTheIrqOnEveryClock) {
  UseMmc3(4, 2, 1);
  ArmIrq(0);
  int entries = 0;
  EXPECT_EQ(RunLines(0, 261, &entries), 1);
  EXPECT_EQ(entries, 241);  // once for the pre-render line and for each of the 240 lines
}

TEST_F(Mmc3Test, TheLineWaitsOutTheIFlagAndE000AcknowledgesAndDisables) {
  UseMmc3(4, 2, 1);
  ArmIrq(5);
  Machine().cpu.P = 0x24;  // I set
  EXPECT_EQ(RunLines(0, 20), -1);
  EXPECT_EQ(Machine().irq.irqLine, 1);
  Machine().cpu.P = 0x20;
  EXPECT_EQ(RunLines(21, 21, nullptr, false), 21);
  EXPECT_EQ(Machine().irq.irqLine, 1);  // up until acknowledged

  Write(0xE000, 0);
  EXPECT_EQ(Machine().irq.irqLine, 0);
  EXPECT_EQ(RunLines(22, 240), -1);  // disabled: the counter runs on without raising it
  Write(0xE001, 0);
  EXPECT_NE(RunLines(0, 240), -1);
}

// While rendering is off the CPU moves A12 itself: $2006 to $1xxx after $0xxx is one clock.
TEST_F(Mmc3Test, PpuAddressRisesThroughTheCpuClockTheCounterWhileRenderingIsOff) {
  UseMmc3(4, 2, 1);
  Machine().cpuMem[0x2001] = 0x00;
  ArmIrq(2);
  const auto toggle = [&] {
    for (uint8_t high : {uint8_t{0x00}, uint8_t{0x10}}) {
      Write(0x2006, high);
      Write(0x2006, 0x00);
    }
  };
  toggle();  // reload to 2
  toggle();  // 1
  EXPECT_EQ(Machine().irq.irqLine, 0);
  toggle();  // 0: raised
  EXPECT_EQ(Machine().irq.irqLine, 1);

  // During the picture the fetches drive A12: the CPU's addresses do not count.
  Write(0xE000, 0);
  Write(0xE001, 0);
  ArmIrq(1);
  Machine().cpuMem[0x2001] = 0x18;
  Machine().vblankPhase = 0;
  for (int i = 0; i < 4; ++i) toggle();
  EXPECT_EQ(Machine().irq.irqLine, 0);
}

// --- Variants ---

// TxSROM: bit 7 of the CHR register covering each name-table slot's 1 KB picks its page.
TEST_F(Mmc3Test, TxsromWiresTheNameTablePagesFromChrBit7) {
  UseMmc3(118, 8, 8);
  // Power-on: page 0 everywhere. Write page 0 and page 1 contents through the PPU.
  const auto fillPage = [&](uint8_t value) {
    for (uint16_t a = 0x2000; a < 0x2400; ++a) PpuWrite(Machine(), a, value);
  };
  fillPage(0xA0);
  SetBank(0, 0x80);
  SetBank(1, 0x80);  // page 1 everywhere
  fillPage(0xB1);
  struct Case {
    uint8_t r0;
    uint8_t r1;
    uint8_t slots[4];
  };
  const Case cases[] = {
      {0x00, 0x80, {0xA0, 0xA0, 0xB1, 0xB1}}, {0x80, 0x00, {0xB1, 0xB1, 0xA0, 0xA0}},
      {0x00, 0x00, {0xA0, 0xA0, 0xA0, 0xA0}}, {0x80, 0x80, {0xB1, 0xB1, 0xB1, 0xB1}},
      {0x80, 0x00, {0xB1, 0xB1, 0xA0, 0xA0}}, {0x00, 0x80, {0xA0, 0xA0, 0xB1, 0xB1}},
  };
  for (const Case& c : cases) {
    SetBank(0, c.r0);
    SetBank(1, c.r1);
    for (int slot = 0; slot < 4; ++slot) {
      EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x2000 + slot * 0x400, 0x400, c.slots[slot]))
          << int{c.r0} << "/" << int{c.r1} << " slot " << slot;
    }
  }
  // With the inversion the four 1 KB registers pick a page each: page 1 left, page 0 right.
  for (int reg = 2; reg < 6; ++reg) SetBank(reg, (reg & 1) ? 0x00 : 0x80, 0x80);
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x2000, 0x400, 0xB1));
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x2400, 0x400, 0xA0));
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x2800, 0x400, 0xB1));
  EXPECT_TRUE(AllBytesAre(Machine().ppuMem + 0x2C00, 0x400, 0xA0));
}

// Mapper 112 numbers its commands PRG first, then CHR, takes data at $A000 and mirroring at
// $E000; it has no modes.
TEST_F(Mmc3Test, Mapper112CommandsInItsOwnOrder) {
  UseMmc3(112, 8, 8);
  const uint16_t windows[8] = {0x8000, 0xA000, 0x0000, 0x0800, 0x1000, 0x1400, 0x1800, 0x1C00};
  for (uint8_t command = 0; command < 8; ++command) {
    Write(0x8000, static_cast<uint8_t>(command | 0xC0));
    Write(0xA000, static_cast<uint8_t>(10 + command * 2));
    if (command < 2) {
      EXPECT_TRUE(PrgAt(windows[command], 0x2000, 10 + command * 2u)) << int{command};
    } else {
      EXPECT_TRUE(ChrAt(windows[command], command < 4 ? 0x800 : 0x400, 10 + command * 2u))
          << int{command};
    }
  }
  Write(0xE000, 1);
  EXPECT_EQ(Machine().header.mirrorVertical, 0u);
}

TEST_F(Mmc3Test, Mapper161TakesItsE000BankThrough8800) {
  UseMmc3(161, 8, 8);
  EXPECT_TRUE(PrgAt(0xE000, 0x2000, 15));
  Write(0x8800, 0);
  Write(0x8801, 5);
  EXPECT_TRUE(PrgAt(0xE000, 0x2000, 5));
  Write(0x8000, 0x46);  // the PRG mode bit does not move R6
  Write(0x8001, 3);
  EXPECT_TRUE(PrgAt(0x8000, 0x2000, 3));
  EXPECT_TRUE(PrgAt(0xE000, 0x2000, 5));
}

// Mapper 245's bit 1 of R0 picks the 512 KB half of a 1 MB image, the fixed banks included.
TEST_F(Mmc3Test, Mapper245TakesThe512kHalfFromR0) {
  UseMmc3(245, 64, 0);
  for (uint8_t half : {uint8_t{2}, uint8_t{0}}) {
    SetBank(0, half);
    SetBank(6, 5);
    const uint32_t outer = half ? 64 : 0;
    EXPECT_TRUE(PrgAt(0x8000, 0x2000, outer + 5));
    EXPECT_TRUE(PrgAt(0xC000, 0x2000, outer + 62));
    EXPECT_TRUE(PrgAt(0xE000, 0x2000, outer + 63));
  }
}

TEST_F(Mmc3Test, Mapper160BanksAndItsVisibleLineCounter) {
  UseMmc3(160, 8, 8);
  Write(0x8001, 7);
  EXPECT_TRUE(PrgAt(0xA000, 0x2000, 7));
  Write(0x9003, 21);
  EXPECT_TRUE(ChrAt(0x0C00, 0x400, 21));
  EXPECT_EQ(Machine().patternDirty, 1);
  Write(0xC001, 12);                                // latch
  Write(0xC000, 0);                                 // counter = latch, enabled
  EXPECT_EQ(RunLines(0, 239, nullptr, false), 11);  // down on every visible line, taken at once
}

}  // namespace
}  // namespace wrenfold
