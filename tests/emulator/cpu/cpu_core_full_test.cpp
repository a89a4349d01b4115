// What the full core does beyond the specified cores, on a flat bus (program at $8000, work
// RAM as scratch): the console's cycle counts and flag pushes, each family of undocumented
// opcodes checked over many operand values, and the twelve jamming opcodes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "emulator/cart/io_registers.h"
#include "emulator/cpu/bad_opcode.h"
#include "emulator/cpu/cpu_step.h"
#include "tests/emulator/cpu/cpu_test_support.h"

namespace wrenfold::test {
namespace {

constexpr CpuCoreKind kFull = CpuCoreKind::Full;
constexpr uint8_t kNop = 0xEA;
// Operand values that reach every flag outcome of the ALU and the shifts.
constexpr uint8_t kValues[] = {0x00, 0x01, 0x3F, 0x40, 0x7F, 0x80, 0x81, 0xC0, 0xFE, 0xFF};

struct State {
  uint8_t a = 0;
  uint8_t x = 0;
  uint8_t y = 0;
  uint8_t p = kFlagBit5;
  uint8_t s = 0xFD;
};

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
      const CpuStepResult step = StepCpuInstruction(*machine, kFull, budget);
      EXPECT_FALSE(step.badOpcode) << "opcode $" << std::hex << int{program[0]};
      budget = step.budgetLeft;
    }
    return kCyclesPerLine - budget;
  }

  std::unique_ptr<MachineState> machine = MakeMachine();
  ScopedLogFile logFile;
};

std::string Show(const State& s) {
  char text[48];
  std::snprintf(text, sizeof text, "A:%02X X:%02X Y:%02X P:%02X S:%02X", s.a, s.x, s.y, s.p, s.s);
  return text;
}

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

class FullCoreTimingTest : public FullCoreTest, public ::testing::WithParamInterface<TimingCase> {};

