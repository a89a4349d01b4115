// Mapper 10 (Nintendo MMC4): a 16 KB PRG bank, two 4 KB CHR banks per pattern table of which
// the table's latch picks one (the renderer's fetches of tiles $FD and $FE switch the latches,
// emulator/cart/mappers/mmc4_latch.h), and the mirroring.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"
#include "emulator/cart/mappers/mmc4_latch.h"

namespace wrenfold {

void Mmc4HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void PowerOnMmc4(MachineState& machine);

inline constexpr StateSpan kMmc4State[] = {WRENFOLD_STATE_SPAN(mapper.mmc4ChrBanks),
                                           WRENFOLD_STATE_SPAN(mapper.mmc4Latch),
                                           WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kMmc4Boards[] = {
    {.mapperNumber = 10,
     .name = "MMC4",
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnMmc4,
     .highWrite = Mmc4HighWrite,
     .lowWrite = StoreCartridgeRam,
     .ppuFetch = Mmc4LatchFetch,
     .ppuAddress = Mmc4PpuAddress,
     .savedState = kMmc4State},
};

}  // namespace wrenfold
