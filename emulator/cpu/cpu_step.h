// Single-instruction stepping for debuggers, trace tools and tests. The per-line cores do not
// use it; it runs the same instruction code with the same trace sink.
#pragma once

#include "emulator/cpu/cpu_core.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

struct CpuStepResult {
  int budgetLeft;  // the budget after the instruction, as a line's loop would see it
  bool badOpcode;  // the bad-opcode path ran: logged, haltRequested set, A X Y not stored
};

// Runs one instruction of the given core as if `budget` cycles were left in the line (after
// CLI or PLP that let a waiting cartridge IRQ in, also the next instruction and the IRQ entry). The
// registers are stored back as at the end of a line (the second core packs P, so bit 5 is
// cleared; the full core sets it and clears B); cycleCarry is neither read nor written.
CpuStepResult StepCpuInstruction(MachineState& machine, CpuCoreKind core, int budget);

}  // namespace wrenfold
