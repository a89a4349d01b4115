// Mapper 24 (Konami VRC6): the expansion-sound registers. Its banking and IRQ counter are not
// built yet.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"

namespace wrenfold {

void Vrc6HighWrite(MachineState& machine, uint16_t address, uint8_t value);

inline constexpr StateSpan kVrc6State[] = {WRENFOLD_STATE_SPAN(mapper.vrc6SoundRegs)};

inline constexpr BoardDescription kVrc6Boards[] = {
    {.mapperNumber = 24,
     .name = "Konami VRC6",
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Vrc6HighWrite,
     .lowWrite = StoreCartridgeRam,
     .savedState = kVrc6State,
     .expansionChip = ExpansionChip::kVrc6},
};

}  // namespace wrenfold
