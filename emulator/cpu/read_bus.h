// The CPU's read side: every load outside zero page and the stack, with the side effects
// of reading $2002, $2004, $2007 and the joypad ports.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

uint8_t CpuRead(MachineState& machine, uint16_t address);

}  // namespace wrenfold
