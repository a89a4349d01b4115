// Mapper 16 (Bandai FCG-1/FCG-2 and LZ93D50): a file of sixteen registers, addressed by the
// low four address bits both at $6000-$7FFF and at $8000-$FFFF: eight 1 KB CHR banks, a 16 KB
// PRG bank, the mirroring and a 16-bit IRQ counter that counts CPU cycles down.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"

namespace wrenfold {

void BandaiRegisterWrite(MachineState& machine, uint16_t address, uint8_t value);
void BandaiLowWrite(MachineState& machine, uint16_t address, uint8_t value);
void BandaiLineStep(MachineState& machine, uint16_t line, bool renderingOn);

inline constexpr StateSpan kBandaiState[] = {
    WRENFOLD_STATE_SPAN(irq.bandaiIrqCounter), WRENFOLD_STATE_SPAN(irq.bandaiIrqActive),
    WRENFOLD_STATE_SPAN(irq.cycleIrqLatch),    WRENFOLD_STATE_SPAN(irq.irqLine),
    WRENFOLD_STATE_SPAN(oneScreenA),           WRENFOLD_STATE_SPAN(oneScreenB),
    WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kBandaiBoards[] = {
    {.mapperNumber = 16,
     .name = "Bandai FCG",
     .highWrite = BandaiRegisterWrite,
     .lowWrite = BandaiLowWrite,
     .lineStep = BandaiLineStep,
     .savedState = kBandaiState},
};

}  // namespace wrenfold
