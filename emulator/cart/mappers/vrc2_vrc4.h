// Mappers 21, 22, 23, 25 (Konami VRC2 and VRC4): two 8 KB PRG banks, the mirroring register,
// eight 1 KB CHR banks written a nibble at a time and, on the VRC4, the PRG swap mode and the
// IRQ counter. The four numbers differ in the address lines that select a register.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"
#include "emulator/cart/mappers/konami_irq.h"

namespace wrenfold {

void Vrc4aHighWrite(MachineState& machine, uint16_t address, uint8_t value);  // mapper 21
void Vrc2aHighWrite(MachineState& machine, uint16_t address, uint8_t value);  // mapper 22
void Vrc4fHighWrite(MachineState& machine, uint16_t address, uint8_t value);  // mapper 23
void Vrc4bHighWrite(MachineState& machine, uint16_t address, uint8_t value);  // mapper 25
void PowerOnVrc2Vrc4(MachineState& machine);

inline constexpr StateSpan kVrc2State[] = {
    WRENFOLD_STATE_SPAN(mapper.vrcChrRegs), WRENFOLD_STATE_SPAN(mapper.vrcPrgRegs),
    WRENFOLD_STATE_SPAN(oneScreenA), WRENFOLD_STATE_SPAN(oneScreenB),
    WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr StateSpan kVrc4State[] = {WRENFOLD_STATE_SPAN(mapper.vrcChrRegs),
                                           WRENFOLD_STATE_SPAN(mapper.vrcPrgRegs),
                                           WRENFOLD_STATE_SPAN(mapper.vrcPrgSwapAddr),
                                           WRENFOLD_STATE_SPAN(irq.cycleIrqCounter),
                                           WRENFOLD_STATE_SPAN(irq.cycleIrqActive),
                                           WRENFOLD_STATE_SPAN(irq.vrcIrqLatch),
                                           WRENFOLD_STATE_SPAN(irq.vrcIrqAckEnable),
                                           WRENFOLD_STATE_SPAN(irq.vrcIrqCycleMode),
                                           WRENFOLD_STATE_SPAN(irq.vrcWiringKnown),
                                           WRENFOLD_STATE_SPAN(irq.vrcAltWiring),
                                           WRENFOLD_STATE_SPAN(irq.irqLine),
                                           WRENFOLD_STATE_SPAN(oneScreenA),
                                           WRENFOLD_STATE_SPAN(oneScreenB),
                                           WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kVrc2Vrc4Boards[] = {
    {.mapperNumber = 21,
     .name = "Konami VRC4a/VRC4c",
     .powerOn = PowerOnVrc2Vrc4,
     .highWrite = Vrc4aHighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = KonamiIrqLineStep,
     .savedState = kVrc4State},
    {.mapperNumber = 22,
     .name = "Konami VRC2a",
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnVrc2Vrc4,
     .highWrite = Vrc2aHighWrite,
     .lowWrite = StoreCartridgeRam,
     .savedState = kVrc2State},
    {.mapperNumber = 23,
     .name = "Konami VRC2b/VRC4e/VRC4f",
     .powerOn = PowerOnVrc2Vrc4,
     .highWrite = Vrc4fHighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = KonamiIrqLineStep,
     .savedState = kVrc4State},
    {.mapperNumber = 25,
     .name = "Konami VRC2c/VRC4b/VRC4d",
     .powerOn = PowerOnVrc2Vrc4,
     .highWrite = Vrc4bHighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = KonamiIrqLineStep,
     .savedState = kVrc4State},
};

}  // namespace wrenfold
