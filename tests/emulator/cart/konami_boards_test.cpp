// The Konami boards: VRC2/VRC4 (21, 22, 23, 25) register wiring, PRG swap mode and mirroring,
// the VRC6 (24, 26) line swap, and the VRC IRQ counter's period in line and cycle mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::MapperTest;

constexpr uint32_t kChrBanks8k = 16;  // 128 pages of 1 KB, each with its own fill byte
constexpr uint32_t kChrPages = kChrBanks8k * 8;

// The two address lines a board uses for bit 0 (the nibble) and bit 1 (the second bank of a
// block's pair) of the register number.
struct Wiring {
  const char* name;
  uint8_t mapper;
  uint16_t nibbleLine;
  uint16_t pairLine;
};

constexpr Wiring kWirings[] = {
    {"Vrc4a", 21, 0x02, 0x04}, {"Vrc4c", 21, 0x40, 0x80}, {"Vrc2a", 22, 0x02, 0x01},
    {"Vrc4f", 23, 0x01, 0x02}, {"Vrc4e", 23, 0x04, 0x08}, {"Vrc4b", 25, 0x02, 0x01},
    {"Vrc4d", 25, 0x08, 0x04},
};

class VrcWiringTest : public MapperTest, public ::testing::WithParamInterface<Wiring> {
 protected:
  uint16_t ChrRegister(int slot, bool highNibble) const {
    const Wiring& w = GetParam();
    return static_cast<uint16_t>(0xB000 + (slot / 2) * 0x1000 + (highNibble ? w.nibbleLine : 0) +
                                 ((slot & 1) ? w.pairLine : 0));
  }
  // The 1 KB page a register value selects: the VRC2a drops the value's lowest bit.
  uint32_t PageOf(uint32_t value) const {
    return (GetParam().mapper == 22 ? value >> 1 : value) % kChrPages;
  }
};

// Each nibble takes effect as it is written, in either order, for every slot and many values.
TEST_P(VrcWiringTest, EveryChrNibbleSwitchesItsSlotAtOnce) {
  UseBoard(GetParam().mapper, 8, kChrBanks8k);
  std::mt19937 random(GetParam().mapper * 131 + GetParam().nibbleLine);
  uint8_t registers[8] = {};
  for (int round = 0; round < 40; ++round) {
    const int slot = static_cast<int>(random() % 8);
    const uint8_t value = static_cast<uint8_t>(random());
    const bool highFirst = (random() & 1) != 0;
    for (int half = 0; half < 2; ++half) {
      const bool high = (half == 0) == highFirst;
      Write(ChrRegister(slot, high), high ? value >> 4 : value & 0x0F);
      registers[slot] = high ? static_cast<uint8_t>((registers[slot] & 0x0F) | (value & 0xF0))
                             : static_cast<uint8_t>((registers[slot] & 0xF0) | (value & 0x0F));
      ASSERT_TRUE(ChrAt(static_cast<uint16_t>(slot * 0x400), 0x400, PageOf(registers[slot])))
          << "round " << round << " slot " << slot;
    }
  }
  EXPECT_TRUE(CacheMatchesPatterns(0, 0x2000));
}

INSTANTIATE_TEST_SUITE_P(Boards, VrcWiringTest, ::testing::ValuesIn(kWirings),
                         [](const ::testing::TestParamInfo<Wiring>& info) {
                           return std::string(info.param.name);
                         });

// The PRG mode register ($9002 in the canonical wiring) of each VRC4 number.
struct SwapCase {
  uint8_t mapper;
  uint16_t modeRegister;
};

class VrcPrgSwapTest : public MapperTest, public ::testing::WithParamInterface<SwapCase> {};

