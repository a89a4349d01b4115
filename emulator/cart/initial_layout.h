// The power-on memory picture of the loaded board: which PRG banks stand at $8000-$FFFF, which
// CHR data stands in the pattern tables (both from the board's row), then the board registers
// that do not start at zero (its power-on hook).
#pragma once

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// Lays out the board of header.mapperNumber over ROM stores that are already filled.
// Returns false, changing nothing, for a number without a board.
bool LayOutInitialMemory(MachineState& machine);

}  // namespace wrenfold
