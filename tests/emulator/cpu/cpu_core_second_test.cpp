// What only the second core does: cycles carried between calls, flags packed without bit 5,
// BRK ignored while I is set, and its own set of extra opcodes.
#include <gtest/gtest.h>

#include <string>

#include "emulator/cpu/cpu_step.h"
#include "tests/emulator/cpu/cpu_test_support.h"

namespace wrenfold::test {
namespace {

constexpr CpuCoreKind kCore = CpuCoreKind::Second;
constexpr uint8_t kNop = 0xEA;

class SecondCoreTest : public ::testing::Test {
 protected:
  CpuStepResult Step() { return StepCpuInstruction(*machine, kCore, kCyclesPerLine); }
  int Cycles(const CpuStepResult& result) const { return kCyclesPerLine - result.budgetLeft; }

  std::unique_ptr<MachineState> machine = MakeMachine();
  ScopedLogFile logFile;
};

TEST_F(SecondCoreTest, OvershootShortensTheNextCall) {
  // 113 cycles, then a 7-cycle ASL abs,X started with 1 cycle left, then NOPs.
  std::vector<uint8_t> program = {0xA5, 0x10};
  program.insert(program.end(), 55, kNop);
  program.insert(program.end(), {0x1E, 0x00, 0x03});
  program.insert(program.end(), 200, kNop);
  LoadProgram(*machine, program);

  RunCpuLineSecond(*machine);
  const uint16_t afterShift = 0x8000 + 2 + 55 + 3;
  EXPECT_EQ(machine->cpu.PC, afterShift);
  EXPECT_EQ(machine->cycleCarry, -6);

  RunCpuLineSecond(*machine);
  EXPECT_EQ(machine->cpu.PC, afterShift + 54);  // a budget of 108
  EXPECT_EQ(machine->cycleCarry, 0);
}

TEST_F(SecondCoreTest, IdleSkipLeavesABudgetOf113) {
  LoadProgram(*machine, {0xAD, 0x02, 0x20, 0x10, 0xFB});
  Poke(*machine, 0x9000, std::vector<uint8_t>(100, kNop));
  RunCpuLineSecond(*machine);
  EXPECT_EQ(machine->cycleCarry, -1);

  machine->cpu.PC = 0x9000;
  RunCpuLineSecond(*machine);
  EXPECT_EQ(machine->cpu.PC, 0x9000 + 57);
  EXPECT_EQ(machine->cycleCarry, -1);  // 113 - 57 x 2
}

TEST_F(SecondCoreTest, BrkWithInterruptsDisabledOnlyCostsSevenCycles) {
  LoadProgram(*machine, {0x00, kNop});
  Poke(*machine, 0xFFFE, {0x00, 0x90});
  machine->cpu.P = kFlagI;
  machine->cpu.S = 0xFD;
  const CpuStepResult result = Step();
  EXPECT_EQ(Cycles(result), 7);
  EXPECT_EQ(machine->cpu.PC, 0x8001);
  EXPECT_EQ(machine->cpu.S, 0xFD);
  EXPECT_EQ(machine->cpuMem[0x01FD], 0x00);
  EXPECT_EQ(machine->cpu.P, kFlagI);
}

TEST_F(SecondCoreTest, BrkPushesFlagsWithoutBitFive) {
  LoadProgram(*machine, {0x00}, 0xC000);
  Poke(*machine, 0xFFFE, {0x00, 0x90});
  machine->cpu.P = kFlagBit5 | kFlagC;
  machine->cpu.S = 0xFD;
  EXPECT_EQ(Cycles(Step()), 7);
  EXPECT_EQ(machine->cpuMem[0x01FD], 0xC0);
  EXPECT_EQ(machine->cpuMem[0x01FC], 0x01);
  EXPECT_EQ(machine->cpuMem[0x01FB], kFlagB | kFlagC);
  EXPECT_EQ(machine->cpu.P, kFlagB | kFlagI | kFlagC);
  EXPECT_EQ(machine->cpu.PC, 0x9000);
}

TEST_F(SecondCoreTest, CallClearsBitFiveOfP) {
  LoadProgram(*machine, std::vector<uint8_t>(100, kNop));
  machine->cpu.P = 0x20;  // as power-on leaves it
  RunCpuLineSecond(*machine);
  EXPECT_EQ(machine->cpu.P, 0x00);
}

TEST_F(SecondCoreTest, PhpPushesPackedFlagsAndPlpDropsBitFive) {
  LoadProgram(*machine, {0x08, 0x28});
  machine->cpu.P = kFlagBit5 | kFlagB | kFlagN;
  machine->cpu.S = 0xFD;
  Step();
  EXPECT_EQ(machine->cpuMem[0x01FD], kFlagB | kFlagN);
  machine->cpuMem[0x01FD] = 0xFF;
  Step();
  EXPECT_EQ(machine->cpu.P, 0xDF);
}

TEST_F(SecondCoreTest, OpcodeFAPullsX) {
  LoadProgram(*machine, {0xFA});
  machine->cpu.S = 0xFC;
  machine->cpuMem[0x01FD] = 0x80;
  const CpuStepResult result = Step();
  EXPECT_FALSE(result.badOpcode);
  EXPECT_EQ(Cycles(result), 4);
  EXPECT_EQ(machine->cpu.X, 0x80);
  EXPECT_EQ(machine->cpu.S, 0xFD);
  EXPECT_EQ(machine->cpu.P, kFlagN);
}

TEST_F(SecondCoreTest, Opcode80Halts) {
  LoadProgram(*machine, {0x80, 0x10});
  EXPECT_TRUE(Step().badOpcode);
  EXPECT_EQ(machine->haltRequested, 1);
  EXPECT_EQ(machine->cpu.PC, 0x8001);
  EXPECT_NE(logFile.Contents().find("Bad opcode:128\n"), std::string::npos);
}

TEST_F(SecondCoreTest, BadOpcodeStoresNeitherFlagsNorCarry) {
  // SEC, PHA, then $FF.
  LoadProgram(*machine, {0x38, 0x48, 0xFF});
  machine->cpu.P = kFlagBit5;
  machine->cpu.S = 0xFD;
  machine->cycleCarry = -3;
  RunCpuLineSecond(*machine);
  EXPECT_EQ(machine->cpu.P, kFlagBit5);
  EXPECT_EQ(machine->cycleCarry, -3);
  EXPECT_EQ(machine->cpu.S, 0xFC);  // the stack pointer lives in the record
  EXPECT_EQ(machine->cpu.PC, 0x8003);
}

}  // namespace
}  // namespace wrenfold::test
