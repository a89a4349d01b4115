// The IRQ counters that count CPU cycles (or lines) on the boards outside the Konami family:
// when each fires for a given count and IRQADJ, how it is acknowledged, and that every board's
// line step takes a raised IRQ line into the CPU.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/cart/board_table.h"
#include "emulator/cpu/interrupts.h"
#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::MapperTest;

// Programs the counter with `count` and starts it.
using ArmCounter = void (*)(MachineState& machine, uint32_t count);
// The line step, counting from 1, at which the IRQ rises for `count` at `cycles` a line.
using ExpectedStep = int (*)(uint32_t count, int cycles);

struct CounterCase {
  const char* name;
  uint8_t mapper;
  uint32_t largestCount;
  ArmCounter arm;
  ExpectedStep expected;
};

void Write(MachineState& machine, uint16_t address, uint32_t value) {
  WriteBus(machine, address, static_cast<uint8_t>(value));
}

int StepsToReach(uint32_t clocks, int cycles) {
  return clocks == 0 ? 1 : static_cast<int>((clocks + cycles - 1) / cycles);
}

// Counters that count down and fire on reaching zero.
int DownToZero(uint32_t count, int cycles) {
  return StepsToReach(count, cycles);
}
// The FME-7 fires as it passes from 0 to $FFFF, one cycle later.
int DownPastZero(uint32_t count, int cycles) {
  return static_cast<int>(count / cycles) + 1;
}
int UpPastFfff(uint32_t count, int cycles) {
  return static_cast<int>((0xFFFF - count) / cycles) + 1;
}
int UpTo7fff(uint32_t count, int cycles) {
  return StepsToReach(0x7FFF - count, cycles);
}
// The RAMBO-1's cycle mode clocks every fourth cycle: one clock reloads, `count` more reach 0.
int EveryFourthCycle(uint32_t count, int cycles) {
  return StepsToReach(4 * (count + 1), cycles);
}
// J.Y. Company, counting down behind the 8-bit prescaler: low byte prescaler, high byte counter.
int DownThroughPrescaler(uint32_t count, int cycles) {
  return StepsToReach((count & 0xFF) + 1 + 256 * (count >> 8), cycles);
}

const CounterCase kCounters[] = {
    {"Bandai", 16, 0xFFFF,
     [](MachineState& t, uint32_t n) {
       Write(t, 0x800B, n & 0xFF);
       Write(t, 0x600C, static_cast<uint8_t>(n >> 8));  // the same file at $6000
       Write(t, 0x800A, 1);
     },
     DownToZero},
    {"Jaleco", 18, 0xFFFF,
     [](MachineState& t, uint32_t n) {
       for (uint16_t nibble = 0; nibble < 4; ++nibble) {
         Write(t, static_cast<uint16_t>(0xE000 + nibble), (n >> (4 * nibble)) & 0x0F);
       }
       Write(t, 0xF000, 0);
       Write(t, 0xF001, 1);
     },
     DownToZero},
    {"IremH3001", 65, 0xFFFF,
     [](MachineState& t, uint32_t n) {
       Write(t, 0x9005, static_cast<uint8_t>(n >> 8));
       Write(t, 0x9006, n & 0xFF);
       Write(t, 0x9004, 0);
       Write(t, 0x9003, 0x80);
     },
     DownToZero},
    {"Fme7", 69, 0xFFFF,
     [](MachineState& t, uint32_t n) {
       Write(t, 0x8000, 0x0E);
       Write(t, 0xA000, n & 0xFF);
       Write(t, 0x8000, 0x0F);
       Write(t, 0xA000, static_cast<uint8_t>(n >> 8));
       Write(t, 0x8000, 0x0D);
       Write(t, 0xA000, 0x81);
     },
     DownPastZero},
    {"Ffe6", 6, 0xFFFF,
     [](MachineState& t, uint32_t n) {
       Write(t, 0x4502, n & 0xFF);
       Write(t, 0x4503, static_cast<uint8_t>(n >> 8));
     },
     UpPastFfff},
    {"Ffe17", 17, 0xFFFF,
     [](MachineState& t, uint32_t n) {
       Write(t, 0x4502, n & 0xFF);
       Write(t, 0x4503, static_cast<uint8_t>(n >> 8));
     },
     UpPastFfff},
    {"Namco163", 19, 0x7FFE,
     [](MachineState& t, uint32_t n) {
       Write(t, 0x5000, n & 0xFF);
       Write(t, 0x5800, static_cast<uint8_t>(0x80 | (n >> 8)));
     },
     UpTo7fff},
    {"JyCpuCycles", 90, 0x3FFF,
     [](MachineState& t, uint32_t n) {
       Write(t, 0xC001, 0x80);  // CPU cycles, 8-bit prescaler, counting down
       Write(t, 0xC006, 0x5A);  // XORed into the next two writes
       Write(t, 0xC004, (n & 0xFF) ^ 0x5A);
       Write(t, 0xC005, static_cast<uint8_t>((n >> 8) ^ 0x5A));
       Write(t, 0xC003, 0);
     },
     DownThroughPrescaler},
    {"Rambo1CycleMode", 64, 0xFF,
     [](MachineState& t, uint32_t n) {
       Write(t, 0xC000, n);
       Write(t, 0xC001, 1);
       Write(t, 0xE001, 0);
     },
     EveryFourthCycle},
};

