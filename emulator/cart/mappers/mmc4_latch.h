// Mapper 10 (MMC4): the two pattern latches that reads of the pattern bytes of tiles $FD and $FE
// switch: the background's tile fetches (the board's PPU-fetch hook) and the CPU's $2007
// accesses there (its PPU-address hook). The registers are in mmc4.h.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// Fetching tile $FD or $FE sets the latch of the pattern table the background is drawn from,
// and the 4 KB bank that latch value selects is copied into that table.
void Mmc4LatchFetch(MachineState& machine, uint8_t tile);

// A $2007 access read $xFD8-$xFDF or $xFE8-$xFEF: the latch of that table switches after it.
void Mmc4PpuAddress(MachineState& machine, uint16_t address);

}  // namespace wrenfold
