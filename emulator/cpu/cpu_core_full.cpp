// The full core: the console's whole instruction set with its page-cross and branch cycles,
// P as the console shows it (bit 5 set, B clear), and the cycles the last instruction overran
// carried into the next call through cycleCarry, as the second core does.
#include "emulator/cpu/cpu_console_opcodes.h"
#include "emulator/cpu/cpu_core.h"
#include "emulator/cpu/cpu_interpreter.h"
#include "emulator/cpu/cpu_trace.h"

namespace wrenfold {
namespace {

// Flattened: every helper of the instruction switch is inlined into the line loop.
template <bool kTraced>
[[gnu::flatten]] void RunFullLine(MachineState& machine, const CpuTraceSink* traceSink) {
  Interpreter<CpuCoreKind::Full, kTraced> cpu(machine, kCyclesPerLine + machine.cycleCarry,
                                              traceSink);
  cpu.skipRepeatedPasses = true;
  while (cpu.budget > 0) {
    if (!cpu.Step()) {
      return;  // a jamming opcode leaves cycleCarry as it was
    }
  }
  cpu.StoreRegisters();
  machine.cycleCarry = static_cast<int16_t>(cpu.budget);
}

}  // namespace

void RunCpuLineFull(MachineState& machine) {
  if (const CpuTraceSink* traceSink = TheCpuTrace().sink) {
    RunFullLine<true>(machine, traceSink);
  } else {
    RunFullLine<false>(machine, nullptr);
  }
}

}  // namespace wrenfold
