// Mapper 69 (Sunsoft FME-7): a command register and its parameter select eight 1 KB CHR banks,
// ROM or RAM at $6000, three 8 KB PRG banks, the mirroring and a 16-bit IRQ counter that counts
// CPU cycles down.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"

namespace wrenfold {

void Fme7HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Fme7LowWrite(MachineState& machine, uint16_t address, uint8_t value);
bool Fme7PortRead(MachineState& machine, uint16_t address, uint8_t& value);
void PowerOnFme7(MachineState& machine);
void Fme7LineStep(MachineState& machine, uint16_t line, bool renderingOn);

inline constexpr StateSpan kFme7State[] = {
    WRENFOLD_STATE_SPAN(mapper.fmeCommand),   WRENFOLD_STATE_SPAN(mapper.fmeRamControl),
    WRENFOLD_STATE_SPAN(irq.cycleIrqCounter), WRENFOLD_STATE_SPAN(irq.cycleIrqActive),
    WRENFOLD_STATE_SPAN(irq.irqLine),         WRENFOLD_STATE_SPAN(oneScreenA),
    WRENFOLD_STATE_SPAN(oneScreenB),          WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kSunsoftFme7Boards[] = {
    {.mapperNumber = 69,
     .name = "Sunsoft FME-7",
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnFme7,
     .highWrite = Fme7HighWrite,
     .lowWrite = Fme7LowWrite,
     .portRead = Fme7PortRead,
     .lineStep = Fme7LineStep,
     .savedState = kFme7State},
};

}  // namespace wrenfold