TEST_P(FullCoreTimingTest, ChargesTheConsoleCycles) {
  const TimingCase& c = GetParam();
  Poke(*machine, 0x0040, {0xF0, 0x03});  // ($40) = $03F0
  Poke(*machine, 0xFFFE, {0x00, 0x90});  // BRK vector
  SetState(c.before);
  EXPECT_EQ(Run(c.program), c.cycles);
  EXPECT_EQ(machine->cpu.PC, c.pcAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Documented, FullCoreTimingTest,
    ::testing::Values(TimingCase{"CmpImmediateTwo", {0xC9, 0x10}, {}, 2, 0x8002},
                      TimingCase{"LdaAbsXSamePage", {0xBD, 0x00, 0x03}, {.x = 0xFF}, 4, 0x8003},
                      TimingCase{"LdaAbsXNextPage", {0xBD, 0x01, 0x03}, {.x = 0xFF}, 5, 0x8003},
                      TimingCase{"LdxAbsYNextPage", {0xBE, 0xF0, 0x03}, {.y = 0x10}, 5, 0x8003},
                      TimingCase{"LdaIndYNextPage", {0xB1, 0x40}, {.y = 0x10}, 6, 0x8002},
                      TimingCase{"LdaIndYSamePage", {0xB1, 0x40}, {.y = 0x0F}, 5, 0x8002},
                      TimingCase{"StaAbsXAlwaysFive", {0x9D, 0x01, 0x03}, {.x = 0xFF}, 5, 0x8003},
                      TimingCase{"AslAbsXAlwaysSeven", {0x1E, 0x01, 0x03}, {.x = 0xFF}, 7, 0x8003},
                      TimingCase{
                          "BranchNotTaken", {0xD0, 0x10}, {.p = kFlagBit5 | kFlagZ}, 2, 0x8002},
                      TimingCase{"BranchTaken", {0xD0, 0x10}, {}, 3, 0x8012},
                      TimingCase{"BranchTakenBackIntoPreviousPage", {0xD0, 0xF0}, {}, 4, 0x7FF2},
                      TimingCase{"BrkSeven", {0x00, 0xFF}, {}, 7, 0x9000}),
    [](const ::testing::TestParamInfo<TimingCase>& info) { return std::string(info.param.name); });

TEST_F(FullCoreTest, PhpAndBrkPushBitsFourAndFiveWhilePlpDropsThem) {
  Poke(*machine, 0xFFFE, {0x00, 0x90});
  SetState({.p = kFlagBit5 | kFlagC});
  Run({0x08});  // PHP
  EXPECT_EQ(machine->cpuMem[0x01FD], kFlagBit5 | kFlagB | kFlagC);

  SetState({.p = kFlagBit5 | kFlagN, .s = 0xFD});
  Run({0x00, 0xFF});  // BRK and its padding byte
  EXPECT_EQ(machine->cpuMem[0x01FB], kFlagBit5 | kFlagB | kFlagN);
  EXPECT_EQ(machine->cpuMem[0x01FC], 0x02);  // returns past the padding byte, to $8002
  EXPECT_EQ(machine->cpuMem[0x01FD], 0x80);
  EXPECT_EQ(machine->cpu.P, kFlagBit5 | kFlagI | kFlagN);  // B is no latch of the console

  machine->cpuMem[0x01FE] = 0xFF;
  SetState({.s = 0xFD});
  Run({0x28});  // PLP of $FF
  EXPECT_EQ(machine->cpu.P, 0xFF & ~kFlagB);
}

TEST_F(FullCoreTest, IndirectYPointerWrapsWithinPageZero) {
  machine->cpuMem[0x00FF] = 0x34;
  machine->cpuMem[0x0000] = 0x06;
  machine->cpuMem[0x0100] = 0x07;
  machine->cpuMem[0x0635] = 0x99;
  SetState({.y = 0x01});
  Run({0xB1, 0xFF});
  EXPECT_EQ(machine->cpu.A, 0x99);
}

TEST_F(FullCoreTest, CarriesOvershootAndKeepsBitFive) {
  // 113 cycles of NOPs and a CMP zp, then a 7-cycle ASL abs,X started with 1 cycle left.
  std::vector<uint8_t> program = {0xC5, 0x10};
  program.insert(program.end(), 55, kNop);
  program.insert(program.end(), {0x1E, 0x00, 0x03});
  program.insert(program.end(), 60, kNop);
  LoadProgram(*machine, program);
  machine->cpu.P = 0x00;
  RunCpuLineFull(*machine);
  EXPECT_EQ(machine->cycleCarry, -6);
  EXPECT_EQ(machine->cpu.P & kFlagBit5, kFlagBit5);
  RunCpuLineFull(*machine);
  EXPECT_EQ(machine->cpu.PC, 0x8000 + 60 + 54);  // a budget of 108
}

TEST_F(FullCoreTest, VblankWaitLoopGivesUpTheLine) {
  LoadProgram(*machine, {0xAD, 0x02, 0x20, 0x10, 0xFB});
  RunCpuLineFull(*machine);
  EXPECT_EQ(machine->cpu.PC, 0x8000);
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

constexpr uint16_t kZeroPageTarget = 0x0080;
constexpr uint16_t kTarget = 0x0480;

const ModeCase kZp{"Zp", {0x80}, 0, 0, kZeroPageTarget};
const ModeCase kZpX{"ZpX", {0x70}, 0x10, 0, kZeroPageTarget};
const ModeCase kZpY{"ZpY", {0x70}, 0, 0x10, kZeroPageTarget};
const ModeCase kAbs{"Abs", {0x80, 0x04}, 0, 0, kTarget};
const ModeCase kAbsX{"AbsX", {0xF0, 0x03}, 0x90, 0, kTarget};  // crosses a page
const ModeCase kAbsY{"AbsY", {0xF0, 0x03}, 0, 0x90, kTarget};  // crosses a page
const ModeCase kIndX{"IndX", {0x20}, 0x10, 0, kTarget};        // pointer at $30
const ModeCase kIndY{"IndY", {0x40}, 0, 0x90, kTarget};        // ($40) = $03F0, crosses

// Pointers the indirect modes use.
void PlacePointers(MachineState& machine) {
  Poke(machine, 0x0030, {0x80, 0x04});
  Poke(machine, 0x0040, {0xF0, 0x03});
}

struct RmwFamily {
  const char* name;
  uint8_t opcodeBase;  // the (zp,X) opcode; the other modes follow the 6502 column layout
  uint8_t shift;       // the documented read-modify-write done first, as abs
  uint8_t combine;     // the documented instruction applied to A next, as abs
};

struct RmwMode {
  ModeCase mode;
  uint8_t column;  // added to the family's (zp,X) opcode
  int cycles;
};

void PrintTo(const RmwFamily& family, std::ostream* out) {
  *out << family.name;
}
void PrintTo(const RmwMode& mode, std::ostream* out) {
  *out << mode.mode.name;
}

const RmwFamily kRmwFamilies[] = {
    {"Slo", 0x03, 0x0E, 0x0D},  // ASL, ORA
    {"Rla", 0x23, 0x2E, 0x2D},  // ROL, AND
    {"Sre", 0x43, 0x4E, 0x4D},  // LSR, EOR
    {"Rra", 0x63, 0x6E, 0x6D},  // ROR, ADC
    {"Dcp", 0xC3, 0xCE, 0xCD},  // DEC, CMP
    {"Isc", 0xE3, 0xEE, 0xED},  // INC, SBC
};

const RmwMode kRmwModes[] = {
    {kIndX, 0x00, 8}, {kZp, 0x04, 5},   {kAbs, 0x0C, 6},  {kIndY, 0x10, 8},
    {kZpX, 0x14, 6},  {kAbsY, 0x18, 7}, {kAbsX, 0x1C, 7},
};

class RmwComboTest : public FullCoreTest,
                     public ::testing::WithParamInterface<std::tuple<RmwFamily, RmwMode>> {};

// Each combination leaves A, the flags and memory exactly as its two documented halves do.
TEST_P(RmwComboTest, EqualsTheDocumentedPair) {
  const auto& [family, rmw] = GetParam();
  const ModeCase& mode = rmw.mode;
  std::vector<uint8_t> combo = {static_cast<uint8_t>(family.opcodeBase + rmw.column)};
  combo.insert(combo.end(), mode.operand.begin(), mode.operand.end());
  const uint8_t low = static_cast<uint8_t>(mode.target);
  const uint8_t high = static_cast<uint8_t>(mode.target >> 8);
  const std::vector<uint8_t> pair = {family.shift, low, high, family.combine, low, high};

  for (const uint8_t a : kValues) {
    for (const uint8_t m : kValues) {
      for (const uint8_t carry : {0, 1}) {
        const State start{a, mode.x, mode.y, static_cast<uint8_t>(kFlagBit5 | carry), 0xFD};
        PlacePointers(*machine);
        machine->cpuMem[mode.target] = m;
        SetState(start);
        Run(pair, 2);
        const State want = GetState();
        const uint8_t wantMemory = machine->cpuMem[mode.target];

        machine->cpuMem[mode.target] = m;
        SetState(start);
        const int cycles = Run(combo);
        ASSERT_EQ(Show(GetState()), Show(want))
            << "A=" << int{a} << " M=" << int{m} << " C=" << int{carry};
        ASSERT_EQ(machine->cpuMem[mode.target], wantMemory);
        ASSERT_EQ(cycles, rmw.cycles);
        ASSERT_EQ(machine->cpu.PC, 0x8000 + combo.size());
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Families, RmwComboTest,
                         ::testing::Combine(::testing::ValuesIn(kRmwFamilies),
                                            ::testing::ValuesIn(kRmwModes)),
                         [](const ::testing::TestParamInfo<RmwComboTest::ParamType>& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::get<1>(info.param).mode.name;
                         });

struct LoadStoreCase {
  uint8_t opcode;
  ModeCase mode;
  int cycles;
};

void PrintTo(const LoadStoreCase& c, std::ostream* out) {
  *out << "opcode $" << std::hex << int{c.opcode};
}

class LaxTest : public FullCoreTest, public ::testing::WithParamInterface<LoadStoreCase> {};

// LAX is LDA then TAX; the page-crossing modes charge the extra cycle.
TEST_P(LaxTest, LoadsAAndX) {
  const LoadStoreCase& c = GetParam();
  std::vector<uint8_t> program = {c.opcode};
  program.insert(program.end(), c.mode.operand.begin(), c.mode.operand.end());
  for (const uint8_t m : kValues) {
    PlacePointers(*machine);
    machine->cpuMem[c.mode.target] = m;
    SetState({0x5A, c.mode.x, c.mode.y, kFlagBit5 | kFlagV | kFlagC, 0xFD});
    ASSERT_EQ(Run(program), c.cycles);
    const uint8_t nz = (m & kFlagN) | (m == 0 ? kFlagZ : 0);
    EXPECT_EQ(Show(GetState()), Show({m, m, c.mode.y, static_cast<uint8_t>(0x61 | nz), 0xFD}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LaxTest,
    ::testing::Values(LoadStoreCase{0xA7, kZp, 3}, LoadStoreCase{0xB7, kZpY, 4},
                      LoadStoreCase{0xAF, kAbs, 4}, LoadStoreCase{0xBF, kAbsY, 5},
                      LoadStoreCase{0xA3, kIndX, 6}, LoadStoreCase{0xB3, kIndY, 6}));

class SaxTest : public FullCoreTest, public ::testing::WithParamInterface<LoadStoreCase> {};

TEST_P(SaxTest, StoresAAndXWithoutTouchingFlags) {
  const LoadStoreCase& c = GetParam();
  std::vector<uint8_t> program = {c.opcode};
  program.insert(program.end(), c.mode.operand.begin(), c.mode.operand.end());
  PlacePointers(*machine);
  // SAX's X is the index of (zp,X) too: $10, so A AND X = $10 AND $F3.
  const uint8_t x = c.mode.x != 0 ? c.mode.x : 0x3C;
  SetState({0xF3, x, c.mode.y, kFlagBit5 | kFlagZ, 0xFD});
  EXPECT_EQ(Run(program), c.cycles);
  EXPECT_EQ(machine->cpuMem[c.mode.target], 0xF3 & x);
  EXPECT_EQ(machine->cpu.P, kFlagBit5 | kFlagZ);
}

INSTANTIATE_TEST_SUITE_P(Modes, SaxTest,
                         ::testing::Values(LoadStoreCase{0x87, kZp, 3},
                                           LoadStoreCase{0x97, kZpY, 4},
                                           LoadStoreCase{0x8F, kAbs, 4},
                                           LoadStoreCase{0x83, kIndX, 6}));

// The immediate combinations against a model of each, over every A and C and many operands.
struct ImmediateCase {
  const char* name;
  uint8_t opcode;
  State (*model)(State in, uint8_t operand);
};

void PrintTo(const ImmediateCase& c, std::ostream* out) {
  *out << c.name;
}

uint8_t WithNZ(uint8_t p, uint8_t value) {
  return static_cast<uint8_t>((p & ~(kFlagN | kFlagZ)) | (value & kFlagN) |
                              (value == 0 ? kFlagZ : 0));
}
uint8_t WithC(uint8_t p, bool carry) {
  return static_cast<uint8_t>((p & ~kFlagC) | (carry ? kFlagC : 0));
}

State Anc(State s, uint8_t m) {
  s.a &= m;
  s.p = WithC(WithNZ(s.p, s.a), (s.a & 0x80) != 0);
  return s;
}
State Alr(State s, uint8_t m) {
  const uint8_t and_ = s.a & m;
  s.a = and_ >> 1;
  s.p = WithC(WithNZ(s.p, s.a), (and_ & 1) != 0);
  return s;
}
State Arr(State s, uint8_t m) {
  s.a = static_cast<uint8_t>(((s.a & m) >> 1) | ((s.p & kFlagC) << 7));
  const bool bit6 = (s.a & 0x40) != 0;
  const bool bit5 = (s.a & 0x20) != 0;
  s.p = WithC(WithNZ(s.p, s.a), bit6);
  s.p = static_cast<uint8_t>((s.p & ~kFlagV) | (bit6 != bit5 ? kFlagV : 0));
  return s;
}
State Axs(State s, uint8_t m) {
  const int and_ = s.a & s.x;
  s.x = static_cast<uint8_t>(and_ - m);
  s.p = WithC(WithNZ(s.p, s.x), and_ >= m);
  return s;
}
State Sbc(State s, uint8_t m) {
  const int borrow = (s.p & kFlagC) ? 0 : 1;
  const int result = s.a - m - borrow;
  const int signedResult = static_cast<int8_t>(s.a) - static_cast<int8_t>(m) - borrow;
  s.a = static_cast<uint8_t>(result);
  s.p = WithC(WithNZ(s.p, s.a), result >= 0);
  s.p = static_cast<uint8_t>((s.p & ~kFlagV) |
                             (signedResult < -128 || signedResult > 127 ? kFlagV : 0));
  return s;
}
State Ane(State s, uint8_t m) {
  s.a = s.x & m;
  s.p = WithNZ(s.p, s.a);
  return s;
}
State Lxa(State s, uint8_t m) {
  s.a = s.x = m;
  s.p = WithNZ(s.p, m);
  return s;
}

class ImmediateTest : public FullCoreTest, public ::testing::WithParamInterface<ImmediateCase> {};

TEST_P(ImmediateTest, MatchesModel) {
  const ImmediateCase& c = GetParam();
  for (int a = 0; a < 256; ++a) {
    for (const uint8_t m : kValues) {
      for (const uint8_t p : {uint8_t{kFlagBit5}, uint8_t{kFlagBit5 | kFlagC | kFlagV}}) {
        const State in{static_cast<uint8_t>(a), static_cast<uint8_t>(a * 7 + 3), 0x11, p, 0xFD};
        SetState(in);
        ASSERT_EQ(Run({c.opcode, m}), 2);
        ASSERT_EQ(machine->cpu.PC, 0x8002);
        ASSERT_EQ(Show(GetState()), Show(c.model(in, m))) << "operand $" << std::hex << int{m};
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Opcodes, ImmediateTest,
    ::testing::Values(ImmediateCase{"Anc0B", 0x0B, Anc}, ImmediateCase{"Anc2B", 0x2B, Anc},
                      ImmediateCase{"Alr", 0x4B, Alr}, ImmediateCase{"Arr", 0x6B, Arr},
                      ImmediateCase{"Axs", 0xCB, Axs}, ImmediateCase{"SbcEB", 0xEB, Sbc},
                      ImmediateCase{"Ane", 0x8B, Ane}, ImmediateCase{"Lxa", 0xAB, Lxa}),
    [](const ::testing::TestParamInfo<ImmediateCase>& info) {
      return std::string(info.param.name);
    });

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
    const State state{0x12, c.x, 0x56, kFlagBit5 | kFlagN | kFlagC, 0xFD};
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

// The unstable group as commonly documented for the NES: stores of value AND (high byte of
// the base + 1), whose high address byte becomes that value when the index crosses a page,
// and LAS.
struct UnstableCase {
  const char* name;
  std::vector<uint8_t> program;
  State before;
  int cycles;
  uint16_t address;  // where the store lands
  uint8_t stored;
  State after;
};

void PrintTo(const UnstableCase& c, std::ostream* out) {
  *out << c.name;
}

class UnstableTest : public FullCoreTest, public ::testing::WithParamInterface<UnstableCase> {};

TEST_P(UnstableTest, StoresAndLoadsAsDocumented) {
  const UnstableCase& c = GetParam();
  Poke(*machine, 0x0040, {0xF0, 0x04});  // ($40) = $04F0
  machine->cpuMem[0x0510] = 0xF7;        // LAS reads it
  SetState(c.before);
  EXPECT_EQ(Run(c.program), c.cycles);
  EXPECT_EQ(Show(GetState()), Show(c.after));
  if (c.address != 0) {
    EXPECT_EQ(machine->cpuMem[c.address], c.stored);
  }
}

constexpr uint8_t kP = kFlagBit5;

INSTANTIATE_TEST_SUITE_P(
    Opcodes, UnstableTest,
    ::testing::Values(UnstableCase{"ShxSamePage",
                                   {0x9E, 0xF0, 0x04},
                                   {.x = 0xFF, .y = 0x05},
                                   5,
                                   0x04F5,
                                   0x05,
                                   {.x = 0xFF, .y = 0x05}},
                      UnstableCase{"ShxCrossingMovesTheHighByte",
                                   {0x9E, 0xF0, 0x04},
                                   {.x = 0x03, .y = 0x20},
                                   5,
                                   0x0110,
                                   0x01,
                                   {.x = 0x03, .y = 0x20}},
                      UnstableCase{"Shy",
                                   {0x9C, 0xF0, 0x04},
                                   {.x = 0x05, .y = 0xFF},
                                   5,
                                   0x04F5,
                                   0x05,
                                   {.x = 0x05, .y = 0xFF}},
                      UnstableCase{"ShaAbsY",
                                   {0x9F, 0xF0, 0x04},
                                   {.a = 0x3F, .x = 0xF7, .y = 0x01},
                                   5,
                                   0x04F1,
                                   0x05,
                                   {.a = 0x3F, .x = 0xF7, .y = 0x01}},
                      UnstableCase{"ShaIndY",
                                   {0x93, 0x40},
                                   {.a = 0x3F, .x = 0xF7, .y = 0x01},
                                   6,
                                   0x04F1,
                                   0x05,
                                   {.a = 0x3F, .x = 0xF7, .y = 0x01}},
                      UnstableCase{"TasSetsS",
                                   {0x9B, 0xF0, 0x04},
                                   {.a = 0x3F, .x = 0xF7, .y = 0x01},
                                   5,
                                   0x04F1,
                                   0x05,
                                   {.a = 0x3F, .x = 0xF7, .y = 0x01, .s = 0x37}},
                      UnstableCase{"LasCrossing",
                                   {0xBB, 0xF0, 0x04},
                                   {.y = 0x20, .s = 0x8E},
                                   5,
                                   0,
                                   0,
                                   {.a = 0x86, .x = 0x86, .y = 0x20, .p = kP | kFlagN, .s = 0x86}}),
    [](const ::testing::TestParamInfo<UnstableCase>& info) {
      return std::string(info.param.name);
    });

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
