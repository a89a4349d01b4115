// Mappers 6 (FFE F4xxx) and 17 (FFE F8xxx), the boards of the Front Fareast copier images:
// registers at $42FE-$42FF and $4500-$4517, and a 16-bit IRQ counter that counts CPU cycles up.
// Mapper 6 switches 16 KB of PRG and one of four 8 KB pages of CHR RAM through $8000-$FFFF.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"

namespace wrenfold {

void Ffe6HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Ffe6LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void PowerOnFfe6(MachineState& machine);
void Ffe17LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void FfeLineStep(MachineState& machine, uint16_t line, bool renderingOn);

inline constexpr StateSpan kFfe6State[] = {
    WRENFOLD_STATE_SPAN(mapper.ffeMode),      WRENFOLD_STATE_SPAN(mapper.ffeChrPage),
    WRENFOLD_STATE_SPAN(irq.cycleIrqCounter), WRENFOLD_STATE_SPAN(irq.cycleIrqActive),
    WRENFOLD_STATE_SPAN(irq.irqLine),         WRENFOLD_STATE_SPAN(oneScreenA),
    WRENFOLD_STATE_SPAN(oneScreenB)};

inline constexpr StateSpan kFfe17State[] = {
    WRENFOLD_STATE_SPAN(irq.cycleIrqCounter), WRENFOLD_STATE_SPAN(irq.cycleIrqActive),
    WRENFOLD_STATE_SPAN(irq.irqLine),         WRENFOLD_STATE_SPAN(oneScreenA),
    WRENFOLD_STATE_SPAN(oneScreenB),          WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kFfeBoards[] = {
    {.mapperNumber = 6,
     .name = "FFE F4xxx",
     .prg = PrgLayout::kFirst16kAndBank7,
     .powerOn = PowerOnFfe6,
     .highWrite = Ffe6HighWrite,
     .lowWrite = Ffe6LowWrite,
     .lineStep = FfeLineStep,
     .savedState = kFfe6State},
    {.mapperNumber = 17,
     .name = "FFE F8xxx",
     .lowWrite = Ffe17LowWrite,
     .lineStep = FfeLineStep,
     .savedState = kFfe17State},
};

}  // namespace wrenfold
