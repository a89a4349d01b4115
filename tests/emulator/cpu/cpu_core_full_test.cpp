// What the full core does beyond the specified cores, on a flat bus (program at $8000, work
// RAM as scratch): the console's cycle counts and flag pushes, each family of undocumented
// opcodes checked over many operand values, and the twelve jamming opcodes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "emulator/cpu/bad_opcode.h"
#include "emulator/cpu/cpu_step.h"
#include "emulator/machine_state/io_registers.h"
#include "tests/emulator/cpu/cpu_test_support.h"

namespace wrenfold::test {
namespace {

constexpr uint8_t kNop = 0xEA;
constexpr uint8_t kP = kFlagBit5;  // the full core always shows bit 5
// Operand values that reach every flag outcome of the ALU and the shifts.
constexpr uint8_t kValues[] = {0x00, 0x01, 0x3F, 0x40, 0x7F, 0x80, 0x81, 0xC0, 0xFE, 0xFF};

struct State {
  uint8_t a = 0;
  uint8_t x = 0;
  uint8_t y = 0;
  uint8_t p = kP;
  uint8_t s = 0xFD;
};

std::string Show(const State& s) {
  char text[48];
  std::snprintf(text, sizeof text, "A:%02X X:%02X Y:%02X P:%02X S:%02X", s.a, s.x, s.y, s.p, s.s);
  return text;
}

class FullCoreTest : public ::testing::Test {
 protected:
  void SetState(const State& state) {
    machine->cpu.A = state.a;
    machine->cpu.X = state.x;
    machine->cpu.Y = state.y;
    machine->cpu.P = state.p;
    machine->cpu.S = state.s;
  }
  State GetState() const {
    return {machine->cpu.A, machine->cpu.X, machine->cpu.Y, machine->cpu.P, machine->cpu.S};
  }
  // Runs the program at $8000 one instruction at a time; returns the cycles spent.
  int Run(const std::vector<uint8_t>& program, int instructions = 1) {
    LoadProgram(*machine, program);
    int budget = kCyclesPerLine;
    for (int i = 0; i < instructions; ++i) {
      const CpuStepResult step = StepCpuInstruction(*machine, CpuCoreKind::Full, budget);
      EXPECT_FALSE(step.badOpcode) << "opcode $" << std::hex << int{program[0]};
      budget = step.budgetLeft;
    }
    return kCyclesPerLine - budget;
  }

