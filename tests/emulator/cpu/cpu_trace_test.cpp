// The instruction trace: its line layout, its operand texts, and that tracing changes nothing
// in the machine.
#include "emulator/cpu/cpu_trace.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "emulator/cpu/cpu_step.h"
#include "tests/emulator/cpu/cpu_test_support.h"

namespace wrenfold::test {
namespace {

std::string FormatAt(const MachineState& machine, CpuCoreKind core,
                     const CpuTraceRegisters& registers) {
  char line[kCpuTraceLineCapacity];
  const std::size_t length = FormatCpuTraceLine(machine, core, registers, line);
  return std::string(line, length);
}

TEST(CpuTraceTest, LineHasTheLogLayout) {
  auto machine = MakeMachine();
  Poke(*machine, 0xC000, {0x4C, 0xF5, 0xC5});
  EXPECT_EQ(FormatAt(*machine, CpuCoreKind::Reference, {0xC000, 0x00, 0x00, 0x00, 0x24, 0xFD}),
            "C000  4C F5 C5  JMP $C5F5                       A:00 X:00 Y:00 P:24 SP:FD");
  Poke(*machine, 0xC000, {0xEA});
  EXPECT_EQ(FormatAt(*machine, CpuCoreKind::Second, {0xC000, 0x12, 0x34, 0x56, 0x81, 0x00}),
            "C000  EA        NOP                             A:12 X:34 Y:56 P:81 SP:00");
}

struct DisassemblyCase {
  std::vector<uint8_t> bytes;
  CpuCoreKind core;
  const char* text;  // columns 6 to the end of the disassembly
};

void PrintTo(const DisassemblyCase& c, std::ostream* out) {
  *out << c.text;
}

class TraceDisassemblyTest : public ::testing::TestWithParam<DisassemblyCase> {};

TEST_P(TraceDisassemblyTest, ShowsBytesAndOperand) {
  const DisassemblyCase& c = GetParam();
  auto machine = MakeMachine();
  Poke(*machine, 0x8000, c.bytes);
  const std::string line = FormatAt(*machine, c.core, {0x8000, 0, 0, 0, 0, 0xFD});
  ASSERT_GE(line.size(), 48u);
  std::string shown = line.substr(6, 42);
  shown.erase(shown.find_last_not_of(' ') + 1);
  EXPECT_EQ(shown, c.text);
}

constexpr CpuCoreKind kRef = CpuCoreKind::Reference;
constexpr CpuCoreKind kSecond = CpuCoreKind::Second;

INSTANTIATE_TEST_SUITE_P(
    Modes, TraceDisassemblyTest,
    ::testing::Values(DisassemblyCase{{0xA9, 0x05}, kRef, "A9 05     LDA #$05"},
                      DisassemblyCase{{0xB6, 0xF0}, kRef, "B6 F0     LDX $F0,Y"},
                      DisassemblyCase{{0x95, 0x10}, kRef, "95 10     STA $10,X"},
                      DisassemblyCase{{0x1E, 0x00, 0x03}, kRef, "1E 00 03  ASL $0300,X"},
                      DisassemblyCase{{0xB9, 0x00, 0x03}, kRef, "B9 00 03  LDA $0300,Y"},
                      DisassemblyCase{{0x6C, 0xFF, 0x02}, kRef, "6C FF 02  JMP ($02FF)"},
                      DisassemblyCase{{0xA1, 0x80}, kRef, "A1 80     LDA ($80,X)"},
                      DisassemblyCase{{0x91, 0x33}, kRef, "91 33     STA ($33),Y"},
                      DisassemblyCase{{0x4A}, kRef, "4A        LSR A"},
                      DisassemblyCase{{0x10, 0xFB}, kRef, "10 FB     BPL $7FFD"},
                      DisassemblyCase{{0xD0, 0x04}, kRef, "D0 04     BNE $8006"},
                      DisassemblyCase{{0xB2, 0x20}, kRef, "B2 20    *LDA ($20)"},
                      DisassemblyCase{{0x04, 0x20}, kSecond, "04       *NOP"},
                      DisassemblyCase{{0x80, 0x02}, kRef, "80 02    *BRA $8004"},
                      DisassemblyCase{{0x80, 0x02}, kSecond, "80       *???"},
                      DisassemblyCase{{0xFA}, kRef, "FA       *???"},
                      DisassemblyCase{{0xFA}, kSecond, "FA       *PLX"}));

TEST(CpuTraceTest, InstructionBytesArePeekedWithoutSideEffects) {
  auto machine = MakeMachine();
  // A NOP at $2001 makes the trace look at $2002 and $2003; one at $4014 at the pad ports.
  machine->cpuMem[0x2001] = 0xEA;
  machine->cpuMem[0x2002] = 0x80;
  machine->cpuMem[0x4015] = 0xEA;
  machine->padReadIndex[0] = 3;
  TraceCollector trace;

  machine->cpu.PC = 0x2001;
  StepCpuInstruction(*machine, CpuCoreKind::Reference, kCyclesPerLine);
  machine->cpu.PC = 0x4015;
  StepCpuInstruction(*machine, CpuCoreKind::Reference, kCyclesPerLine);

  ASSERT_EQ(trace.lines().size(), 2u);
  EXPECT_EQ(machine->cpuMem[0x2002], 0x80);  // a bus read would have cleared vblank
  EXPECT_EQ(machine->ppu.writeToggle, 0);
  EXPECT_EQ(machine->padReadIndex[0], 3);
}

TEST(CpuTraceTest, TracedAndUntracedRunsLeaveTheSameMachine) {
  // A loop that exercises the stack, zero page, the bus and the flags.
  const std::vector<uint8_t> program = {
      0xA2, 0x10,        // LDX #$10
      0x8A,              // TXA
      0x48,              // PHA
      0x08,              // PHP
      0x69, 0x37,        // ADC #$37
      0x95, 0x40,        // STA $40,X
      0x9D, 0x00, 0x03,  // STA $0300,X
      0x28,              // PLP
      0x68,              // PLA
      0xCA,              // DEX
      0xD0, 0xF1,        // BNE $8002
      0x4C, 0x00, 0x80,  // JMP $8000
  };
  for (const CpuCoreKind core : {CpuCoreKind::Reference, CpuCoreKind::Second, CpuCoreKind::Full}) {
    auto untraced = MakeMachine();
    auto traced = MakeMachine();
    LoadProgram(*untraced, program);
    LoadProgram(*traced, program);
    for (int line = 0; line < 20; ++line) {
      RunCpuLine(*untraced, core);
    }
    {
      TraceCollector trace;
      for (int line = 0; line < 20; ++line) {
        RunCpuLine(*traced, core);
      }
      EXPECT_GT(trace.lines().size(), 400u);
    }
    EXPECT_EQ(std::memcmp(untraced.get(), traced.get(), sizeof(MachineState)), 0) << CoreName(core);
  }
}

TEST(CpuTraceTest, LinesShowRegistersBeforeEachInstruction) {
  auto machine = MakeMachine();
  LoadProgram(*machine, {0xA9, 0x42, 0xAA, 0x00});  // LDA #$42, TAX, BRK
  machine->cpu.S = 0xFD;
  machine->cpu.P = 0x24 | kFlagI;
  TraceCollector trace;
  for (int i = 0; i < 3; ++i) {
    StepCpuInstruction(*machine, CpuCoreKind::Second, kCyclesPerLine);
  }
  ASSERT_EQ(trace.lines().size(), 3u);
  // The second core has no bit 5, so $24 shows as $04.
  EXPECT_EQ(trace.lines()[0].substr(48), "A:00 X:00 Y:00 P:04 SP:FD");
  EXPECT_EQ(trace.lines()[1].substr(48), "A:42 X:00 Y:00 P:04 SP:FD");
  EXPECT_EQ(trace.lines()[2].substr(48), "A:42 X:42 Y:00 P:04 SP:FD");
}

}  // namespace
}  // namespace wrenfold::test
