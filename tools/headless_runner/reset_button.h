// The console's reset button, which the public test cartridges ask for ($6000 = $81). The
// emulator itself has none; the headless runner presses it between frames.
#pragma once

#include "emulator/machine_state/machine_state.h"

namespace wrenfold::headless {

// What a reset does to a running console: the CPU takes the reset vector with S lowered by
// three and I set (A, X, Y and memory stay); the PPU's control and mask registers and its
// write toggle are cleared; the APU channels are silenced through $4015. The cartridge keeps
// its banks.
void PressResetButton(MachineState& machine);

}  // namespace wrenfold::headless
