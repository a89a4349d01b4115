// What only the reference core does: packed flags kept as they are, a fresh budget on every
// call, BRK regardless of I, and its own extra opcodes.
#include <gtest/gtest.h>

#include <string>

#include "emulator/cpu/cpu_step.h"
#include "tests/emulator/cpu/cpu_test_support.h"

namespace wrenfold::test {
namespace {

constexpr CpuCoreKind kCore = CpuCoreKind::Reference;
constexpr uint8_t kNop = 0xEA;

class ReferenceCoreTest : public ::testing::Test {
 protected:
  CpuStepResult Step() { return StepCpuInstruction(*machine, kCore, kCyclesPerLine); }
  int Cycles(const CpuStepResult& result) const { return kCyclesPerLine - result.budgetLeft; }

  std::unique_ptr<MachineState> machine = MakeMachine();
  ScopedLogFile logFile;
};

// 113 cycles, then a 7-cycle ASL abs,X started with 1 cycle left, then NOPs.
std::vector<uint8_t> OvershootProgram() {
  std::vector<uint8_t> program = {0xA5, 0x10};  // LDA $10: 3 cycles
  program.insert(program.end(), 55, kNop);
  program.insert(program.end(), {0x1E, 0x00, 0x03});
  program.insert(program.end(), 200, kNop);
  return program;
}

TEST_F(ReferenceCoreTest, OvershootIsForgottenAtTheNextCall) {
  LoadProgram(*machine, OvershootProgram());
  RunCpuLineReference(*machine);
  const uint16_t afterShift = 0x8000 + 2 + 55 + 3;
  EXPECT_EQ(machine->cpu.PC, afterShift);  // the last instruction ran whole
  RunCpuLineReference(*machine);
  EXPECT_EQ(machine->cpu.PC, afterShift + 57);  // a full 114 cycles of NOPs
  EXPECT_EQ(machine->cycleCarry, 0);
}

TEST_F(ReferenceCoreTest, BrkAndRtiRoundTrip) {
  LoadProgram(*machine, {0x00, kNop}, 0xC000);
  Poke(*machine, 0xFFFE, {0x00, 0x90});
  Poke(*machine, 0x9000, {0x40});  // RTI
  machine->cpu.P = kFlagBit5 | kFlagC;
  machine->cpu.S = 0xFD;

  const CpuStepResult brk = Step();
  EXPECT_EQ(Cycles(brk), 7);
  EXPECT_EQ(machine->cpuMem[0x01FD], 0xC0);
  EXPECT_EQ(machine->cpuMem[0x01FC], 0x01);  // the byte after the BRK opcode
  EXPECT_EQ(machine->cpuMem[0x01FB], kFlagBit5 | kFlagB | kFlagC);
  EXPECT_EQ(machine->cpu.P, kFlagBit5 | kFlagB | kFlagI | kFlagC);
  EXPECT_EQ(machine->cpu.PC, 0x9000);

  Step();
  EXPECT_EQ(machine->cpu.PC, 0xC001);
  EXPECT_EQ(machine->cpu.S, 0xFD);
  EXPECT_EQ(machine->cpu.P, kFlagBit5 | kFlagB | kFlagC);  // as pushed
}

TEST_F(ReferenceCoreTest, BrkIsTakenWithInterruptsDisabled) {
  LoadProgram(*machine, {0x00});
  Poke(*machine, 0xFFFE, {0x00, 0x90});
  machine->cpu.P = kFlagI;
  machine->cpu.S = 0xFD;
  Step();
  EXPECT_EQ(machine->cpu.PC, 0x9000);
  EXPECT_EQ(machine->cpu.S, 0xFA);
}

TEST_F(ReferenceCoreTest, PhpAndPlpKeepBitFiveAndB) {
  LoadProgram(*machine, {0x08, 0x28});
  machine->cpu.P = kFlagBit5 | kFlagB;
  machine->cpu.S = 0xFD;
  Step();
  EXPECT_EQ(machine->cpuMem[0x01FD], kFlagBit5 | kFlagB);
  machine->cpuMem[0x01FD] = 0xFF;
  Step();
  EXPECT_EQ(machine->cpu.P, 0xFF);
}

TEST_F(ReferenceCoreTest, PushYCostsThree) {
  LoadProgram(*machine, {0x5A});
  machine->cpu.Y = 0x42;
  machine->cpu.S = 0xFD;
  EXPECT_EQ(Cycles(Step()), 3);
  EXPECT_EQ(machine->cpuMem[0x01FD], 0x42);
  EXPECT_EQ(machine->cpu.S, 0xFC);
}

TEST_F(ReferenceCoreTest, Opcode80AlwaysBranchesForThreeCycles) {
  LoadProgram(*machine, {0x80, 0x10});
  machine->cpu.P = kFlagN | kFlagV | kFlagZ | kFlagC;
  EXPECT_EQ(Cycles(Step()), 3);
  EXPECT_EQ(machine->cpu.PC, 0x8012);
  EXPECT_EQ(machine->haltRequested, 0);
}

TEST_F(ReferenceCoreTest, OpcodeD4SkipsOneByteForFree) {
  LoadProgram(*machine, {0xD4, 0xA9, kNop});
  EXPECT_EQ(Cycles(Step()), 0);
  EXPECT_EQ(machine->cpu.PC, 0x8002);
  EXPECT_EQ(machine->cpu.A, 0);
}

class ReferenceFreeNopTest : public ReferenceCoreTest,
                             public ::testing::WithParamInterface<uint8_t> {};

TEST_P(ReferenceFreeNopTest, AdvancesOneByteAndCostsNothing) {
  LoadProgram(*machine, {GetParam(), 0xA9, 0x42});
  machine->cpu.P = kFlagC;
  const CpuStepResult result = Step();
  EXPECT_FALSE(result.badOpcode);
  EXPECT_EQ(Cycles(result), 0);
  EXPECT_EQ(machine->cpu.PC, 0x8001);
  EXPECT_EQ(machine->cpu.A, 0);
  EXPECT_EQ(machine->cpu.P, kFlagC);
}

INSTANTIATE_TEST_SUITE_P(Opcodes, ReferenceFreeNopTest,
                         ::testing::Values(0x02, 0x03, 0x04, 0x14, 0x89, 0xF4, 0x8F, 0x9B, 0x9C,
                                           0xAB));

TEST_F(ReferenceCoreTest, OpcodeFAHalts) {
  LoadProgram(*machine, {0xFA});
  EXPECT_TRUE(Step().badOpcode);
  EXPECT_EQ(machine->haltRequested, 1);
  EXPECT_NE(logFile.Contents().find("Bad opcode:250\n"), std::string::npos);
}

TEST_F(ReferenceCoreTest, BadOpcodeKeepsFlagAndStackChangesMadeInPlace) {
  // SEC, PHA, then $FF: P, S and PC live in the record in this core, A X Y do not.
  LoadProgram(*machine, {0x38, 0x48, 0xA9, 0x55, 0xFF});
  machine->cpu.P = kFlagBit5;
  machine->cpu.S = 0xFD;
  RunCpuLineReference(*machine);
  EXPECT_EQ(machine->cpu.P, kFlagBit5 | kFlagC);
  EXPECT_EQ(machine->cpu.S, 0xFC);
  EXPECT_EQ(machine->cpu.PC, 0x8005);
  EXPECT_EQ(machine->cpu.A, 0x00);
}

}  // namespace
}  // namespace wrenfold::test
