// Mapper 73 (Konami VRC3): one 16 KB PRG bank and a 16-bit IRQ counter that counts CPU cycles
// up from a latch written a nibble at a time; in its 8-bit mode only the low byte counts.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"

namespace wrenfold {

void Vrc3HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Vrc3LineStep(MachineState& machine, uint16_t line, bool renderingOn);

inline constexpr StateSpan kVrc3State[] = {
    WRENFOLD_STATE_SPAN(irq.cycleIrqCounter), WRENFOLD_STATE_SPAN(irq.cycleIrqActive),
    WRENFOLD_STATE_SPAN(irq.cycleIrqLatch),   WRENFOLD_STATE_SPAN(irq.vrcIrqAckEnable),
    WRENFOLD_STATE_SPAN(irq.vrcIrqCycleMode), WRENFOLD_STATE_SPAN(irq.irqLine)};

inline constexpr BoardDescription kVrc3Boards[] = {
    {.mapperNumber = 73,
     .name = "Konami VRC3",
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = Vrc3HighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = Vrc3LineStep,
     .savedState = kVrc3State},
};

}  // namespace wrenfold
