// The full core against the whole nestest log (8991 lines, undocumented opcodes from line
// 5004): before every instruction the address, the instruction bytes, the undocumented marker,
// the mnemonic and A, X, Y, P and SP must equal the log's, P with all eight bits. The log's
// CYC column counts CPU cycles from the reset sequence (7 cycles, which our PowerOn does not
// spend), so cycles are compared as differences: each instruction's cost when stepping, and
// the cycle count at the start of every scanline call when running whole lines with the
// leftover carried. The PPU column ("PPU: line, dot") is not compared: our PPU works a
// scanline at a time and a line here lasts 114 CPU cycles, not the console's 113 2/3, so dots
// are not modelled.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "emulator/cpu/cpu_step.h"
#include "tests/emulator/cpu/cpu_test_support.h"

namespace wrenfold::test {
namespace {

constexpr const char* kRomPath = WRENFOLD_SHARED_DIR "/testroms/cpu/nestest/nestest.nes";
constexpr const char* kLogPath = WRENFOLD_SHARED_DIR "/testroms/cpu/nestest/nestest.log";
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kPrgSize = 16 * 1024;
constexpr std::size_t kLogLines = 8991;
// Address, instruction bytes, the undocumented marker and the mnemonic.
constexpr std::size_t kComparedTraceColumns = 19;
// nestest leaves its error codes here: 0 when every documented / undocumented check passed.
constexpr uint16_t kDocumentedResult = 0x0002;
constexpr uint16_t kUndocumentedResult = 0x0003;

unsigned HexAfter(const std::string& line, const std::string& label) {
  const std::size_t at = line.find(label, 48);
  if (at == std::string::npos) return 0x100;  // never equal to a real byte
  return static_cast<unsigned>(std::strtoul(line.c_str() + at + label.size(), nullptr, 16));
}

// "C000  4C F5 C5  JMP $C5F5 ... A:00 X:00 Y:00 P:24 SP:FD": the compared columns and the
// registers, so ours and the log's (which adds memory values and PPU/CYC) compare as text.
std::string ComparedPart(const std::string& line) {
  if (line.size() < 73) return "(short line) " + line;
  char registers[40];
  std::snprintf(registers, sizeof registers, " A:%02X X:%02X Y:%02X P:%02X SP:%02X",
                HexAfter(line, "A:"), HexAfter(line, "X:"), HexAfter(line, "Y:"),
                HexAfter(line, "P:"), HexAfter(line, "SP:"));
  return line.substr(0, kComparedTraceColumns) + registers;
}

long LogCycles(const std::string& line) {
  const std::size_t at = line.find("CYC:");
  return at == std::string::npos ? -1 : std::strtol(line.c_str() + at + 4, nullptr, 10);
}

class NestestFullCoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream rom(kRomPath, std::ios::binary);
    std::ifstream log(kLogPath);
    if (!rom || !log) {
      GTEST_SKIP() << "nestest.nes or nestest.log not found under " << WRENFOLD_SHARED_DIR
                   << "/testroms/cpu/nestest";
    }
    const std::vector<char> image{std::istreambuf_iterator<char>(rom),
                                  std::istreambuf_iterator<char>()};
    ASSERT_GE(image.size(), kHeaderSize + kPrgSize) << "nestest.nes is truncated";
    for (std::string line; std::getline(log, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      logLines.push_back(line);
    }
    ASSERT_EQ(logLines.size(), kLogLines);
    // Mapper 0 with one 16 KB bank: the bank appears at $8000 and at $C000.
    for (const uint16_t bank : {0x8000, 0xC000}) {
      for (std::size_t i = 0; i < kPrgSize; ++i) {
        machine->cpuMem[bank + i] = static_cast<uint8_t>(image[kHeaderSize + i]);
      }
    }
    // The log's first line: automatic entry at $C000, P = $24, S = $FD.
    machine->cpu.PC = 0xC000;
    machine->cpu.P = 0x24;
    machine->cpu.S = 0xFD;
  }

  std::unique_ptr<MachineState> machine = MakeMachine();
  ScopedLogFile logFile;
  std::vector<std::string> logLines;
};

TEST_F(NestestFullCoreTest, EveryInstructionMatchesTheLogWithItsCycles) {
  TraceCollector trace;
  std::size_t mismatches = 0;
  for (std::size_t i = 0; i < kLogLines && mismatches < 5; ++i) {
    trace.Clear();
    const CpuStepResult step = StepCpuInstruction(*machine, CpuCoreKind::Full, kCyclesPerLine);
    ASSERT_FALSE(step.badOpcode) << "log line " << i + 1 << ": " << logLines[i];
    ASSERT_EQ(trace.lines().size(), 1u);
    const std::string ours = ComparedPart(trace.lines()[0]);
    const std::string expected = ComparedPart(logLines[i]);
    if (ours != expected) {
      ADD_FAILURE() << "log line " << i + 1 << "\n log  " << expected << "\n ours " << ours;
      ++mismatches;
    }
    if (i + 1 < kLogLines) {
      const long cost = LogCycles(logLines[i + 1]) - LogCycles(logLines[i]);
      if (kCyclesPerLine - step.budgetLeft != cost) {
        ADD_FAILURE() << "log line " << i + 1 << " costs " << cost << " cycles, ours "
                      << kCyclesPerLine - step.budgetLeft << "\n " << logLines[i];
        ++mismatches;
      }
    }
  }
  EXPECT_EQ(machine->cpuMem[kDocumentedResult], 0x00);
  EXPECT_EQ(machine->cpuMem[kUndocumentedResult], 0x00);
}

// Whole scanline calls as the emulator makes them. Each call starts at the instruction the
// log shows at cycle 7 + 114 x calls - carry, the carry being what the last instruction of
// the previous call overran.
TEST_F(NestestFullCoreTest, ScanlineCallsStartWhereTheCycleColumnSays) {
  TraceCollector trace;
  long calls = 0;
  while (trace.lines().size() < kLogLines && calls < 1000) {
    const std::size_t first = trace.lines().size();
    const long expectedCycle =
        LogCycles(logLines[0]) + kCyclesPerLine * calls - machine->cycleCarry;
    RunCpuLine(*machine, CpuCoreKind::Full);
    ++calls;
    ASSERT_GT(trace.lines().size(), first);
    ASSERT_EQ(LogCycles(logLines[first]), expectedCycle)
        << "call " << calls << ", log line " << first + 1 << ": " << logLines[first];
  }
  // The last call runs on past the log's end, into whatever its final RTS returns to.
  ASSERT_GE(trace.lines().size(), kLogLines);
  for (std::size_t i = 0; i < kLogLines; ++i) {
    ASSERT_EQ(ComparedPart(trace.lines()[i]), ComparedPart(logLines[i])) << "log line " << i + 1;
  }
}

}  // namespace
}  // namespace wrenfold::test
