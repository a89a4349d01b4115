// Mapper 1 (MMC1, the SxROM boards): five serial writes load one of four registers; 16 or 32 KB
// PRG banks, 4 or 8 KB CHR banks, four mirroring modes, and cartridge RAM that can be disabled.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"

namespace wrenfold {

void Mmc1HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mmc1LowWrite(MachineState& machine, uint16_t address, uint8_t value);
bool Mmc1PortRead(MachineState& machine, uint16_t address, uint8_t& value);
void PowerOnMmc1(MachineState& machine);

inline constexpr StateSpan kMmc1State[] = {
    WRENFOLD_STATE_SPAN(mapper.mmc1Shift), WRENFOLD_STATE_SPAN(mapper.mmc1Count),
    WRENFOLD_STATE_SPAN(mapper.mmc1Regs),  WRENFOLD_STATE_SPAN(oneScreenA),
    WRENFOLD_STATE_SPAN(oneScreenB),       WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kMmc1Boards[] = {
    {.mapperNumber = 1,
     .name = "MMC1 (SxROM)",
     .prg = PrgLayout::kFirstAndLast16k,
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnMmc1,
     .highWrite = Mmc1HighWrite,
     .lowWrite = Mmc1LowWrite,
     .portRead = Mmc1PortRead,
     .savedState = kMmc1State},
};

}  // namespace wrenfold