class CycleCounterTest : public MapperTest, public ::testing::WithParamInterface<CounterCase> {};

// For counts across the counter's range and several IRQADJ values, the IRQ rises on the line
// whose cycles take the counter past its end, and not before.
TEST_P(CycleCounterTest, FiresOnTheLineTheCountRunsOut) {
  const CounterCase& c = GetParam();
  UseBoard(c.mapper, 2, 1);
  for (uint32_t count = 0; count <= c.largestCount; count += c.largestCount / 97) {
    for (const int adjust : {-14, 0, 9}) {
      if (count == 0 && c.mapper == 64) continue;  // a zero latch fires on every clock
      SCOPED_TRACE(testing::Message() << "count " << count << " adjust " << adjust);
      Machine().irqAdjust = static_cast<int16_t>(adjust);
      c.arm(Machine(), count);
      const int expected = c.expected(count, 114 + adjust);
      ASSERT_EQ(StepsUntilIrq(expected + 3), expected);
      Machine().irq.irqLine = 0;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Boards, CycleCounterTest, ::testing::ValuesIn(kCounters),
                         [](const ::testing::TestParamInfo<CounterCase>& info) {
                           return std::string(info.param.name);
                         });

// Writes that acknowledge, by board: after each the line is down; the other listed writes leave
// a raised line up.
struct AcknowledgeCase {
  const char* name;
  uint8_t mapper;
  std::vector<std::pair<uint16_t, uint8_t>> before;  // selects a command where the board has one
  uint16_t address;
  uint8_t value;
  bool acknowledges;
};

class AcknowledgeTest : public MapperTest, public ::testing::WithParamInterface<AcknowledgeCase> {};

TEST_P(AcknowledgeTest, WriteLowersTheLineOrLeavesIt) {
  const AcknowledgeCase& c = GetParam();
  UseBoard(c.mapper, 2, 1);
  for (const auto& [address, value] : c.before) Write(address, value);
  Machine().irq.irqLine = 1;
  Write(c.address, c.value);
  EXPECT_EQ(Machine().irq.irqLine, c.acknowledges ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, AcknowledgeTest,
    ::testing::Values(
        // The FME-7 acknowledges when the IRQ enable is cleared, as the board does.
        AcknowledgeCase{"Fme7Write00", 69, {{0x8000, 0x0D}}, 0xA000, 0x00, true},
        AcknowledgeCase{"Fme7Write80", 69, {{0x8000, 0x0D}}, 0xA000, 0x80, true},
        AcknowledgeCase{"Fme7Write81", 69, {{0x8000, 0x0D}}, 0xA000, 0x81, false},
        AcknowledgeCase{"Fme7CounterLow", 69, {{0x8000, 0x0E}}, 0xA000, 0xFF, false},
        AcknowledgeCase{"BandaiControl", 16, {}, 0x800A, 0x01, true},
        AcknowledgeCase{"BandaiLatch", 16, {}, 0x800B, 0x01, false},
        AcknowledgeCase{"JalecoReload", 18, {}, 0xF000, 0x00, true},
        AcknowledgeCase{"JalecoControl", 18, {}, 0xF001, 0x01, true},
        AcknowledgeCase{"JalecoReloadValue", 18, {}, 0xE000, 0x01, false},
        AcknowledgeCase{"Namco163Low", 19, {}, 0x5000, 0x00, true},
        AcknowledgeCase{"Namco163High", 19, {}, 0x5FFF, 0x80, true},
        AcknowledgeCase{"H3001Reload", 65, {}, 0x9004, 0x00, true},
        AcknowledgeCase{"H3001Latch", 65, {}, 0x9006, 0x00, false},
        AcknowledgeCase{"Ffe17Disable", 17, {}, 0x4501, 0x00, true},
        AcknowledgeCase{"Tc0690Disable", 48, {}, 0xC003, 0x00, true},
        AcknowledgeCase{"Tc0690Enable", 48, {}, 0xC002, 0x00, false},
        AcknowledgeCase{"JyDisable", 90, {}, 0xC002, 0x00, true},
        AcknowledgeCase{"JyEnable", 90, {}, 0xC003, 0x00, false},
        AcknowledgeCase{"Vrc3Acknowledge", 73, {}, 0xD000, 0x00, true}),
    [](const ::testing::TestParamInfo<AcknowledgeCase>& info) {
      return std::string(info.param.name);
    });

// The SS88006's control narrows the counter to 4, 8 or 12 bits; the upper bits stay.
TEST_F(MapperTest, JalecoNarrowCountersWrapWithinTheirBits) {
  UseBoard(18, 2, 1);
  for (const auto& [control, mask] :
       std::vector<std::pair<uint8_t, uint32_t>>{{0x09, 0xF}, {0x05, 0xFF}, {0x03, 0xFFF}}) {
    for (uint16_t nibble = 0; nibble < 4; ++nibble)
      Write(static_cast<uint16_t>(0xE000 + nibble), 0x0A);  // $AAAA
    Write(0xF000, 0);
    Write(0xF001, control);
    EXPECT_EQ(StepsUntilIrq(40), StepsToReach(0xAAAA & mask, 114)) << int{control};
    EXPECT_EQ(Machine().irq.cycleIrqCounter & ~mask, 0xAAAAu & ~mask);
    Machine().irq.irqLine = 0;
  }
}

// The TC0690 and the RAMBO-1 in line mode count with the MMC3's counter: a line's A12 rise
// (background and sprites in different pattern tables, rendering on) is counted two lines
// later, the first clock after a reload request loads the latch, each further one counts down,
// and reaching zero fires. The TC0690 takes the complement of the value written, plus one.
TEST_F(MapperTest, LineCountersCountLikeTheMmc3) {
  for (const uint8_t mapper : {48, 64}) {
    machine_ = std::make_unique<MachineState>();
    UseBoard(mapper, 2, 1);
    Machine().cpuMem[0x2000] = 0x08;  // sprites from $1000
    const uint16_t enable = mapper == 48 ? 0xC002 : 0xE001;
    const uint16_t disable = mapper == 48 ? 0xC003 : 0xE000;
    for (int latch = 1; latch <= 0xC0; latch += 11) {
      Write(0xC000, static_cast<uint8_t>(mapper == 48 ? 0x100 - latch : latch));
      Write(0xC001, 0);
      Write(enable, 0);
      line_ = 0;
      EXPECT_EQ(StepsUntilIrq(240), latch + 2) << int{mapper} << " latch " << latch;
      Write(disable, 0);
    }
    // Lines drawn with rendering off, lines past the picture and both tables alike do not count.
    Write(0xC000, mapper == 48 ? 0xFE : 2);
    Write(0xC001, 0);
    Write(enable, 0);
    const BoardLineStep step = BoardFor(mapper).lineStep;
    for (uint16_t line = 1; line < 10; ++line) step(Machine(), line, false);
    for (uint16_t line = 242; line < 262; ++line) step(Machine(), line, true);
    Machine().cpuMem[0x2000] = 0x00;
    for (uint16_t line = 1; line < 10; ++line) step(Machine(), line, true);
    EXPECT_EQ(Machine().irq.irqLine, 0);
    Machine().cpuMem[0x2000] = 0x08;
    line_ = 1;
    EXPECT_EQ(StepsUntilIrq(10), 3) << int{mapper};
  }
}

// The boards whose counters hold the IRQ line up until acknowledged: those that keep the line
// in their saved state.
std::vector<int> BoardsHoldingTheIrqLine() {
  constexpr StateSpan kLine = WRENFOLD_STATE_SPAN(irq.irqLine);
  std::vector<int> boards;
  for (int mapper = 0; mapper < 256; ++mapper) {
    const BoardDescription& board = BoardFor(static_cast<uint8_t>(mapper));
    if (board.name == nullptr || board.lineStep == nullptr) continue;
    for (const StateSpan& span : board.savedState) {
      if (span.offset == kLine.offset) boards.push_back(mapper);
    }
  }
  return boards;
}

class IrqDeliveryTest : public MapperTest, public ::testing::WithParamInterface<int> {};

// A raised line enters the CPU at the next line step when I is clear, pushing P with B clear,
// and waits while I is set.
TEST_P(IrqDeliveryTest, LineStepTakesARaisedLineWhenIAllows) {
  UseBoard(static_cast<uint8_t>(GetParam()), 2, 1);
  const BoardLineStep step = BoardFor(static_cast<uint8_t>(GetParam())).lineStep;
  MachineState& m = Machine();
  m.cpuMem[0xFFFE] = 0x34;
  m.cpuMem[0xFFFF] = 0x92;
  m.cpu.PC = 0x8123;
  m.cpu.S = 0xFD;
  m.cpu.P = kFlagI | kFlagB | kFlagC;
  m.irq.irqLine = 1;
  step(m, 100, true);
  EXPECT_EQ(m.cpu.PC, 0x8123);
  m.cpu.P = kFlagB | kFlagC;
  step(m, 101, true);
  EXPECT_EQ(m.cpu.PC, 0x9234);
  EXPECT_NE(m.cpu.P & kFlagI, 0);
  EXPECT_EQ(m.cpuMem[0x01FB] & (kFlagB | kFlagC), kFlagC);
}

INSTANTIATE_TEST_SUITE_P(Boards, IrqDeliveryTest, ::testing::ValuesIn(BoardsHoldingTheIrqLine()),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Mapper" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace wrenfold
