// Mapper 18 (Jaleco SS88006): three 8 KB PRG banks and eight 1 KB CHR banks written a nibble
// at a time, the mirroring and a 16-bit IRQ counter that counts CPU cycles down, of which the
// low 4, 8, 12 or all 16 bits take part.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"

namespace wrenfold {

void JalecoHighWrite(MachineState& machine, uint16_t address, uint8_t value);
void JalecoLineStep(MachineState& machine, uint16_t line, bool renderingOn);

inline constexpr StateSpan kJalecoState[] = {
    WRENFOLD_STATE_SPAN(mapper.jalecoPrgRegs), WRENFOLD_STATE_SPAN(mapper.jalecoChrRegs),
    WRENFOLD_STATE_SPAN(irq.cycleIrqCounter),  WRENFOLD_STATE_SPAN(irq.cycleIrqActive),
    WRENFOLD_STATE_SPAN(irq.cycleIrqLatch),    WRENFOLD_STATE_SPAN(irq.irqLine),
    WRENFOLD_STATE_SPAN(oneScreenA),           WRENFOLD_STATE_SPAN(oneScreenB),
    WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kJalecoBoards[] = {
    {.mapperNumber = 18,
     .name = "Jaleco SS88006",
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = JalecoHighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = JalecoLineStep,
     .savedState = kJalecoState},
};

}  // namespace wrenfold
