// Mappers 33 (Taito TC0190), 48 (Taito TC0690) and 80 (Taito X1-005): two switchable 8 KB PRG
// banks, two 2 KB and four 1 KB CHR banks; the TC0690 adds the MMC3's scanline counter (clocked
// the same way, emulator/cart/mappers/mmc3_family.h), the X1-005 keeps its registers and 128
// bytes of RAM at $7EF0-$7FFF.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"
#include "emulator/cart/mappers/mmc3_family.h"

namespace wrenfold {

void Tc0190HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void PowerOnTc0190(MachineState& machine);
void Tc0690HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Tc0690LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void PowerOnTc0690(MachineState& machine);
void X1005LowWrite(MachineState& machine, uint16_t address, uint8_t value);

inline constexpr StateSpan kTc0190State[] = {WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr StateSpan kTc0690State[] = {
    WRENFOLD_STATE_SPAN(irq.irqCounter), WRENFOLD_STATE_SPAN(irq.irqLatch),
    WRENFOLD_STATE_SPAN(irq.irqEnable),  WRENFOLD_STATE_SPAN(irq.irqReload),
    WRENFOLD_STATE_SPAN(irq.irqLine),    WRENFOLD_STATE_SPAN(mapper.mmc3A12),
    WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr StateSpan kX1005State[] = {
    WRENFOLD_STATE_SPAN(mapper.taitoNtMode), WRENFOLD_STATE_SPAN(mapper.taitoNtPages),
    WRENFOLD_STATE_SPAN(oneScreenA), WRENFOLD_STATE_SPAN(oneScreenB),
    WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kTaitoBoards[] = {
    {.mapperNumber = 33,
     .name = "Taito TC0190",
     .chr = ChrLayout::kFirst8kIfRom,
     .powerOn = PowerOnTc0190,
     .highWrite = Tc0190HighWrite,
     .lowWrite = StoreCartridgeRam,
     .savedState = kTc0190State},
    {.mapperNumber = 48,
     .name = "Taito TC0690",
     .prg = PrgLayout::kLast8kEverywhere,
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnTc0690,
     .highWrite = Tc0690HighWrite,
     .lowWrite = Tc0690LowWrite,
     .lineStep = Mmc3LineStep,
     .ppuAddress = Mmc3PpuAddress,
     .savedState = kTc0690State},
    {.mapperNumber = 80,
     .name = "Taito X1-005",
     .chr = ChrLayout::kFirst8kAlways,
     .lowWrite = X1005LowWrite,
     .savedState = kX1005State},
};

}  // namespace wrenfold
