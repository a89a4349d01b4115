// Shared fixtures of the CPU core tests: a fresh machine with a program at $8000 (CpuRead
// returns cpuMem as stored from $8000 up), a log redirected to a temporary file, and a trace
// sink that collects lines.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/cpu/cpu_core.h"
#include "emulator/cpu/cpu_trace.h"
#include "emulator/host/log.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

inline const char* CoreKindName(CpuCoreKind core) {
  switch (core) {
    case CpuCoreKind::Reference:
      return "Reference";
    case CpuCoreKind::Second:
      return "Second";
    case CpuCoreKind::Full:
      break;
  }
  return "Full";
}

// Names the core in test parameter listings.
inline void PrintTo(CpuCoreKind core, std::ostream* out) {
  *out << CoreKindName(core);
}

}  // namespace wrenfold

namespace wrenfold::test {

inline constexpr uint16_t kProgramStart = 0x8000;

struct MemoryByte {
  uint16_t address;
  uint8_t value;
};

inline std::unique_ptr<MachineState> MakeMachine() {
  return std::make_unique<MachineState>();  // value-initialised: all zero
}

inline void Poke(MachineState& machine, uint16_t address, const std::vector<uint8_t>& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    machine.cpuMem[static_cast<uint16_t>(address + i)] = bytes[i];
  }
}

// Places the program at `address` and points PC at it.
inline void LoadProgram(MachineState& machine, const std::vector<uint8_t>& bytes,
                        uint16_t address = kProgramStart) {
  Poke(machine, address, bytes);
  machine.cpu.PC = address;
}

inline const char* CoreName(CpuCoreKind core) {
  return CoreKindName(core);
}

// Points the log at a file of its own for the lifetime of the object.
class ScopedLogFile {
 public:
  ScopedLogFile() : previousPath_(LogPath()) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name() + ".tst";
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    path_ = (std::filesystem::path(::testing::TempDir()) / name).string();
    SetLogPath(path_);
    ResetLog();
  }
  ~ScopedLogFile() {
    SetLogPath(previousPath_);
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  ScopedLogFile(const ScopedLogFile&) = delete;
  ScopedLogFile& operator=(const ScopedLogFile&) = delete;

  std::string Contents() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::string previousPath_;
  std::string path_;
};

// Collects the trace lines of the cores while it exists.
class TraceCollector {
 public:
  TraceCollector() : sink_{&TraceCollector::Collect, this} { TheCpuTrace().sink = &sink_; }
  ~TraceCollector() { TheCpuTrace().sink = nullptr; }
  TraceCollector(const TraceCollector&) = delete;
  TraceCollector& operator=(const TraceCollector&) = delete;

  const std::vector<std::string>& lines() const { return lines_; }
  void Clear() { lines_.clear(); }

 private:
  static void Collect(void* context, std::string_view line) {
    static_cast<TraceCollector*>(context)->lines_.emplace_back(line);
  }

  CpuTraceSink sink_;
  std::vector<std::string> lines_;
};

}  // namespace wrenfold::test
