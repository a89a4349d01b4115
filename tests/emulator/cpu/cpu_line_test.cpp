// Behaviour of a whole scanline call that both cores share: the idle-loop skip, free
// no-operations, registers handed over between calls, the bad-opcode path, and the cartridge
// IRQ line where the I flag clears.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/cpu/cpu_step.h"
#include "tests/emulator/cpu/cpu_test_support.h"

namespace wrenfold::test {
namespace {

constexpr uint8_t kLdaAbsolute = 0xAD;
constexpr uint8_t kBpl = 0x10;
constexpr uint8_t kBeq = 0xF0;
constexpr uint8_t kNop = 0xEA;

class CpuLineTest : public ::testing::TestWithParam<CpuCoreKind> {
 protected:
  void Run() { RunCpuLine(*machine, GetParam()); }

  std::unique_ptr<MachineState> machine = MakeMachine();
  ScopedLogFile logFile;
};

TEST_P(CpuLineTest, VblankPollLoopEndsTheLineAfterTheBranch) {
  LoadProgram(*machine, {kLdaAbsolute, 0x02, 0x20, kBpl, 0xFB});
  TraceCollector trace;
  Run();
  EXPECT_EQ(trace.lines().size(), 2u);  // LDA $2002, BPL: then the line is given up
  EXPECT_EQ(machine->cpu.PC, 0x8000);
  EXPECT_EQ(machine->haltRequested, 0);
}

TEST_P(CpuLineTest, PollLoopWithVblankSetFallsThrough) {
  LoadProgram(*machine, {kLdaAbsolute, 0x02, 0x20, kBpl, 0xFB, 0x4C, 0x05, 0x80});
  machine->cpuMem[0x2002] = 0x80;
  TraceCollector trace;
  Run();
  ASSERT_GE(trace.lines().size(), 3u);
  EXPECT_EQ(trace.lines()[2].substr(0, 4), "8005");
  EXPECT_EQ(machine->cpu.A, 0x80);
  EXPECT_EQ(machine->cpuMem[0x2002], 0x00);  // the read cleared the vblank bit
}

TEST_P(CpuLineTest, BackwardBplOverOtherLoadSpinsTheWholeLine) {
  LoadProgram(*machine, {kLdaAbsolute, 0x03, 0x20, kBpl, 0xFB});
  TraceCollector trace;
  Run();
  EXPECT_EQ(trace.lines().size(), 38u);  // 19 rounds of 4 + 2 cycles
}

TEST_P(CpuLineTest, OnlyBplSkipsTheLine) {
  LoadProgram(*machine, {kLdaAbsolute, 0x02, 0x20, kBeq, 0xFB});
  TraceCollector trace;
  Run();
  EXPECT_EQ(trace.lines().size(), 38u);
}

TEST_P(CpuLineTest, OneByteNopsRunWithoutSpendingBudget) {
  std::vector<uint8_t> program(300, 0x04);
  program.insert(program.end(), 57, kNop);
  program.insert(program.end(), 8, kNop);
  LoadProgram(*machine, program);
  Run();
  EXPECT_EQ(machine->cpu.PC, 0x8000 + 300 + 57);
}

TEST_P(CpuLineTest, RegistersWrittenBetweenCallsAreUsed) {
  // STA $0300 / STX $0301 / STY $0302 / JMP $8000
  LoadProgram(*machine, {0x8D, 0x00, 0x03, 0x8E, 0x01, 0x03, 0x8C, 0x02, 0x03, 0x4C, 0x00, 0x80});
  Run();
  machine->cpu.A = 0x11;
  machine->cpu.X = 0x22;
  machine->cpu.Y = 0x33;
  Run();
  EXPECT_EQ(machine->cpuMem[0x0300], 0x11);
  EXPECT_EQ(machine->cpuMem[0x0301], 0x22);
  EXPECT_EQ(machine->cpuMem[0x0302], 0x33);
}

TEST_P(CpuLineTest, BadOpcodeLogsFiveEntriesAndHalts) {
  // LDA #$55, LDX #$66, LDY #$77, then $FF.
  LoadProgram(*machine, {0xA9, 0x55, 0xA2, 0x66, 0xA0, 0x77, 0xFF, kNop});
  machine->cpu.A = 0x01;
  machine->cpu.X = 0x02;
  machine->cpu.Y = 0x03;
  machine->frameCounter = 1234;
  Poke(*machine, 0xFFFA, {0x34, 0x12, 0x00, 0x80, 0x78, 0x56});
  TraceCollector trace;
  Run();

  EXPECT_EQ(logFile.Contents(),
            "Bad opcode:255\nAt:32774\nFrame:1234\nNMI vector:4660\nIRQ vector:22136\n");
  EXPECT_EQ(machine->haltRequested, 1);
  EXPECT_EQ(machine->cpu.PC, 0x8007);  // after the bad byte
  // The call returns at once without storing A, X and Y.
  EXPECT_EQ(trace.lines().size(), 4u);
  EXPECT_EQ(machine->cpu.A, 0x01);
  EXPECT_EQ(machine->cpu.X, 0x02);
  EXPECT_EQ(machine->cpu.Y, 0x03);
}

TEST_P(CpuLineTest, EachCallAfterABadOpcodeStartsPastIt) {
  LoadProgram(*machine, {0xFF, 0x02, 0x4C, 0x00, 0x80});
  Run();
  const uint16_t resumeAt = machine->cpu.PC;
  Run();
  EXPECT_EQ(resumeAt, 0x8001);
  // The reference core skips $02 and loops back to $FF; the second core halts on $02 itself.
  const std::string log = logFile.Contents();
  const std::string secondAt = GetParam() == CpuCoreKind::Reference ? "At:32768\n" : "At:32769\n";
  EXPECT_NE(log.find(secondAt, log.find("At:") + 1), std::string::npos) << log;
}

// A raised cartridge line is taken one instruction after CLI or PLP clears I (the 6502 samples
// it before the flag changes) and at once after RTI; it pushes P with B clear.
TEST_P(CpuLineTest, ARaisedCartridgeIrqIsTakenWhereTheIFlagClears) {
  struct Case {
    const char* name;
    std::vector<uint8_t> program;
    uint16_t returnAddress;  // the PC the IRQ entry pushes
  };
  const Case cases[] = {
      {"CLI", {0x58, kNop, kNop}, 0x8002},
      {"PLP", {0x28, kNop, kNop}, 0x8002},  // pulls $20 from $01FF
      {"RTI", {0x40}, 0x9000},              // pulls P $20, then $9000
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    machine = MakeMachine();
    LoadProgram(*machine, c.program);
    Poke(*machine, 0xFFFE, {0x00, 0xA0});
    Poke(*machine, 0x01FD, {0x20, 0x00, 0x90});
    machine->cpu.S = c.program[0] == 0x28 ? 0xFE : 0xFC;
    if (c.program[0] == 0x28) machine->cpuMem[0x01FF] = 0x20;
    machine->cpu.P = 0x34;  // I and B set
    machine->irq.irqLine = 1;
    StepCpuInstruction(*machine, GetParam(), 114);
    EXPECT_EQ(machine->cpu.PC, 0xA000);
    const uint8_t s = machine->cpu.S;
    EXPECT_EQ(machine->cpuMem[0x0100 + ((s + 1) & 0xFF)] & (kFlagB | kFlagI), 0);
    EXPECT_EQ(machine->cpuMem[0x0100 + ((s + 2) & 0xFF)], c.returnAddress & 0xFF);
    EXPECT_EQ(machine->cpuMem[0x0100 + ((s + 3) & 0xFF)], c.returnAddress >> 8);
    EXPECT_EQ(machine->cpu.P & kFlagI, kFlagI);
  }
  // With the line down, CLI just clears I.
  machine = MakeMachine();
  LoadProgram(*machine, {0x58, kNop});
  machine->cpu.P = 0x24;
  StepCpuInstruction(*machine, GetParam(), 114);
  EXPECT_EQ(machine->cpu.PC, 0x8001);
}

INSTANTIATE_TEST_SUITE_P(BothCores, CpuLineTest,
                         ::testing::Values(CpuCoreKind::Reference, CpuCoreKind::Second),
                         [](const ::testing::TestParamInfo<CpuCoreKind>& info) {
                           return std::string(CoreName(info.param));
                         });

}  // namespace
}  // namespace wrenfold::test
