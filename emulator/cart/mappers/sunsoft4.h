// Mapper 68 (Sunsoft-4): four 2 KB CHR banks, a 16 KB PRG bank, and name tables that show the
// console's RAM in the usual mirroring or, when the board says so, two 1 KB pages of CHR ROM.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"

namespace wrenfold {

void Sunsoft4HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void PowerOnSunsoft4(MachineState& machine);

inline constexpr StateSpan kSunsoft4State[] = {
    WRENFOLD_STATE_SPAN(mapper.sunsoftNtRegs), WRENFOLD_STATE_SPAN(mapper.sunsoftNtControl),
    WRENFOLD_STATE_SPAN(oneScreenA), WRENFOLD_STATE_SPAN(oneScreenB),
    WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kSunsoft4Boards[] = {
    {.mapperNumber = 68,
     .name = "Sunsoft-4",
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnSunsoft4,
     .highWrite = Sunsoft4HighWrite,
     .lowWrite = StoreCartridgeRam,
     .savedState = kSunsoft4State},
};

}  // namespace wrenfold
