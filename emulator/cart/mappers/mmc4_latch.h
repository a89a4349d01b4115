// Mapper 10 (MMC4): the two pattern latches that the background's fetches of tiles $FD and $FE
// switch. This is the board's PPU-fetch hook; its registers and its row are not built yet.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// Fetching tile $FD or $FE sets the latch of the pattern table the background is drawn from,
// and the 4 KB bank that latch value selects is copied into that table.
void Mmc4LatchFetch(MachineState& machine, uint8_t tile);

}  // namespace wrenfold
