// Mappers 24 and 26 (Konami VRC6a and VRC6b): a 16 KB and an 8 KB PRG bank, eight 1 KB CHR
// banks, the mirroring in $B003, the IRQ counter and the three expansion-sound channels. The
// VRC6b is wired with address lines A0 and A1 swapped.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"
#include "emulator/cart/mappers/konami_irq.h"

namespace wrenfold {

void Vrc6aHighWrite(MachineState& machine, uint16_t address, uint8_t value);  // mapper 24
void Vrc6bHighWrite(MachineState& machine, uint16_t address, uint8_t value);  // mapper 26

inline constexpr StateSpan kVrc6State[] = {
    WRENFOLD_STATE_SPAN(mapper.vrc6SoundRegs), WRENFOLD_STATE_SPAN(irq.cycleIrqCounter),
    WRENFOLD_STATE_SPAN(irq.cycleIrqActive),   WRENFOLD_STATE_SPAN(irq.vrcIrqLatch),
    WRENFOLD_STATE_SPAN(irq.vrcIrqAckEnable),  WRENFOLD_STATE_SPAN(irq.vrcIrqCycleMode),
    WRENFOLD_STATE_SPAN(irq.irqLine),          WRENFOLD_STATE_SPAN(oneScreenA),
    WRENFOLD_STATE_SPAN(oneScreenB),           WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kVrc6Boards[] = {
    {.mapperNumber = 24,
     .name = "Konami VRC6a",
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Vrc6aHighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = KonamiIrqLineStep,
     .savedState = kVrc6State,
     .expansionChip = ExpansionChip::kVrc6},
    {.mapperNumber = 26,
     .name = "Konami VRC6b",
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = Vrc6bHighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = KonamiIrqLineStep,
     .savedState = kVrc6State,
     .expansionChip = ExpansionChip::kVrc6},
};

}  // namespace wrenfold