  std::unique_ptr<MachineState> machine = MakeMachine();
  ScopedLogFile logFile;
};

// ---- Documented opcodes: where the console differs from the specified cores -------------

struct TimingCase {
  const char* name;
  std::vector<uint8_t> program;
  State before;
  int cycles;
  uint16_t pcAfter;
};

void PrintTo(const TimingCase& c, std::ostream* out) {
  *out << c.name;
}

class TimingTest : public FullCoreTest, public ::testing::WithParamInterface<TimingCase> {};

TEST_P(TimingTest, ChargesTheConsoleCycles) {
  const TimingCase& c = GetParam();
  Poke(*machine, 0x0040, {0xF0, 0x03});  // ($40) = $03F0
  Poke(*machine, 0xFFFE, {0x00, 0x90});  // BRK vector
  SetState(c.before);
  EXPECT_EQ(Run(c.program), c.cycles);
  EXPECT_EQ(machine->cpu.PC, c.pcAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Documented, TimingTest,
    ::testing::Values(TimingCase{"CmpImmediateTwo", {0xC9, 0x10}, {}, 2, 0x8002},
                      TimingCase{"LdaAbsXSamePage", {0xBD, 0x00, 0x03}, {.x = 0xFF}, 4, 0x8003},
                      TimingCase{"LdaAbsXNextPage", {0xBD, 0x01, 0x03}, {.x = 0xFF}, 5, 0x8003},
                      TimingCase{"LdaIndYNextPage", {0xB1, 0x40}, {.y = 0x10}, 6, 0x8002},
                      TimingCase{"StaAbsXAlwaysFive", {0x9D, 0x01, 0x03}, {.x = 0xFF}, 5, 0x8003},
                      TimingCase{"BranchNotTaken", {0xD0, 0x10}, {.p = kP | kFlagZ}, 2, 0x8002},
                      TimingCase{"BranchTaken", {0xD0, 0x10}, {}, 3, 0x8012},
                      TimingCase{"BranchTakenIntoPreviousPage", {0xD0, 0xF0}, {}, 4, 0x7FF2},
                      TimingCase{"BrkSeven", {0x00, 0xFF}, {}, 7, 0x9000}),
    [](const ::testing::TestParamInfo<TimingCase>& info) { return std::string(info.param.name); });

TEST_F(FullCoreTest, PhpAndBrkPushBitsFourAndFiveWhilePlpDropsThem) {
  Poke(*machine, 0xFFFE, {0x00, 0x90});
  SetState({.p = kP | kFlagC});
  Run({0x08});  // PHP
  EXPECT_EQ(machine->cpuMem[0x01FD], kP | kFlagB | kFlagC);

  SetState({.p = kP | kFlagN});
  Run({0x00, 0xFF});  // BRK and its padding byte
  EXPECT_EQ(machine->cpuMem[0x01FB], kP | kFlagB | kFlagN);
  EXPECT_EQ(machine->cpuMem[0x01FC], 0x02);  // returns past the padding byte, to $8002
  EXPECT_EQ(machine->cpuMem[0x01FD], 0x80);
  EXPECT_EQ(machine->cpu.P, kP | kFlagI | kFlagN);  // B is no latch of the console

  machine->cpuMem[0x01FE] = 0xFF;
  SetState({});
  Run({0x28});  // PLP of $FF
  EXPECT_EQ(machine->cpu.P, 0xFF & ~kFlagB);
}

TEST_F(FullCoreTest, IndirectYPointerWrapsWithinPageZero) {
  Poke(*machine, 0x00FF, {0x34, 0x07});  // $0100 holds 07, but the high byte comes from $0000
  machine->cpuMem[0x0000] = 0x06;
  machine->cpuMem[0x0635] = 0x99;
  SetState({.y = 0x01});
  Run({0xB1, 0xFF});
  EXPECT_EQ(machine->cpu.A, 0x99);
}

TEST_F(FullCoreTest, CarriesOvershootAndGivesUpTheLineAtTheVblankWait) {
  // 113 cycles of CMP zp and NOPs, then a 7-cycle ASL abs,X started with 1 cycle left.
  std::vector<uint8_t> program = {0xC5, 0x10};
  program.insert(program.end(), 55, kNop);
  program.insert(program.end(), {0x1E, 0x00, 0x03});
  program.insert(program.end(), 54, kNop);
  program.insert(program.end(), {0xAD, 0x02, 0x20, 0x10, 0xFB});  // LDA $2002; BPL back
  LoadProgram(*machine, program);
  machine->cpu.P = 0x00;
  RunCpuLineFull(*machine);
  EXPECT_EQ(machine->cycleCarry, -6);
  EXPECT_EQ(machine->cpu.P & kP, kP);  // bit 5 shows from the first call on
  RunCpuLineFull(*machine);            // a budget of 108: the NOPs
  const uint16_t waitLoop = 0x8000 + 60 + 54;
  EXPECT_EQ(machine->cpu.PC, waitLoop);
  EXPECT_EQ(machine->cycleCarry, 0);
  RunCpuLineFull(*machine);  // one pass of the wait, and the rest of the line is given up
  EXPECT_EQ(machine->cpu.PC, waitLoop);
  EXPECT_EQ(machine->cycleCarry, -1);
}

// ---- Undocumented opcodes, one table per family ---------------------------------------

// Where each addressing mode of the tests finds its target: $0080 in page 0, $0480 elsewhere.
struct ModeCase {
  const char* name;
  std::vector<uint8_t> operand;  // the bytes after the opcode
  uint8_t x;
  uint8_t y;
  uint16_t target;
};

const ModeCase kZp{"Zp", {0x80}, 0, 0, 0x0080};
const ModeCase kZpX{"ZpX", {0x70}, 0x10, 0, 0x0080};
const ModeCase kZpY{"ZpY", {0x70}, 0, 0x10, 0x0080};
const ModeCase kAbs{"Abs", {0x80, 0x04}, 0, 0, 0x0480};
const ModeCase kAbsX{"AbsX", {0xF0, 0x03}, 0x90, 0, 0x0480};  // crosses a page
const ModeCase kAbsY{"AbsY", {0xF0, 0x03}, 0, 0x90, 0x0480};  // crosses a page
const ModeCase kIndX{"IndX", {0x20}, 0x10, 0, 0x0480};        // pointer at $30
const ModeCase kIndY{"IndY", {0x40}, 0, 0x90, 0x0480};        // ($40) = $03F0, crosses

// An undocumented opcode in one mode, and the documented instructions (on the absolute
// target) that must leave registers, flags and memory exactly as it does.
struct SequenceCase {
  std::string name;
  uint8_t opcode;
  ModeCase mode;
  std::vector<uint8_t> documented;  // opcodes; an absolute one takes the target as operand
  int cycles;
};

void PrintTo(const SequenceCase& c, std::ostream* out) {
  *out << c.name;
}

std::vector<SequenceCase> SequenceCases() {
  struct Family {
    const char* name;
    uint8_t indirectX;  // the (zp,X) opcode; the other modes follow the 6502 column layout
    uint8_t first;      // the documented read-modify-write done first, absolute
    uint8_t second;     // the documented instruction applied to A next, absolute
  };
  const Family families[] = {{"Slo", 0x03, 0x0E, 0x0D}, {"Rla", 0x23, 0x2E, 0x2D},
                             {"Sre", 0x43, 0x4E, 0x4D}, {"Rra", 0x63, 0x6E, 0x6D},
                             {"Dcp", 0xC3, 0xCE, 0xCD}, {"Isc", 0xE3, 0xEE, 0xED}};
  struct Column {
    ModeCase mode;
    uint8_t offset;
    int cycles;
  };
  const Column columns[] = {{kIndX, 0x00, 8}, {kZp, 0x04, 5},   {kAbs, 0x0C, 6}, {kIndY, 0x10, 8},
                            {kZpX, 0x14, 6},  {kAbsY, 0x18, 7}, {kAbsX, 0x1C, 7}};
  std::vector<SequenceCase> cases;
  for (const Family& family : families) {
    for (const Column& column : columns) {
      cases.push_back({std::string(family.name) + column.mode.name,
                       static_cast<uint8_t>(family.indirectX + column.offset),
                       column.mode,
                       {family.first, family.second},
                       column.cycles});
    }
  }
  // LAX: LDA, then TAX; the page-crossing reads charge the extra cycle.
  constexpr uint8_t kLdaAbs = 0xAD;
  constexpr uint8_t kTax = 0xAA;
  for (const auto& [opcode, mode, cycles] : {std::tuple{0xA7, kZp, 3},
                                             {0xB7, kZpY, 4},
                                             {0xAF, kAbs, 4},
                                             {0xBF, kAbsY, 5},
                                             {0xA3, kIndX, 6},
                                             {0xB3, kIndY, 6}}) {
    cases.push_back({std::string("Lax") + mode.name,
                     static_cast<uint8_t>(opcode),
                     mode,
                     {kLdaAbs, kTax},
                     cycles});
  }
  return cases;
}

class SequenceTest : public FullCoreTest, public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(SequenceTest, EqualsTheDocumentedInstructions) {
  const SequenceCase& c = GetParam();
  std::vector<uint8_t> opcode = {c.opcode};
  opcode.insert(opcode.end(), c.mode.operand.begin(), c.mode.operand.end());
  std::vector<uint8_t> documented;
  for (const uint8_t instruction : c.documented) {
    documented.push_back(instruction);
    if ((instruction & 0x0F) == 0x0D || (instruction & 0x0F) == 0x0E) {
      documented.push_back(static_cast<uint8_t>(c.mode.target));
      documented.push_back(static_cast<uint8_t>(c.mode.target >> 8));
    }
  }
  Poke(*machine, 0x0030, {0x80, 0x04});  // ($30) = $0480
  Poke(*machine, 0x0040, {0xF0, 0x03});  // ($40) = $03F0
  for (const uint8_t a : kValues) {
    for (const uint8_t m : kValues) {
      for (const uint8_t flags : {kP, static_cast<uint8_t>(kP | kFlagC | kFlagV)}) {
        const State start{a, c.mode.x, c.mode.y, flags, 0xFD};
        machine->cpuMem[c.mode.target] = m;
        SetState(start);
        Run(documented, static_cast<int>(c.documented.size()));
        const State want = GetState();
        const uint8_t wantMemory = machine->cpuMem[c.mode.target];

        machine->cpuMem[c.mode.target] = m;
        SetState(start);
        ASSERT_EQ(Run(opcode), c.cycles);
        ASSERT_EQ(machine->cpu.PC, 0x8000 + opcode.size());
        ASSERT_EQ(Show(GetState()), Show(want)) << "A=" << int{a} << " M=" << int{m};
        ASSERT_EQ(machine->cpuMem[c.mode.target], wantMemory) << "A=" << int{a} << " M=" << int{m};
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ReadModifyWriteAndLax, SequenceTest, ::testing::ValuesIn(SequenceCases()),
                         [](const ::testing::TestParamInfo<SequenceCase>& info) {
                           return info.param.name;
                         });

// The immediate combinations against a model of each, over every A, both C and V, and the
// operand values.
struct ImmediateCase {
  const char* name;
  uint8_t opcode;
  State (*model)(State in, uint8_t operand);
};

void PrintTo(const ImmediateCase& c, std::ostream* out) {
  *out << c.name;
}

State WithFlags(State s, uint8_t nz, bool carry) {
  s.p = static_cast<uint8_t>((s.p & ~(kFlagN | kFlagZ | kFlagC)) | (nz & kFlagN) |
                             (nz == 0 ? kFlagZ : 0) | (carry ? kFlagC : 0));
  return s;
}

const ImmediateCase kImmediateCases[] = {
    {"Anc0B", 0x0B,
     [](State s, uint8_t m) {
       s.a &= m;
       return WithFlags(s, s.a, s.a >= 0x80);
     }},
    {"Anc2B", 0x2B,
     [](State s, uint8_t m) {
       s.a &= m;
       return WithFlags(s, s.a, s.a >= 0x80);
     }},
    {"Alr", 0x4B,
     [](State s, uint8_t m) {
       const uint8_t anded = s.a & m;
       s.a = anded >> 1;
       return WithFlags(s, s.a, (anded & 1) != 0);
     }},
    {"Arr", 0x6B,
     [](State s, uint8_t m) {
       s.a = static_cast<uint8_t>(((s.a & m) >> 1) | ((s.p & kFlagC) << 7));
       const bool bit6 = (s.a & 0x40) != 0;
       s.p = static_cast<uint8_t>((s.p & ~kFlagV) | (bit6 != ((s.a & 0x20) != 0) ? kFlagV : 0));
       return WithFlags(s, s.a, bit6);
     }},
    {"Axs", 0xCB,
     [](State s, uint8_t m) {
       const int anded = s.a & s.x;
       s.x = static_cast<uint8_t>(anded - m);
       return WithFlags(s, s.x, anded >= m);
     }},
    {"SbcEB", 0xEB,
     [](State s, uint8_t m) {
       const int borrow = (s.p & kFlagC) ? 0 : 1;
       const int difference = s.a - m - borrow;
       const int signedDifference = static_cast<int8_t>(s.a) - static_cast<int8_t>(m) - borrow;
       s.a = static_cast<uint8_t>(difference);
       const bool overflow = signedDifference < -128 || signedDifference > 127;
       s.p = static_cast<uint8_t>((s.p & ~kFlagV) | (overflow ? kFlagV : 0));
       return WithFlags(s, s.a, difference >= 0);
     }},
    // ANE and LXA with the 2A03's constant $FF: X AND operand, and the operand into A and X.
    {"Ane", 0x8B,
     [](State s, uint8_t m) {
       s.a = s.x & m;
       return WithFlags(s, s.a, (s.p & kFlagC) != 0);
     }},
    {"Lxa", 0xAB,
     [](State s, uint8_t m) {
       s.a = s.x = m;
       return WithFlags(s, m, (s.p & kFlagC) != 0);
     }},
};

class ImmediateTest : public FullCoreTest, public ::testing::WithParamInterface<ImmediateCase> {};

TEST_P(ImmediateTest, MatchesModel) {
  const ImmediateCase& c = GetParam();
  for (int a = 0; a < 256; ++a) {
    for (const uint8_t m : kValues) {
      for (const uint8_t p : {kP, static_cast<uint8_t>(kP | kFlagC | kFlagV)}) {
        const State in{static_cast<uint8_t>(a), static_cast<uint8_t>(a * 7 + 3), 0x11, p, 0xFD};
        SetState(in);
        ASSERT_EQ(Run({c.opcode, m}), 2);
        ASSERT_EQ(machine->cpu.PC, 0x8002);
        ASSERT_EQ(Show(GetState()), Show(c.model(in, m))) << "operand $" << std::hex << int{m};
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Opcodes, ImmediateTest, ::testing::ValuesIn(kImmediateCases),
                         [](const ::testing::TestParamInfo<ImmediateCase>& info) {
                           return std::string(info.param.name);
                         });

// The stores: SAX (A AND X, flags untouched), and the unstable group as commonly documented
// for the NES: value AND (high byte of the base + 1), whose high address byte becomes that
// value when the index crosses a page; with LAS, which loads A, X and S.
struct StoreCase {
  const char* name;
  std::vector<uint8_t> program;
  State before;
  int cycles;
  uint16_t address;  // where the store lands, 0 for LAS
  uint8_t stored;
  State after;
};

void PrintTo(const StoreCase& c, std::ostream* out) {
  *out << c.name;
}

class StoreTest : public FullCoreTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(StoreTest, StoresAndLoadsAsDocumented) {
  const StoreCase& c = GetParam();
  Poke(*machine, 0x0030, {0x80, 0x04});  // ($30) = $0480
  Poke(*machine, 0x0040, {0xF0, 0x04});  // ($40) = $04F0
  machine->cpuMem[0x0510] = 0xF7;        // LAS reads it
  SetState(c.before);
  EXPECT_EQ(Run(c.program), c.cycles);
  EXPECT_EQ(Show(GetState()), Show(c.after));
  if (c.address != 0) {
    EXPECT_EQ(machine->cpuMem[c.address], c.stored);
  }
}

constexpr State kAandX{.a = 0x3F, .x = 0xF7, .y = 0x01, .p = kP | kFlagZ};

INSTANTIATE_TEST_SUITE_P(
    Opcodes, StoreTest,
    ::testing::Values(StoreCase{"SaxZp", {0x87, 0x80}, kAandX, 3, 0x0080, 0x37, kAandX},
                      StoreCase{"SaxZpY", {0x97, 0x7F}, kAandX, 4, 0x0080, 0x37, kAandX},
                      StoreCase{"SaxAbs", {0x8F, 0x80, 0x04}, kAandX, 4, 0x0480, 0x37, kAandX},
                      StoreCase{"SaxIndX",
                                {0x83, 0x20},
                                {.a = 0x3F, .x = 0x10},
                                6,
                                0x0480,
                                0x10,
                                {.a = 0x3F, .x = 0x10}},
                      StoreCase{"ShxSamePage",
                                {0x9E, 0xF0, 0x04},
                                {.x = 0xFF, .y = 0x05},
                                5,
                                0x04F5,
                                0x05,
                                {.x = 0xFF, .y = 0x05}},
                      StoreCase{"ShxCrossingMovesTheHighByte",
                                {0x9E, 0xF0, 0x04},
                                {.x = 0x03, .y = 0x20},
                                5,
                                0x0110,
                                0x01,
                                {.x = 0x03, .y = 0x20}},
                      StoreCase{"Shy",
                                {0x9C, 0xF0, 0x04},
                                {.x = 0x05, .y = 0xFF},
                                5,
                                0x04F5,
                                0x05,
                                {.x = 0x05, .y = 0xFF}},
                      StoreCase{"ShaAbsY", {0x9F, 0xF0, 0x04}, kAandX, 5, 0x04F1, 0x05, kAandX},
                      StoreCase{"ShaIndY", {0x93, 0x40}, kAandX, 6, 0x04F1, 0x05, kAandX},
                      StoreCase{"TasSetsS",
                                {0x9B, 0xF0, 0x04},
                                kAandX,
                                5,
                                0x04F1,
                                0x05,
                                {.a = 0x3F, .x = 0xF7, .y = 0x01, .p = kP | kFlagZ, .s = 0x37}},
                      StoreCase{"LasCrossing",
                                {0xBB, 0xF0, 0x04},
                                {.y = 0x20, .s = 0x8E},
                                5,
                                0,
                                0,
                                {.a = 0x86, .x = 0x86, .y = 0x20, .p = kP | kFlagN, .s = 0x86}}),
    [](const ::testing::TestParamInfo<StoreCase>& info) { return std::string(info.param.name); });

// The no-operations: length and cycles, nothing changed, and their reads reach the bus (a
// read of $2002 clears its vblank bit).
struct NopCase {
  std::vector<uint8_t> opcodes;
  std::vector<uint8_t> operand;
  uint8_t x;
  int cycles;
  bool readsStatus;
};

void PrintTo(const NopCase& c, std::ostream* out) {
  *out << "opcode $" << std::hex << int{c.opcodes[0]} << " and alike";
}

class NopTest : public FullCoreTest, public ::testing::WithParamInterface<NopCase> {};

TEST_P(NopTest, OnlyReadsAndSpendsCycles) {
  const NopCase& c = GetParam();
  for (const uint8_t opcode : c.opcodes) {
    std::vector<uint8_t> program = {opcode};
    program.insert(program.end(), c.operand.begin(), c.operand.end());
    program.push_back(kNop);
    machine->cpuMem[kPpuStatus] = kStatusVblank;
    const State state{0x12, c.x, 0x56, kP | kFlagN | kFlagC, 0xFD};
    SetState(state);
    EXPECT_EQ(Run(program), c.cycles) << "opcode $" << std::hex << int{opcode};
    EXPECT_EQ(machine->cpu.PC, 0x8001 + c.operand.size());
    EXPECT_EQ(Show(GetState()), Show(state));
    EXPECT_EQ(machine->cpuMem[kPpuStatus] == 0, c.readsStatus);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, NopTest,
    ::testing::Values(NopCase{{0x1A, 0x3A, 0x5A, 0x7A, 0xDA, 0xFA}, {}, 0, 2, false},
                      NopCase{{0x80, 0x82, 0x89, 0xC2, 0xE2}, {0x02}, 0, 2, false},
                      NopCase{{0x04, 0x44, 0x64}, {0x02}, 0, 3, false},
                      NopCase{{0x14, 0x34, 0x54, 0x74, 0xD4, 0xF4}, {0x02}, 0x10, 4, false},
                      NopCase{{0x0C}, {0x02, 0x20}, 0, 4, true},
                      NopCase{{0x1C, 0x3C, 0x5C, 0x7C, 0xDC, 0xFC}, {0x00, 0x20}, 0x02, 4, true},
                      NopCase{{0x1C, 0x3C, 0x5C, 0x7C, 0xDC, 0xFC}, {0xF2, 0x1F}, 0x10, 5, true}));

// ---- Which opcodes halt -----------------------------------------------------------------

// The full core halts on exactly the twelve jamming opcodes, each with the five log entries
// and nothing more. The specified cores mark a halt as needing the full core exactly when the
// opcode does not jam the console.
TEST(FullCoreOpcodeSetTest, HaltsOnlyOnTheJammingOpcodes) {
  const std::set<int> jams = {0x02, 0x12, 0x22, 0x32, 0x42, 0x52,
                              0x62, 0x72, 0x92, 0xB2, 0xD2, 0xF2};
  for (const CpuCoreKind core : {CpuCoreKind::Full, CpuCoreKind::Second, CpuCoreKind::Reference}) {
    std::set<int> halted;
    for (int opcode = 0; opcode < 256; ++opcode) {
      ScopedLogFile logFile;
      auto machine = MakeMachine();
      LoadProgram(*machine, {static_cast<uint8_t>(opcode), 0x00, 0x03});
      machine->cpu.S = 0xFD;
      const CpuStepResult step = StepCpuInstruction(*machine, core, kCyclesPerLine);
      EXPECT_EQ(JamsConsole(static_cast<uint8_t>(opcode)), jams.contains(opcode));
      if (!step.badOpcode) continue;
      halted.insert(opcode);
      EXPECT_EQ(machine->needsFullCore, !jams.contains(opcode)) << CoreName(core) << opcode;
      if (core == CpuCoreKind::Full) {
        EXPECT_EQ(step.budgetLeft, kCyclesPerLine);
        EXPECT_EQ(machine->cpu.PC, 0x8001);
        EXPECT_EQ(logFile.Contents(), "Bad opcode:" + std::to_string(opcode) +
                                          "\nAt:32768\nFrame:0\nNMI vector:0\nIRQ vector:0\n");
      }
    }
    if (core == CpuCoreKind::Full) {
      EXPECT_EQ(halted, jams);
    }
  }
}

TEST(FullCoreOpcodeSetTest, OnlyTheFirstHaltDecides) {
  ScopedLogFile logFile;
  auto machine = MakeMachine();
  LoadProgram(*machine, {0x02, 0x80});  // a jam, then an opcode the full core runs
  StepCpuInstruction(*machine, CpuCoreKind::Second, kCyclesPerLine);
  StepCpuInstruction(*machine, CpuCoreKind::Second, kCyclesPerLine);
  EXPECT_EQ(machine->haltRequested, 1);
  EXPECT_EQ(machine->needsFullCore, 0);
}

}  // namespace
}  // namespace wrenfold::test
