// What a core does with an opcode it does not handle: describe it in the log and ask the
// frame driver to close the program.
#pragma once

#include <cstdint>

#include "emulator/cpu/cpu_core.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// The twelve opcodes that jam the console: $02, $12, $22, $32, $42, $52, $62, $72, $92, $B2,
// $D2 and $F2. The full core halts on these and runs every other opcode.
constexpr bool JamsConsole(uint8_t opcode) {
  return (opcode & 0x0F) == 0x02 && opcode != 0x82 && opcode != 0xA2 && opcode != 0xC2 &&
         opcode != 0xE2;
}

// Writes the five entries "Bad opcode:", "At:", "Frame:", "NMI vector:" and "IRQ vector:",
// each followed by its decimal value, and sets haltRequested. cpu.PC points after the opcode.
// When this is the first halt, `core` is one of the specified cores and the full core would
// have run the opcode, needsFullCore is set too, so the frame driver can say so.
void ReportBadOpcode(MachineState& machine, CpuCoreKind core);

}  // namespace wrenfold
