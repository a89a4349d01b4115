// Power-on, the reset button and the NMI / IRQ entry sequences the frame driver runs between
// CPU slices.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

void BuildHexDigits(MachineState& machine);
void PowerOn(MachineState& machine);
// What the reset button does to a running console: the CPU takes the reset vector with S
// lowered by three and I set (A, X, Y and memory stay); the PPU's control and mask registers
// and its write toggle are cleared; the APU channels are silenced through $4015. The cartridge
// keeps its banks. The emulator has no such button; the headless runner presses it for the
// public test cartridges that ask for it.
void PressResetButton(MachineState& machine);
// Counts the frame; takes the NMI only when $2000 bit 7 is set.
void EnterNmi(MachineState& machine);
// Pushes PC and `pushedFlags` (P, or P with B cleared, as the IRQ source decides).
void EnterIrq(MachineState& machine, uint8_t pushedFlags);

}  // namespace wrenfold
