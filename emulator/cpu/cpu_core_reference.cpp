// The reference core: packed flags and a fresh budget of one scanline on every call; cycles an
// instruction spends beyond the budget are forgotten.
#include "emulator/cpu/cpu_core.h"
#include "emulator/cpu/cpu_interpreter.h"
#include "emulator/cpu/cpu_trace.h"

namespace wrenfold {
namespace {

// Flattened: every helper of the instruction switch is inlined into the line loop.
template <bool kTraced>
[[gnu::flatten]] void RunReferenceLine(MachineState& machine, const CpuTraceSink* traceSink) {
  Interpreter<CpuCoreKind::Reference, kTraced> cpu(machine, kCyclesPerLine, traceSink);
  cpu.skipRepeatedPasses = true;
  if (!cpu.RunBudget()) {
    return;
  }
  cpu.StoreRegisters();
}

}  // namespace

void RunCpuLineReference(MachineState& machine) {
  if (const CpuTraceSink* traceSink = TheCpuTrace().sink) {
    RunReferenceLine<true>(machine, traceSink);
  } else {
    RunReferenceLine<false>(machine, nullptr);
  }
}

}  // namespace wrenfold
