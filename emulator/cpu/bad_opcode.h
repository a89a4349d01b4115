// What a core does with an opcode it does not handle: describe it in the log and ask the
// frame driver to close the program.
#pragma once

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// Writes the five entries "Bad opcode:", "At:", "Frame:", "NMI vector:" and "IRQ vector:",
// each followed by its decimal value, and sets haltRequested. cpu.PC points after the opcode.
void ReportBadOpcode(MachineState& machine);

}  // namespace wrenfold
