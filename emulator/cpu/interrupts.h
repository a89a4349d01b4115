// Power-on reset and the NMI / IRQ entry sequences the frame driver runs between CPU slices.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

void BuildHexDigits(MachineState& machine);
void PowerOn(MachineState& machine);
// Counts the frame; takes the NMI only when $2000 bit 7 is set.
void EnterNmi(MachineState& machine);
// Pushes PC and `pushedFlags` (P, or P with B cleared, as the IRQ source decides).
void EnterIrq(MachineState& machine, uint8_t pushedFlags);

}  // namespace wrenfold
