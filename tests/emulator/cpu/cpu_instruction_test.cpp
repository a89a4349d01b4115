// Instructions that both cores execute alike: one instruction at $8000 from a known state,
// checked for registers, flags, memory, PC and the fixed cycle charge. Every case runs on both
// cores; no case starts with bit 5 of P set, so the second core's packing agrees.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "emulator/cpu/cpu_step.h"
#include "tests/emulator/cpu/cpu_test_support.h"

namespace wrenfold::test {
namespace {

constexpr uint8_t N = kFlagN;
constexpr uint8_t V = kFlagV;
constexpr uint8_t D = kFlagD;
constexpr uint8_t I = kFlagI;
constexpr uint8_t Z = kFlagZ;
constexpr uint8_t C = kFlagC;

struct Registers {
  uint8_t a = 0;
  uint8_t x = 0;
  uint8_t y = 0;
  uint8_t p = 0;
  uint8_t s = 0xFD;
};

struct InstructionCase {
  const char* name = "";
  std::vector<uint8_t> bytes{};  // placed at $8000
  Registers before{};
  std::vector<MemoryByte> memory{};
  Registers after{};
  uint16_t pcAfter = 0;
  int cycles = 0;
  std::vector<MemoryByte> memoryAfter{};
};

void PrintTo(const InstructionCase& c, std::ostream* out) {
  *out << c.name;
}

std::string Describe(const Registers& r, uint16_t pc) {
  char text[64];
  std::snprintf(text, sizeof text, "PC:%04X A:%02X X:%02X Y:%02X P:%02X S:%02X", pc, r.a, r.x, r.y,
                r.p, r.s);
  return text;
}

class InstructionTest : public ::testing::TestWithParam<std::tuple<CpuCoreKind, InstructionCase>> {
};

TEST_P(InstructionTest, MatchesTable) {
  const auto& [core, c] = GetParam();
  ScopedLogFile logFile;
  auto machine = MakeMachine();
  LoadProgram(*machine, c.bytes);
  machine->cpu.A = c.before.a;
  machine->cpu.X = c.before.x;
  machine->cpu.Y = c.before.y;
  machine->cpu.P = c.before.p;
  machine->cpu.S = c.before.s;
  for (const MemoryByte& byte : c.memory) {
    machine->cpuMem[byte.address] = byte.value;
  }

  const CpuStepResult result = StepCpuInstruction(*machine, core, kCyclesPerLine);

  ASSERT_FALSE(result.badOpcode);
  EXPECT_EQ(kCyclesPerLine - result.budgetLeft, c.cycles);
  const CpuRegisters& cpu = machine->cpu;
  const Registers actual{cpu.A, cpu.X, cpu.Y, cpu.P, cpu.S};
  EXPECT_EQ(Describe(actual, cpu.PC), Describe(c.after, c.pcAfter));
  for (const MemoryByte& byte : c.memoryAfter) {
    EXPECT_EQ(machine->cpuMem[byte.address], byte.value) << "at $" << std::hex << byte.address;
  }
}

std::string CaseName(const ::testing::TestParamInfo<InstructionTest::ParamType>& info) {
  return std::string(CoreName(std::get<0>(info.param))) + "_" + std::get<1>(info.param).name;
}

template <std::size_t kCount>
auto OnBothCores(const InstructionCase (&cases)[kCount]) {
  return ::testing::Combine(::testing::Values(CpuCoreKind::Reference, CpuCoreKind::Second),
                            ::testing::ValuesIn(cases));
}

// clang-format off
const InstructionCase kLoadStoreCases[] = {
    {.name = "LdaImmediateSetsZero", .bytes = {0xA9, 0x00}, .before = {.a = 0x12},
     .after = {.p = Z}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "LdaImmediateSetsNegative", .bytes = {0xA9, 0x80}, .before = {.p = Z | C},
     .after = {.a = 0x80, .p = N | C}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "LdaZeroPage", .bytes = {0xA5, 0x10}, .memory = {{0x0010, 0x42}},
     .after = {.a = 0x42}, .pcAfter = 0x8002, .cycles = 3},
    {.name = "LdaZeroPageXWrapsInPageZero", .bytes = {0xB5, 0xF0}, .before = {.x = 0x20},
     .memory = {{0x0010, 0x42}, {0x0110, 0x99}}, .after = {.a = 0x42, .x = 0x20},
     .pcAfter = 0x8002, .cycles = 4},
    {.name = "LdxZeroPageYWrapsInPageZero", .bytes = {0xB6, 0xF0}, .before = {.y = 0x20},
     .memory = {{0x0010, 0x42}, {0x0110, 0x99}}, .after = {.x = 0x42, .y = 0x20},
     .pcAfter = 0x8002, .cycles = 4},
    {.name = "LdaAbsoluteXAcrossPageCostsFour", .bytes = {0xBD, 0xF0, 0x02},
     .before = {.x = 0x20}, .memory = {{0x0310, 0x42}}, .after = {.a = 0x42, .x = 0x20},
     .pcAfter = 0x8003, .cycles = 4},
    {.name = "LdaAbsoluteReadsThroughRamMirror", .bytes = {0xAD, 0x01, 0x08},
     .memory = {{0x0001, 0x42}}, .after = {.a = 0x42}, .pcAfter = 0x8003, .cycles = 4},
    {.name = "LdaIndirectYTakesPointerHighFrom0100", .bytes = {0xB1, 0xFF},
     .before = {.y = 0x05},
     .memory = {{0x00FF, 0x00}, {0x0100, 0x03}, {0x0000, 0x04}, {0x0305, 0x42}, {0x0405, 0x99}},
     .after = {.a = 0x42, .y = 0x05}, .pcAfter = 0x8002, .cycles = 5},
    {.name = "LdaIndirectXTakesPointerHighFrom0000", .bytes = {0xA1, 0xFF},
     .memory = {{0x00FF, 0x00}, {0x0000, 0x04}, {0x0100, 0x03}, {0x0400, 0x42}, {0x0300, 0x99}},
     .after = {.a = 0x42}, .pcAfter = 0x8002, .cycles = 6},
    {.name = "LdaIndirectXAddsXInPageZero", .bytes = {0xA1, 0xF0}, .before = {.x = 0x20},
     .memory = {{0x0010, 0x00}, {0x0011, 0x03}, {0x0300, 0x42}},
     .after = {.a = 0x42, .x = 0x20}, .pcAfter = 0x8002, .cycles = 6},
    {.name = "LdaIndirectZeroPage", .bytes = {0xB2, 0x20},
     .memory = {{0x0020, 0x00}, {0x0021, 0x03}, {0x0300, 0x42}}, .after = {.a = 0x42},
     .pcAfter = 0x8002, .cycles = 5},
    {.name = "LdyAbsoluteX", .bytes = {0xBC, 0x00, 0x03}, .before = {.x = 0x01},
     .memory = {{0x0301, 0x80}}, .after = {.x = 0x01, .y = 0x80, .p = N}, .pcAfter = 0x8003,
     .cycles = 4},
    {.name = "LdxAbsoluteY", .bytes = {0xBE, 0xFF, 0x02}, .before = {.y = 0x01},
     .memory = {{0x0300, 0x42}}, .after = {.x = 0x42, .y = 0x01}, .pcAfter = 0x8003,
     .cycles = 4},
    {.name = "StaZeroPageLeavesFlags", .bytes = {0x85, 0x10}, .before = {.a = 0x00, .p = N | C},
     .after = {.p = N | C}, .pcAfter = 0x8002, .cycles = 3, .memoryAfter = {{0x0010, 0x00}}},
    {.name = "StaAbsoluteYCostsFive", .bytes = {0x99, 0x00, 0x03},
     .before = {.a = 0x42, .y = 0x10}, .after = {.a = 0x42, .y = 0x10}, .pcAfter = 0x8003,
     .cycles = 5, .memoryAfter = {{0x0310, 0x42}}},
    {.name = "StaAbsoluteXCostsFive", .bytes = {0x9D, 0x00, 0x03},
     .before = {.a = 0x42, .x = 0x10}, .after = {.a = 0x42, .x = 0x10}, .pcAfter = 0x8003,
     .cycles = 5, .memoryAfter = {{0x0310, 0x42}}},
    {.name = "StaAbsoluteWritesThroughRamMirror", .bytes = {0x8D, 0x05, 0x08},
     .before = {.a = 0x42}, .after = {.a = 0x42}, .pcAfter = 0x8003, .cycles = 4,
     .memoryAfter = {{0x0005, 0x42}, {0x0805, 0x00}}},
    {.name = "StaIndirectYCostsSix", .bytes = {0x91, 0x20}, .before = {.a = 0x42, .y = 0x02},
     .memory = {{0x0020, 0x00}, {0x0021, 0x03}}, .after = {.a = 0x42, .y = 0x02},
     .pcAfter = 0x8002, .cycles = 6, .memoryAfter = {{0x0302, 0x42}}},
    {.name = "StaIndirectX", .bytes = {0x81, 0x1E}, .before = {.a = 0x42, .x = 0x02},
     .memory = {{0x0020, 0x00}, {0x0021, 0x03}}, .after = {.a = 0x42, .x = 0x02},
     .pcAfter = 0x8002, .cycles = 6, .memoryAfter = {{0x0300, 0x42}}},
    {.name = "StaIndirectZeroPage", .bytes = {0x92, 0x20}, .before = {.a = 0x42},
     .memory = {{0x0020, 0x00}, {0x0021, 0x03}}, .after = {.a = 0x42}, .pcAfter = 0x8002,
     .cycles = 5, .memoryAfter = {{0x0300, 0x42}}},
    {.name = "StxZeroPageYWrapsInPageZero", .bytes = {0x96, 0xF0},
     .before = {.x = 0x42, .y = 0x20}, .after = {.x = 0x42, .y = 0x20}, .pcAfter = 0x8002,
     .cycles = 4, .memoryAfter = {{0x0010, 0x42}, {0x0110, 0x00}}},
    {.name = "StyZeroPageX", .bytes = {0x94, 0x10}, .before = {.x = 0x01, .y = 0x42},
     .after = {.x = 0x01, .y = 0x42}, .pcAfter = 0x8002, .cycles = 4,
     .memoryAfter = {{0x0011, 0x42}}},
    {.name = "StxAbsolute", .bytes = {0x8E, 0x00, 0x03}, .before = {.x = 0x42},
     .after = {.x = 0x42}, .pcAfter = 0x8003, .cycles = 4, .memoryAfter = {{0x0300, 0x42}}},
};
INSTANTIATE_TEST_SUITE_P(LoadStore, InstructionTest, OnBothCores(kLoadStoreCases), CaseName);

const InstructionCase kArithmeticCases[] = {
    {.name = "AdcSignedOverflow", .bytes = {0x69, 0x50}, .before = {.a = 0x50},
     .after = {.a = 0xA0, .p = N | V}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "AdcCarryOut", .bytes = {0x69, 0xFF}, .before = {.a = 0x01},
     .after = {.a = 0x00, .p = Z | C}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "AdcCarryInOverflows", .bytes = {0x69, 0x00}, .before = {.a = 0x7F, .p = C},
     .after = {.a = 0x80, .p = N | V}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "AdcIgnoresDecimalFlag", .bytes = {0x69, 0x01}, .before = {.a = 0x09, .p = D},
     .after = {.a = 0x0A, .p = D}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "AdcNegativeOverflow", .bytes = {0x6D, 0x00, 0x03}, .before = {.a = 0x80},
     .memory = {{0x0300, 0xFF}}, .after = {.a = 0x7F, .p = V | C}, .pcAfter = 0x8003,
     .cycles = 4},
    {.name = "SbcBorrowAndOverflow", .bytes = {0xE9, 0xB0}, .before = {.a = 0x50, .p = C},
     .after = {.a = 0xA0, .p = N | V}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "SbcZeroWithoutBorrow", .bytes = {0xE9, 0x00}, .before = {.a = 0x7F, .p = C},
     .after = {.a = 0x7F, .p = C}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "SbcBorrowInOverflows", .bytes = {0xE9, 0x00}, .before = {.a = 0x80},
     .after = {.a = 0x7F, .p = V | C}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "SbcIgnoresDecimalFlag", .bytes = {0xE9, 0x01}, .before = {.a = 0x10, .p = C | D},
     .after = {.a = 0x0F, .p = C | D}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "SbcIndirectY", .bytes = {0xF1, 0x20}, .before = {.a = 0x00, .y = 0x01, .p = C},
     .memory = {{0x0020, 0x00}, {0x0021, 0x03}, {0x0301, 0x01}},
     .after = {.a = 0xFF, .y = 0x01, .p = N}, .pcAfter = 0x8002, .cycles = 5},
    {.name = "AndImmediateToZero", .bytes = {0x29, 0x0F}, .before = {.a = 0xF0, .p = N},
     .after = {.a = 0x00, .p = Z}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "OraZeroPage", .bytes = {0x05, 0x10}, .before = {.a = 0x01},
     .memory = {{0x0010, 0x80}}, .after = {.a = 0x81, .p = N}, .pcAfter = 0x8002, .cycles = 3},
    {.name = "EorAbsoluteY", .bytes = {0x59, 0x00, 0x03}, .before = {.a = 0xFF, .y = 0x01},
     .memory = {{0x0301, 0x0F}}, .after = {.a = 0xF0, .y = 0x01, .p = N}, .pcAfter = 0x8003,
     .cycles = 4},
    {.name = "OraIndirectZeroPage", .bytes = {0x12, 0x20}, .before = {.a = 0x01},
     .memory = {{0x0020, 0x00}, {0x0021, 0x03}, {0x0300, 0x02}}, .after = {.a = 0x03},
     .pcAfter = 0x8002, .cycles = 5},
    {.name = "AndIndirectZeroPage", .bytes = {0x32, 0x20}, .before = {.a = 0x0F},
     .memory = {{0x0020, 0x00}, {0x0021, 0x03}, {0x0300, 0x80}}, .after = {.a = 0x00, .p = Z},
     .pcAfter = 0x8002, .cycles = 5},
    {.name = "EorIndirectZeroPage", .bytes = {0x52, 0x20}, .before = {.a = 0x0F},
     .memory = {{0x0020, 0x00}, {0x0021, 0x03}, {0x0300, 0x8F}}, .after = {.a = 0x80, .p = N},
     .pcAfter = 0x8002, .cycles = 5},
};
INSTANTIATE_TEST_SUITE_P(Arithmetic, InstructionTest, OnBothCores(kArithmeticCases), CaseName);

const InstructionCase kCompareCases[] = {
    {.name = "CmpImmediateEqualCostsThree", .bytes = {0xC9, 0x40}, .before = {.a = 0x40},
     .after = {.a = 0x40, .p = Z | C}, .pcAfter = 0x8002, .cycles = 3},
    {.name = "CmpImmediateLess", .bytes = {0xC9, 0x41}, .before = {.a = 0x40, .p = C},
     .after = {.a = 0x40, .p = N}, .pcAfter = 0x8002, .cycles = 3},
    {.name = "CmpKeepsOverflow", .bytes = {0xC9, 0x10}, .before = {.a = 0x40, .p = V},
     .after = {.a = 0x40, .p = V | C}, .pcAfter = 0x8002, .cycles = 3},
    {.name = "CmpIndirectZeroPage", .bytes = {0xD2, 0x20}, .before = {.a = 0x40},
     .memory = {{0x0020, 0x00}, {0x0021, 0x03}, {0x0300, 0x40}},
     .after = {.a = 0x40, .p = Z | C}, .pcAfter = 0x8002, .cycles = 5},
    {.name = "CpxImmediateCostsTwo", .bytes = {0xE0, 0x10}, .before = {.x = 0x20},
     .after = {.x = 0x20, .p = C}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "CpyZeroPage", .bytes = {0xC4, 0x10}, .before = {.y = 0x05},
     .memory = {{0x0010, 0x06}}, .after = {.y = 0x05, .p = N}, .pcAfter = 0x8002, .cycles = 3},
    {.name = "CpxAbsolute", .bytes = {0xEC, 0x00, 0x03}, .before = {.x = 0x80},
     .memory = {{0x0300, 0x00}}, .after = {.x = 0x80, .p = N | C}, .pcAfter = 0x8003,
     .cycles = 4},
    {.name = "BitZeroPageCopiesBits", .bytes = {0x24, 0x10}, .before = {.a = 0x3F, .p = C},
     .memory = {{0x0010, 0xC0}}, .after = {.a = 0x3F, .p = N | V | Z | C}, .pcAfter = 0x8002,
     .cycles = 3},
    {.name = "BitAbsoluteClearsBits", .bytes = {0x2C, 0x00, 0x03},
     .before = {.a = 0x01, .p = N | V | Z}, .memory = {{0x0300, 0x01}}, .after = {.a = 0x01},
     .pcAfter = 0x8003, .cycles = 4},
    {.name = "BitAbsoluteReadsStatusThroughBus", .bytes = {0x2C, 0x02, 0x20},
     .memory = {{0x2002, 0x80}}, .after = {.p = N | Z}, .pcAfter = 0x8003, .cycles = 4,
     .memoryAfter = {{0x2002, 0x00}}},
    {.name = "BitIndirectX", .bytes = {0x34, 0x1E}, .before = {.a = 0x40, .x = 0x02},
     .memory = {{0x0020, 0x00}, {0x0021, 0x03}, {0x0300, 0x40}},
     .after = {.a = 0x40, .x = 0x02, .p = V}, .pcAfter = 0x8002, .cycles = 4},
};
INSTANTIATE_TEST_SUITE_P(Compare, InstructionTest, OnBothCores(kCompareCases), CaseName);

const InstructionCase kShiftCases[] = {
    {.name = "AslAccumulatorCarriesOut", .bytes = {0x0A}, .before = {.a = 0x80, .p = V | D | I},
     .after = {.p = V | D | I | Z | C}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "LsrAccumulator", .bytes = {0x4A}, .before = {.a = 0x01, .p = N},
     .after = {.p = Z | C}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "RolAccumulatorIntoCarry", .bytes = {0x2A}, .before = {.a = 0x80},
     .after = {.p = Z | C}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "RolAccumulatorFromCarry", .bytes = {0x2A}, .before = {.a = 0x40, .p = C},
     .after = {.a = 0x81, .p = N}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "RorAccumulatorFromCarry", .bytes = {0x6A}, .before = {.a = 0x01, .p = C},
     .after = {.a = 0x80, .p = N | C}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "AslZeroPage", .bytes = {0x06, 0x10}, .memory = {{0x0010, 0x41}},
     .after = {.p = N}, .pcAfter = 0x8002, .cycles = 5, .memoryAfter = {{0x0010, 0x82}}},
    {.name = "LsrZeroPageX", .bytes = {0x56, 0x0F}, .before = {.x = 0x01},
     .memory = {{0x0010, 0x02}}, .after = {.x = 0x01}, .pcAfter = 0x8002, .cycles = 6,
     .memoryAfter = {{0x0010, 0x01}}},
    {.name = "RolAbsolute", .bytes = {0x2E, 0x00, 0x03}, .before = {.p = C},
     .memory = {{0x0300, 0x80}}, .after = {.p = C}, .pcAfter = 0x8003, .cycles = 6,
     .memoryAfter = {{0x0300, 0x01}}},
    {.name = "RorAbsoluteX", .bytes = {0x7E, 0xFF, 0x02}, .before = {.x = 0x01},
     .memory = {{0x0300, 0x02}}, .after = {.x = 0x01}, .pcAfter = 0x8003, .cycles = 7,
     .memoryAfter = {{0x0300, 0x01}}},
    {.name = "AslAbsoluteX", .bytes = {0x1E, 0x00, 0x03}, .memory = {{0x0300, 0x01}},
     .after = {}, .pcAfter = 0x8003, .cycles = 7, .memoryAfter = {{0x0300, 0x02}}},
    {.name = "IncZeroPageWraps", .bytes = {0xE6, 0x10}, .memory = {{0x0010, 0xFF}},
     .after = {.p = Z}, .pcAfter = 0x8002, .cycles = 5, .memoryAfter = {{0x0010, 0x00}}},
    {.name = "IncZeroPageX", .bytes = {0xF6, 0x0F}, .before = {.x = 0x01},
     .memory = {{0x0010, 0x7F}}, .after = {.x = 0x01, .p = N}, .pcAfter = 0x8002, .cycles = 6,
     .memoryAfter = {{0x0010, 0x80}}},
    {.name = "IncAbsoluteX", .bytes = {0xFE, 0x00, 0x03}, .before = {.x = 0x01},
     .memory = {{0x0301, 0x01}}, .after = {.x = 0x01}, .pcAfter = 0x8003, .cycles = 7,
     .memoryAfter = {{0x0301, 0x02}}},
    {.name = "DecAbsoluteWraps", .bytes = {0xCE, 0x00, 0x03}, .after = {.p = N},
     .pcAfter = 0x8003, .cycles = 6, .memoryAfter = {{0x0300, 0xFF}}},
    {.name = "DecAbsoluteX", .bytes = {0xDE, 0x00, 0x03}, .before = {.x = 0x01},
     .memory = {{0x0301, 0x01}}, .after = {.x = 0x01, .p = Z}, .pcAfter = 0x8003, .cycles = 7,
     .memoryAfter = {{0x0301, 0x00}}},
    {.name = "DecZeroPageX", .bytes = {0xD6, 0x0F}, .before = {.x = 0x01},
     .memory = {{0x0010, 0x02}}, .after = {.x = 0x01}, .pcAfter = 0x8002, .cycles = 6,
     .memoryAfter = {{0x0010, 0x01}}},
    {.name = "IncAccumulatorCostsFour", .bytes = {0x1A}, .before = {.a = 0xFF},
     .after = {.p = Z}, .pcAfter = 0x8001, .cycles = 4},
    {.name = "InxWraps", .bytes = {0xE8}, .before = {.x = 0xFF}, .after = {.p = Z},
     .pcAfter = 0x8001, .cycles = 2},
    {.name = "InyNegative", .bytes = {0xC8}, .before = {.y = 0x7F},
     .after = {.y = 0x80, .p = N}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "DexToZero", .bytes = {0xCA}, .before = {.x = 0x01}, .after = {.p = Z},
     .pcAfter = 0x8001, .cycles = 2},
    {.name = "DeyWraps", .bytes = {0x88}, .after = {.y = 0xFF, .p = N}, .pcAfter = 0x8001,
     .cycles = 2},
};
INSTANTIATE_TEST_SUITE_P(ShiftAndStep, InstructionTest, OnBothCores(kShiftCases), CaseName);

const InstructionCase kTransferCases[] = {
    {.name = "TaxSetsNegative", .bytes = {0xAA}, .before = {.a = 0x80},
     .after = {.a = 0x80, .x = 0x80, .p = N}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "TaySetsZero", .bytes = {0xA8}, .before = {.y = 0x05}, .after = {.p = Z},
     .pcAfter = 0x8001, .cycles = 2},
    {.name = "Txa", .bytes = {0x8A}, .before = {.x = 0x42, .p = Z},
     .after = {.a = 0x42, .x = 0x42}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "Tya", .bytes = {0x98}, .before = {.y = 0x81},
     .after = {.a = 0x81, .y = 0x81, .p = N}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "TsxSetsFlags", .bytes = {0xBA}, .before = {.s = 0x00},
     .after = {.p = Z, .s = 0x00}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "TxsLeavesFlags", .bytes = {0x9A}, .before = {.x = 0x00, .p = N},
     .after = {.p = N, .s = 0x00}, .pcAfter = 0x8001, .cycles = 2},
};
INSTANTIATE_TEST_SUITE_P(Transfer, InstructionTest, OnBothCores(kTransferCases), CaseName);

const InstructionCase kStackCases[] = {
    {.name = "PhaStoresThenDecrements", .bytes = {0x48}, .before = {.a = 0x42},
     .after = {.a = 0x42, .s = 0xFC}, .pcAfter = 0x8001, .cycles = 3,
     .memoryAfter = {{0x01FD, 0x42}}},
    {.name = "PhaWrapsWithinPageOne", .bytes = {0x48}, .before = {.a = 0x42, .s = 0x00},
     .after = {.a = 0x42, .s = 0xFF}, .pcAfter = 0x8001, .cycles = 3,
     .memoryAfter = {{0x0100, 0x42}, {0x0000, 0x00}}},
    {.name = "PlaSetsFlags", .bytes = {0x68}, .before = {.s = 0xFC},
     .memory = {{0x01FD, 0x80}}, .after = {.a = 0x80, .p = N, .s = 0xFD}, .pcAfter = 0x8001,
     .cycles = 4},
    {.name = "PlaWrapsWithinPageOne", .bytes = {0x68}, .before = {.a = 0x42, .s = 0xFF},
     .memory = {{0x0100, 0x00}, {0x0200, 0x99}}, .after = {.p = Z, .s = 0x00},
     .pcAfter = 0x8001, .cycles = 4},
    {.name = "PhpPushesFlagsWithoutForcingB", .bytes = {0x08}, .before = {.p = N | V | Z | C},
     .after = {.p = N | V | Z | C, .s = 0xFC}, .pcAfter = 0x8001, .cycles = 3,
     .memoryAfter = {{0x01FD, N | V | Z | C}}},
    {.name = "PlpLoadsFlags", .bytes = {0x28}, .before = {.s = 0xFC},
     .memory = {{0x01FD, N | V | D | C}}, .after = {.p = N | V | D | C, .s = 0xFD},
     .pcAfter = 0x8001, .cycles = 4},
    {.name = "PhxPushesX", .bytes = {0xDA}, .before = {.x = 0x42},
     .after = {.x = 0x42, .s = 0xFC}, .pcAfter = 0x8001, .cycles = 3,
     .memoryAfter = {{0x01FD, 0x42}}},
};
INSTANTIATE_TEST_SUITE_P(Stack, InstructionTest, OnBothCores(kStackCases), CaseName);

const InstructionCase kBranchCases[] = {
    {.name = "BneTakenForwardCostsTwo", .bytes = {0xD0, 0x10}, .pcAfter = 0x8012,
     .cycles = 2},
    {.name = "BneNotTakenCostsTwo", .bytes = {0xD0, 0x10}, .before = {.p = Z},
     .after = {.p = Z}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "BmiTakenBackwardAcrossPage", .bytes = {0x30, 0x80}, .before = {.p = N},
     .after = {.p = N}, .pcAfter = 0x7F82, .cycles = 2},
    {.name = "BplTaken", .bytes = {0x10, 0x02}, .pcAfter = 0x8004, .cycles = 2},
    {.name = "BplNotTaken", .bytes = {0x10, 0x02}, .before = {.p = N}, .after = {.p = N},
     .pcAfter = 0x8002, .cycles = 2},
    {.name = "BvcTaken", .bytes = {0x50, 0x02}, .pcAfter = 0x8004, .cycles = 2},
    {.name = "BvsNotTaken", .bytes = {0x70, 0x02}, .pcAfter = 0x8002, .cycles = 2},
    {.name = "BvsTaken", .bytes = {0x70, 0xFE}, .before = {.p = V}, .after = {.p = V},
     .pcAfter = 0x8000, .cycles = 2},
    {.name = "BccTaken", .bytes = {0x90, 0x02}, .pcAfter = 0x8004, .cycles = 2},
    {.name = "BcsTaken", .bytes = {0xB0, 0x02}, .before = {.p = C}, .after = {.p = C},
     .pcAfter = 0x8004, .cycles = 2},
    {.name = "BeqTaken", .bytes = {0xF0, 0x02}, .before = {.p = Z}, .after = {.p = Z},
     .pcAfter = 0x8004, .cycles = 2},
};
INSTANTIATE_TEST_SUITE_P(Branch, InstructionTest, OnBothCores(kBranchCases), CaseName);

const InstructionCase kJumpCases[] = {
    {.name = "JmpAbsolute", .bytes = {0x4C, 0x34, 0x12}, .pcAfter = 0x1234, .cycles = 3},
    {.name = "JmpIndirect", .bytes = {0x6C, 0x00, 0x03},
     .memory = {{0x0300, 0x34}, {0x0301, 0x12}}, .pcAfter = 0x1234, .cycles = 5},
    {.name = "JmpIndirectHighByteFromSamePage", .bytes = {0x6C, 0xFF, 0x02},
     .memory = {{0x02FF, 0x34}, {0x0200, 0x12}, {0x0300, 0x99}}, .pcAfter = 0x1234,
     .cycles = 5},
    {.name = "JmpIndirect10FFThroughRamMirror", .bytes = {0x6C, 0xFF, 0x10},
     .memory = {{0x00FF, 0x34}, {0x0000, 0x12}, {0x0100, 0x99}}, .pcAfter = 0x1234,
     .cycles = 5},
    {.name = "JsrPushesAddressOfOperandHighByte", .bytes = {0x20, 0x00, 0x90},
     .after = {.s = 0xFB}, .pcAfter = 0x9000, .cycles = 6,
     .memoryAfter = {{0x01FD, 0x80}, {0x01FC, 0x02}}},
    {.name = "RtsAddsOne", .bytes = {0x60}, .before = {.s = 0xFB},
     .memory = {{0x01FC, 0x02}, {0x01FD, 0x80}}, .pcAfter = 0x8003, .cycles = 6},
    {.name = "RtsWrapsStack", .bytes = {0x60}, .before = {.s = 0xFF},
     .memory = {{0x0100, 0x33}, {0x0101, 0x12}}, .after = {.s = 0x01}, .pcAfter = 0x1234,
     .cycles = 6},
    {.name = "RtiRestoresFlagsWithoutAddingOne", .bytes = {0x40}, .before = {.s = 0xFA},
     .memory = {{0x01FB, N | V | Z | C}, {0x01FC, 0x34}, {0x01FD, 0x12}},
     .after = {.p = N | V | Z | C}, .pcAfter = 0x1234, .cycles = 6},
};
INSTANTIATE_TEST_SUITE_P(Jump, InstructionTest, OnBothCores(kJumpCases), CaseName);

const InstructionCase kFlagAndNopCases[] = {
    {.name = "Clc", .bytes = {0x18}, .before = {.p = N | C}, .after = {.p = N},
     .pcAfter = 0x8001, .cycles = 2},
    {.name = "Sec", .bytes = {0x38}, .after = {.p = C}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "Cli", .bytes = {0x58}, .before = {.p = I | Z}, .after = {.p = Z},
     .pcAfter = 0x8001, .cycles = 2},
    {.name = "Sei", .bytes = {0x78}, .after = {.p = I}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "Clv", .bytes = {0xB8}, .before = {.p = V | N}, .after = {.p = N},
     .pcAfter = 0x8001, .cycles = 2},
    {.name = "Cld", .bytes = {0xD8}, .before = {.p = D | C}, .after = {.p = C},
     .pcAfter = 0x8001, .cycles = 2},
    {.name = "Sed", .bytes = {0xF8}, .after = {.p = D}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "NopCostsTwo", .bytes = {0xEA}, .before = {.a = 1, .p = C},
     .after = {.a = 1, .p = C}, .pcAfter = 0x8001, .cycles = 2},
    {.name = "FreeNop03", .bytes = {0x03, 0xA9}, .pcAfter = 0x8001, .cycles = 0},
    {.name = "FreeNop04", .bytes = {0x04, 0xA9}, .pcAfter = 0x8001, .cycles = 0},
    {.name = "FreeNopF4", .bytes = {0xF4, 0xA9}, .pcAfter = 0x8001, .cycles = 0},
};
INSTANTIATE_TEST_SUITE_P(FlagAndNop, InstructionTest, OnBothCores(kFlagAndNopCases), CaseName);
// clang-format on

}  // namespace
}  // namespace wrenfold::test
