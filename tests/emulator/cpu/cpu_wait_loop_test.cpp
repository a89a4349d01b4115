// Tight wait loops ("wait: LDA flag; BEQ wait", "here: JMP here") are charged several passes
// at a time by the per-line cores. Tracing runs every pass one by one, so a traced run is the
// measure: the untraced run must end every line in exactly the same state.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "emulator/cpu/cpu_step.h"
#include "tests/emulator/cpu/cpu_test_support.h"

namespace wrenfold::test {
namespace {

constexpr uint16_t kFlag = 0x0010;  // the zero-page byte the loops wait on
constexpr int kLines = 6;

struct WaitLoopCase {
  const char* name;
  std::vector<uint8_t> program;
  uint16_t origin;  // where the program lies
  uint16_t start;   // first PC
  uint8_t a;
  uint8_t p;
  uint8_t flag;           // the zero-page byte while the loop waits
  int releaseAfterLines;  // lines after which `flag` becomes `releasedFlag`, 0 = never
  uint8_t releasedFlag;
};

void PrintTo(const WaitLoopCase& c, std::ostream* out) {
  *out << c.name;
}

// The loop at $8000, then INX and a jump back to the loop for when it falls through.
std::vector<uint8_t> Loop(uint8_t read, uint8_t branch) {
  return {read, static_cast<uint8_t>(kFlag), branch, 0xFC, 0xE8, 0x4C, 0x00, 0x80};
}

struct LineEnd {
  CpuRegisters cpu;
  int16_t cycleCarry;
};

class WaitLoopTest
    : public ::testing::TestWithParam<std::tuple<CpuCoreKind, WaitLoopCase, int16_t>> {
 protected:
  void SetUp() override {
    const auto& [core, loop, carry] = GetParam();
    for (MachineState* machine : {traced.get(), untraced.get()}) {
      LoadProgram(*machine, loop.program, loop.origin);
      machine->cpu.PC = loop.start;
      machine->cpu.A = loop.a;
      machine->cpu.P = loop.p;
      machine->cpu.S = 0xFD;
      machine->cpuMem[kFlag] = loop.flag;
      machine->cycleCarry = carry;
    }
  }

  // Runs the lines, changing the flag between lines as an NMI handler would.
  std::vector<LineEnd> RunLines(MachineState& machine) {
    const auto& [core, loop, carry] = GetParam();
    std::vector<LineEnd> ends;
    for (int line = 1; line <= kLines; ++line) {
      RunCpuLine(machine, core);
      ends.push_back({machine.cpu, machine.cycleCarry});
      if (line == loop.releaseAfterLines) machine.cpuMem[kFlag] = loop.releasedFlag;
    }
    return ends;
  }

  std::unique_ptr<MachineState> traced = MakeMachine();
  std::unique_ptr<MachineState> untraced = MakeMachine();
  ScopedLogFile logFile;
};

TEST_P(WaitLoopTest, EveryLineEndsAsWhenEachPassRuns) {
  std::vector<LineEnd> expected;
  {
    TraceCollector trace;
    expected = RunLines(*traced);
    ASSERT_GT(trace.lines().size(), 20u * kLines);
  }
  const std::vector<LineEnd> actual = RunLines(*untraced);
  for (int line = 0; line < kLines; ++line) {
    SCOPED_TRACE("line " + std::to_string(line + 1));
    const CpuRegisters& want = expected[line].cpu;
    const CpuRegisters& got = actual[line].cpu;
    EXPECT_EQ(got.PC, want.PC);
    EXPECT_EQ(got.A, want.A);
    EXPECT_EQ(got.X, want.X);
    EXPECT_EQ(got.Y, want.Y);
    EXPECT_EQ(got.P, want.P);
    EXPECT_EQ(got.S, want.S);
    EXPECT_EQ(actual[line].cycleCarry, expected[line].cycleCarry);
  }
  EXPECT_EQ(std::memcmp(traced->cpuMem, untraced->cpuMem, sizeof traced->cpuMem), 0);
}

constexpr uint8_t kLdaZp = 0xA5;
constexpr uint8_t kCmpZp = 0xC5;
constexpr uint8_t kBitZp = 0x24;
constexpr uint8_t kEorZp = 0x45;
constexpr uint8_t kAndZp = 0x25;
constexpr uint8_t kCpxZp = 0xE4;
constexpr uint8_t kIncZp = 0xE6;
constexpr uint8_t kBeq = 0xF0;
constexpr uint8_t kBne = 0xD0;
constexpr uint8_t kBpl = 0x10;
constexpr uint8_t kBcs = 0xB0;

// CMP flag / BEQ back / INC $20 / BIT $11 / JMP to the BEQ.
const std::vector<uint8_t> kDetour = {
    kCmpZp, static_cast<uint8_t>(kFlag), kBeq, 0xFC, kIncZp, 0x20, kBitZp, 0x11, 0x4C, 0x02, 0x80};

const WaitLoopCase kCases[] = {
    // Waits while the flag equals A; released after two lines.
    {"CmpBeq", Loop(kCmpZp, kBeq), 0x8000, 0x8000, 0x07, 0x00, 0x07, 2, 0x08},
    // Entered at the branch with flags set by earlier code: the first pass decides.
    {"EnteredAtTheBranchFallsThrough", Loop(kCmpZp, kBeq), 0x8000, 0x8002, 0x07, 0x02, 0x09, 0, 0},
    {"EnteredAtTheBranchThenWaits", Loop(kCmpZp, kBne), 0x8000, 0x8002, 0x07, 0x00, 0x09, 0, 0},
    // The first pass loads A; only the passes after it repeat.
    {"LdaBneLoadsAFirst", Loop(kLdaZp, kBne), 0x8000, 0x8000, 0x00, 0x00, 0x40, 3, 0x00},
    {"BitBplWaitsForBit7", Loop(kBitZp, kBpl), 0x8000, 0x8000, 0x00, 0x00, 0x41, 1, 0x80},
    {"AndBneNarrowsAOnce", Loop(kAndZp, kBne), 0x8000, 0x8000, 0xFF, 0x00, 0x0F, 0, 0},
    {"CpxBcs", Loop(kCpxZp, kBcs), 0x8000, 0x8000, 0x00, 0x00, 0x00, 4, 0x01},
    // A changes on every pass: no two passes alike.
    {"EorBneTogglesA", Loop(kEorZp, kBne), 0x8000, 0x8000, 0x01, 0x00, 0xFF, 0, 0},
    // Writes memory: not a wait loop, however alike the registers stay.
    {"IncBneCounts", Loop(kIncZp, kBne), 0x8000, 0x8000, 0x00, 0x00, 0x01, 0, 0},
    // The branch is taken, falls through once, and is reached again by a detour that counts
    // in memory and comes back with the same registers and flags: not one loop pass apart.
    {"DetourBackToTheBranch", kDetour, 0x8000, 0x8002, 0x07, 0x02, 0x09, 0, 0},
    // The same loop in work RAM runs pass by pass.
    {"LoopInWorkRam", Loop(kLdaZp, kBne), 0x0300, 0x0300, 0x00, 0x00, 0x01, 0, 0},
    // "here: JMP here", waiting for an interrupt, in PRG and in work RAM.
    {"JmpToItself", {0x4C, 0x00, 0x80}, 0x8000, 0x8000, 0x00, 0x00, 0x00, 0, 0},
    {"JmpToItselfInWorkRam", {0x4C, 0x00, 0x03}, 0x0300, 0x0300, 0x00, 0x00, 0x00, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(
    Loops, WaitLoopTest,
    ::testing::Combine(::testing::Values(CpuCoreKind::Reference, CpuCoreKind::Second,
                                         CpuCoreKind::Full),
                       ::testing::ValuesIn(kCases),
                       ::testing::Values(int16_t{0}, int16_t{-1}, int16_t{-3}, int16_t{-4})),
    [](const ::testing::TestParamInfo<WaitLoopTest::ParamType>& info) {
      return std::string(CoreName(std::get<0>(info.param))) + "_" + std::get<1>(info.param).name +
             "_Carry" + std::to_string(-std::get<2>(info.param));
    });

TEST(WaitLoopStepTest, SingleSteppingRunsOnePassAtATime) {
  auto machine = MakeMachine();
  LoadProgram(*machine, Loop(kCmpZp, kBeq));
  machine->cpu.A = 0x07;
  machine->cpuMem[kFlag] = 0x07;
  int budget = kCyclesPerLine;
  for (int pass = 0; pass < 3; ++pass) {
    budget = StepCpuInstruction(*machine, CpuCoreKind::Second, budget).budgetLeft;
    budget = StepCpuInstruction(*machine, CpuCoreKind::Second, budget).budgetLeft;
    EXPECT_EQ(machine->cpu.PC, 0x8000);
  }
  EXPECT_EQ(budget, kCyclesPerLine - 3 * 5);
}

}  // namespace
}  // namespace wrenfold::test
