// Mapper 64 (Tengen RAMBO-1): an MMC3-like bank select with three PRG and up to ten CHR
// registers, a 1 KB CHR mode, the mirroring, and an IRQ counter clocked like the MMC3's by PPU
// A12 (emulator/cart/mappers/mmc3_family.h) or by every fourth CPU cycle.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"
#include "emulator/cart/mappers/mmc3_family.h"

namespace wrenfold {

void Rambo1HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Rambo1LineStep(MachineState& machine, uint16_t line, bool renderingOn);
void Rambo1PpuAddress(MachineState& machine, uint16_t address);

inline constexpr StateSpan kRambo1State[] = {
    WRENFOLD_STATE_SPAN(mapper.ramboRegs), WRENFOLD_STATE_SPAN(mapper.ramboBankSelect),
    WRENFOLD_STATE_SPAN(irq.irqCounter),   WRENFOLD_STATE_SPAN(irq.irqLatch),
    WRENFOLD_STATE_SPAN(irq.irqEnable),    WRENFOLD_STATE_SPAN(irq.irqReload),
    WRENFOLD_STATE_SPAN(irq.irqCycleMode), WRENFOLD_STATE_SPAN(irq.irqPrescaler),
    WRENFOLD_STATE_SPAN(irq.irqLine),      WRENFOLD_STATE_SPAN(mapper.mmc3A12),
    WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kTengenRambo1Boards[] = {
    {.mapperNumber = 64,
     .name = "Tengen RAMBO-1",
     .prg = PrgLayout::kLast8kEverywhere,
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Rambo1HighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = Rambo1LineStep,
     .ppuAddress = Rambo1PpuAddress,
     .savedState = kRambo1State},
};

}  // namespace wrenfold
