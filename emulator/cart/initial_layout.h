// The power-on memory picture of each board: which PRG banks stand at $8000-$FFFF, which CHR
// data stands in the pattern tables, and the board registers that do not start at zero.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// True when the board has a power-on layout, i.e. the emulator runs it (248 is not listed:
// the loader turns it into 4 first).
bool HasInitialLayout(uint8_t mapperNumber);

// Lays out the board of header.mapperNumber over ROM stores that are already filled.
// Returns false, changing nothing, for a board without a layout.
bool LayOutInitialMemory(MachineState& machine);

}  // namespace wrenfold
