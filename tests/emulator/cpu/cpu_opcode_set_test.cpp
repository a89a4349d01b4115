// Which of the 256 opcode values each core executes and which halt it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "emulator/cpu/cpu_step.h"
#include "tests/emulator/cpu/cpu_test_support.h"

namespace wrenfold::test {
namespace {

const std::set<int> kReferenceBadOpcodes = {
    0x07, 0x0B, 0x0C, 0x0F, 0x13, 0x17, 0x1B, 0x1C, 0x1F, 0x22, 0x23, 0x27, 0x2B, 0x2F,
    0x33, 0x37, 0x3A, 0x3B, 0x3C, 0x3F, 0x42, 0x43, 0x44, 0x47, 0x4B, 0x4F, 0x53, 0x54,
    0x57, 0x5B, 0x5C, 0x5F, 0x62, 0x63, 0x64, 0x67, 0x6B, 0x6F, 0x72, 0x73, 0x74, 0x77,
    0x7A, 0x7B, 0x7C, 0x7F, 0x82, 0x83, 0x87, 0x8B, 0x93, 0x97, 0x9E, 0x9F, 0xA3, 0xA7,
    0xAF, 0xB3, 0xB7, 0xBB, 0xBF, 0xC2, 0xC3, 0xC7, 0xCB, 0xCF, 0xD3, 0xD7, 0xDB, 0xDC,
    0xDF, 0xE2, 0xE3, 0xE7, 0xEB, 0xEF, 0xF2, 0xF3, 0xF7, 0xFA, 0xFB, 0xFC, 0xFF,
};

// The second core also accepts $FA, and halts on these extras of the reference core.
std::set<int> SecondCoreBadOpcodes() {
  std::set<int> bad = kReferenceBadOpcodes;
  bad.erase(0xFA);
  bad.insert({0x02, 0x14, 0x5A, 0x80, 0x89, 0x8F, 0x9B, 0x9C, 0xAB, 0xD4});
  return bad;
}

class OpcodeSetTest : public ::testing::TestWithParam<CpuCoreKind> {};

TEST_P(OpcodeSetTest, HaltsOnExactlyTheUnhandledValues) {
  const CpuCoreKind core = GetParam();
  const std::set<int> expected =
      core == CpuCoreKind::Reference ? kReferenceBadOpcodes : SecondCoreBadOpcodes();
  ScopedLogFile logFile;
  auto machine = MakeMachine();
  std::set<int> halted;
  for (int opcode = 0; opcode < 256; ++opcode) {
    ResetMachineState(*machine);
    LoadProgram(*machine, {static_cast<uint8_t>(opcode), 0x00, 0x03});
    machine->cpu.S = 0xFD;
    const CpuStepResult result = StepCpuInstruction(*machine, core, kCyclesPerLine);
    EXPECT_EQ(result.badOpcode, machine->haltRequested == 1) << "opcode " << opcode;
    if (result.badOpcode) {
      halted.insert(opcode);
      EXPECT_EQ(result.budgetLeft, kCyclesPerLine) << "a bad opcode is not charged";
      EXPECT_EQ(machine->cpu.PC, 0x8001);
    }
  }
  EXPECT_EQ(halted, expected);
  EXPECT_EQ(halted.size(), core == CpuCoreKind::Reference ? 83u : 92u);
}

INSTANTIATE_TEST_SUITE_P(BothCores, OpcodeSetTest,
                         ::testing::Values(CpuCoreKind::Reference, CpuCoreKind::Second),
                         [](const ::testing::TestParamInfo<CpuCoreKind>& info) {
                           return std::string(CoreName(info.param));
                         });

}  // namespace
}  // namespace wrenfold::test
