// Mappers 32 (Irem G-101) and 65 (Irem H3001): two or three 8 KB PRG banks, eight 1 KB CHR
// banks and the mirroring; the G-101 can move its first bank to $C000, the H3001 has a 16-bit
// IRQ counter that counts CPU cycles down.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"

namespace wrenfold {

void IremG101HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void IremH3001HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void IremH3001LineStep(MachineState& machine, uint16_t line, bool renderingOn);

inline constexpr StateSpan kIremG101State[] = {WRENFOLD_STATE_SPAN(mapper.iremPrgMode),
                                               WRENFOLD_STATE_SPAN(mapper.iremPrgReg),
                                               WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr StateSpan kIremH3001State[] = {
    WRENFOLD_STATE_SPAN(irq.cycleIrqCounter), WRENFOLD_STATE_SPAN(irq.cycleIrqActive),
    WRENFOLD_STATE_SPAN(irq.cycleIrqLatch), WRENFOLD_STATE_SPAN(irq.irqLine),
    WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kIremBoards[] = {
    {.mapperNumber = 32,
     .name = "Irem G-101",
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = IremG101HighWrite,
     .lowWrite = StoreCartridgeRam,
     .savedState = kIremG101State},
    {.mapperNumber = 65,
     .name = "Irem H3001",
     .highWrite = IremH3001HighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = IremH3001LineStep,
     .savedState = kIremH3001State},
};

}  // namespace wrenfold