// In swap mode the $8xxx bank shows at $C000 and the second-last bank at $8000; switching the
// mode moves the bank already written, before or after the bank writes alike.
TEST_P(VrcPrgSwapTest, ModeMovesTheFirstBankAndTheSecondLast) {
  const SwapCase& c = GetParam();
  UseBoard(c.mapper, 8, 1);  // sixteen 8 KB banks: the second-last is 14
  for (const bool modeFirst : {true, false}) {
    for (const uint8_t mode : {0x02, 0x00, 0x02}) {
      SCOPED_TRACE(testing::Message() << "mode " << int{mode} << (modeFirst ? " first" : " last"));
      if (modeFirst) Write(c.modeRegister, mode);
      Write(0x8000, 5 + mode);
      Write(0xA000, 9);
      if (!modeFirst) Write(c.modeRegister, mode);
      const bool swapped = mode != 0;
      EXPECT_TRUE(PrgAt(0x8000, 0x2000, swapped ? 14 : 5 + mode));
      EXPECT_TRUE(PrgAt(0xA000, 0x2000, 9));
      EXPECT_TRUE(PrgAt(0xC000, 0x2000, swapped ? 5 + mode : 14));
      EXPECT_TRUE(PrgAt(0xE000, 0x2000, 15));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Boards, VrcPrgSwapTest,
                         ::testing::Values(SwapCase{21, 0x9004}, SwapCase{21, 0x9080},
                                           SwapCase{23, 0x9002}, SwapCase{23, 0x9008},
                                           SwapCase{25, 0x9001}));

struct MirroringCase {
  const char* name;
  uint8_t mapper;
  uint16_t address;
  uint8_t value;
  int expected;  // 0 vertical, 1 horizontal, 2 one-screen A, 3 one-screen B, -1 unchanged
};

class KonamiMirroringTest : public MapperTest,
                            public ::testing::WithParamInterface<MirroringCase> {};

TEST_P(KonamiMirroringTest, RegisterSelectsTheMode) {
  const MirroringCase& c = GetParam();
  UseBoard(c.mapper, 2, 1, /*vertical=*/false);
  Write(c.address, c.value);
  const MachineState& m = Machine();
  const int mode = m.oneScreenA ? 2 : m.oneScreenB ? 3 : m.header.mirrorVertical ? 0 : 1;
  EXPECT_EQ(mode, c.expected == -1 ? 1 : c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, KonamiMirroringTest,
    ::testing::Values(MirroringCase{"Vrc4Vertical", 21, 0x9000, 0, 0},
                      MirroringCase{"Vrc4OneScreenA", 21, 0x9000, 2, 2},
                      MirroringCase{"Vrc4OneScreenB", 25, 0x9000, 3, 3},
                      MirroringCase{"Vrc2HasNoOneScreen", 22, 0x9000, 2, 0},
                      MirroringCase{"Vrc2bFFMeansHorizontal", 23, 0x9000, 0xFF, 1},
                      MirroringCase{"Vrc4fModeRegisterIsNotMirroring", 23, 0x9002, 0, -1},
                      MirroringCase{"Vrc6OneScreenA", 24, 0xB003, 0x28, 2},
                      MirroringCase{"Vrc6Vertical", 24, 0xB003, 0x20, 0},
                      MirroringCase{"Vrc6OtherLayoutsLeaveIt", 24, 0xB003, 0x21, -1},
                      MirroringCase{"Vrc6OneScreenBWithoutRamEnable", 24, 0xB003, 0x0C, 3},
                      MirroringCase{"Vrc6bSameRegister", 26, 0xB003, 0x20, 0},
                      MirroringCase{"Vrc6bOneScreenB", 26, 0xB003, 0x2C, 3}),
    [](const ::testing::TestParamInfo<MirroringCase>& info) {
      return std::string(info.param.name);
    });

// Mapper 25 decides its wiring on the first write that uses one of the lines, for good.
TEST_F(MapperTest, Mapper25KeepsTheWiringItFirstSees) {
  UseBoard(25, 2, kChrBanks8k);
  Write(0xB008, 0x03);  // VRC4d: slot 0, high nibble
  EXPECT_TRUE(ChrAt(0x0000, 0x400, 0x30));
  Write(0xB002, 0x05);  // A1 is not connected on that board: slot 0, low nibble
  EXPECT_TRUE(ChrAt(0x0000, 0x400, 0x35));

  machine_ = std::make_unique<MachineState>();
  UseBoard(25, 2, kChrBanks8k);
  Write(0xB002, 0x04);  // VRC4b: slot 0, high nibble
  Write(0xB008, 0x06);  // A3 is not connected: slot 0, low nibble
  EXPECT_TRUE(ChrAt(0x0000, 0x400, 0x46));
}

TEST_F(MapperTest, Vrc6bSoundRegistersSwapA0AndA1) {
  UseBoard(26, 2, 1);
  Write(0x9001, 0x11);
  Write(0xA002, 0x22);
  Write(0xB000, 0x33);
  const uint8_t* regs = Machine().mapper.vrc6SoundRegs;
  EXPECT_EQ(regs[2], 0x11);
  EXPECT_EQ(regs[4 + 1], 0x22);
  EXPECT_EQ(regs[8], 0x33);
}

// The IRQ registers of each number that has the counter: latch low and high (the VRC6 writes
// the whole latch to the low address), control and acknowledge.
struct KonamiIrqCase {
  const char* name;
  uint8_t mapper;
  uint16_t latchLow;
  uint16_t latchHigh;  // 0: the latch is written whole
  uint16_t control;
  uint16_t acknowledge;
};

constexpr KonamiIrqCase kKonamiIrqBoards[] = {
    {"Vrc4a", 21, 0xF000, 0xF002, 0xF004, 0xF006}, {"Vrc4c", 21, 0xF000, 0xF040, 0xF080, 0xF0C0},
    {"Vrc4f", 23, 0xF000, 0xF001, 0xF002, 0xF003}, {"Vrc4b", 25, 0xF000, 0xF002, 0xF001, 0xF003},
    {"Vrc6a", 24, 0xF000, 0, 0xF001, 0xF002},      {"Vrc6b", 26, 0xF000, 0, 0xF002, 0xF001},
};

class KonamiIrqTest : public MapperTest, public ::testing::WithParamInterface<KonamiIrqCase> {
 protected:
  void Arm(uint8_t latch, uint8_t control) {
    const KonamiIrqCase& c = GetParam();
    if (c.latchHigh == 0) {
      Write(c.latchLow, latch);
    } else {
      Write(c.latchLow, latch & 0x0F);
      Write(c.latchHigh, latch >> 4);
    }
    Write(c.control, control);
  }
};

// In line mode the counter overflows 256 - latch lines after the control write (the reload
// moved by IRQADJ), and every 256 - latch lines after that while acknowledged with A set.
TEST_P(KonamiIrqTest, LineModeFiresEvery256MinusLatchLines) {
  UseBoard(GetParam().mapper, 2, 1);
  for (int latch = 0; latch < 256; latch += 15) {
    for (const int adjust : {-3, 0, 3}) {
      SCOPED_TRACE(testing::Message() << "latch " << latch << " adjust " << adjust);
      Machine().irqAdjust = static_cast<int16_t>(adjust);
      Arm(static_cast<uint8_t>(latch), 0x03);
      const int reload = std::clamp(latch + adjust, 0, 255);
      ASSERT_EQ(StepsUntilIrq(300), 256 - reload);
      for (int again = 0; again < 2; ++again) {
        Write(GetParam().acknowledge, 0);
        EXPECT_EQ(Machine().irq.irqLine, 0);
        ASSERT_EQ(StepsUntilIrq(300), 256 - latch);
      }
      Write(GetParam().control, 0);
    }
  }
}

// With A clear the acknowledge stops the counter; without an acknowledge the line stays up.
TEST_P(KonamiIrqTest, AcknowledgeRestoresTheEnableOfBitZero) {
  UseBoard(GetParam().mapper, 2, 1);
  Arm(0xF0, 0x02);
  EXPECT_EQ(StepsUntilIrq(100), 16);
  StepsUntilIrq(50);
  EXPECT_EQ(Machine().irq.irqLine, 1);
  Write(GetParam().acknowledge, 0);
  EXPECT_EQ(StepsUntilIrq(600), 0);
}

// In cycle mode the counter takes 114 + IRQADJ clocks a line.
TEST_P(KonamiIrqTest, CycleModeCountsTheLinesCycles) {
  UseBoard(GetParam().mapper, 2, 1);
  for (int latch = 0; latch < 256; latch += 7) {
    for (const int adjust : {-20, 0, 20}) {
      Machine().irqAdjust = static_cast<int16_t>(adjust);
      Arm(static_cast<uint8_t>(latch), 0x06);
      const int clocks = 256 - std::clamp(latch + adjust, 0, 255);
      const int cyclesPerLine = 114 + adjust;
      EXPECT_EQ(StepsUntilIrq(10), (clocks + cyclesPerLine - 1) / cyclesPerLine)
          << "latch " << latch << " adjust " << adjust;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Boards, KonamiIrqTest, ::testing::ValuesIn(kKonamiIrqBoards),
                         [](const ::testing::TestParamInfo<KonamiIrqCase>& info) {
                           return std::string(info.param.name);
                         });

// The VRC3 counts CPU cycles up from its 16-bit latch, or in its 8-bit mode only the low byte.
TEST_F(MapperTest, Vrc3CountsCyclesFromTheLatchInBothWidths) {
  UseBoard(73, 2, 1);
  for (uint32_t latch = 0; latch < 0x10000; latch += 0x0FED) {
    for (const bool byteMode : {false, true}) {
      SCOPED_TRACE(testing::Message() << "latch " << latch << (byteMode ? " 8-bit" : " 16-bit"));
      for (int nibble = 0; nibble < 4; ++nibble) {
        Write(static_cast<uint16_t>(0x8000 + nibble * 0x1000), (latch >> (4 * nibble)) & 0x0F);
      }
      Write(0xC000, byteMode ? 0x07 : 0x03);
      const uint32_t clocks = byteMode ? 0x100 - (latch & 0xFF) : 0x10000 - latch;
      ASSERT_EQ(StepsUntilIrq(700), static_cast<int>((clocks + 113) / 114));
      Write(0xD000, 0);  // acknowledge; A set keeps counting from the reloaded latch
      const uint32_t period = clocks;
      const int next = StepsUntilIrq(700);
      EXPECT_GE(next, static_cast<int>(period / 114) - 1);
      EXPECT_LE(next, static_cast<int>(period / 114) + 2);
    }
  }
}

}  // namespace
}  // namespace wrenfold
