// The second core: flags unpacked during a call (bit 5 is lost on the way back), and the
// cycles the last instruction overran are carried into the next call through cycleCarry.
#include "emulator/cpu/cpu_core.h"
#include "emulator/cpu/cpu_interpreter.h"
#include "emulator/cpu/cpu_trace.h"

namespace wrenfold {
namespace {

// Flattened: every helper of the instruction switch is inlined into the line loop.
template <bool kTraced>
[[gnu::flatten]] void RunSecondLine(MachineState& machine, const CpuTraceSink* traceSink) {
  Interpreter<CpuCoreKind::Second, kTraced> cpu(machine, kCyclesPerLine + machine.cycleCarry,
                                                traceSink);
  cpu.skipRepeatedPasses = true;
  if (!cpu.RunBudget()) {
    return;  // a bad opcode leaves cycleCarry as it was
  }
  cpu.StoreRegisters();
  machine.cycleCarry = static_cast<int16_t>(cpu.budget);
}

}  // namespace

void RunCpuLineSecond(MachineState& machine) {
  if (const CpuTraceSink* traceSink = TheCpuTrace().sink) {
    RunSecondLine<true>(machine, traceSink);
  } else {
    RunSecondLine<false>(machine, nullptr);
  }
}

}  // namespace wrenfold
