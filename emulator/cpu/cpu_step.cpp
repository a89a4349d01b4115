#include "emulator/cpu/cpu_step.h"

#include "emulator/cpu/cpu_console_opcodes.h"
#include "emulator/cpu/cpu_interpreter.h"
#include "emulator/cpu/cpu_trace.h"

namespace wrenfold {
namespace {

template <CpuCoreKind kCore, bool kTraced>
CpuStepResult StepOnce(MachineState& machine, int budget, const CpuTraceSink* traceSink) {
  Interpreter<kCore, kTraced> cpu(machine, budget, traceSink);
  if (!cpu.StepWithDeferredIrq()) {
    return {cpu.budget, true};
  }
  cpu.StoreRegisters();
  return {cpu.budget, false};
}

template <CpuCoreKind kCore>
CpuStepResult StepCore(MachineState& machine, int budget) {
  if (const CpuTraceSink* traceSink = TheCpuTrace().sink) {
    return StepOnce<kCore, true>(machine, budget, traceSink);
  }
  return StepOnce<kCore, false>(machine, budget, nullptr);
}

}  // namespace

CpuStepResult StepCpuInstruction(MachineState& machine, CpuCoreKind core, int budget) {
  switch (core) {
    case CpuCoreKind::Reference:
      return StepCore<CpuCoreKind::Reference>(machine, budget);
    case CpuCoreKind::Second:
      return StepCore<CpuCoreKind::Second>(machine, budget);
    case CpuCoreKind::Full:
      break;
  }
  return StepCore<CpuCoreKind::Full>(machine, budget);
}

}  // namespace wrenfold
