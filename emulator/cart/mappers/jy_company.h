// Mapper 90 (J.Y. Company ASIC): four PRG and eight CHR bank registers laid out in 32, 16 or
// 8 KB PRG and 8, 4, 2 or 1 KB CHR pieces, optional PRG ROM at $6000, the mirroring, a hardware
// multiplier and an 8-bit IRQ counter behind a prescaler, clocked by CPU cycles or PPU fetches.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"

namespace wrenfold {

void JyHighWrite(MachineState& machine, uint16_t address, uint8_t value);
void JyLowWrite(MachineState& machine, uint16_t address, uint8_t value);
bool JyPortRead(MachineState& machine, uint16_t address, uint8_t& value);
void JyLineStep(MachineState& machine, uint16_t line, bool renderingOn);

inline constexpr StateSpan kJyState[] = {WRENFOLD_STATE_SPAN(mapper.jyPrgRegs),
                                         WRENFOLD_STATE_SPAN(mapper.jyChrLow),
                                         WRENFOLD_STATE_SPAN(mapper.jyChrHigh),
                                         WRENFOLD_STATE_SPAN(mapper.jyModes),
                                         WRENFOLD_STATE_SPAN(mapper.jyMultiplicands),
                                         WRENFOLD_STATE_SPAN(mapper.jyScratch),
                                         WRENFOLD_STATE_SPAN(mapper.jyIrqMode),
                                         WRENFOLD_STATE_SPAN(mapper.jyIrqXor),
                                         WRENFOLD_STATE_SPAN(irq.irqCounter),
                                         WRENFOLD_STATE_SPAN(irq.irqPrescaler),
                                         WRENFOLD_STATE_SPAN(irq.irqEnable),
                                         WRENFOLD_STATE_SPAN(irq.irqLine),
                                         WRENFOLD_STATE_SPAN(oneScreenA),
                                         WRENFOLD_STATE_SPAN(oneScreenB),
                                         WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kJyCompanyBoards[] = {
    {.mapperNumber = 90,
     .name = "J.Y. Company",
     .highWrite = JyHighWrite,
     .lowWrite = JyLowWrite,
     .portRead = JyPortRead,
     .lineStep = JyLineStep,
     .savedState = kJyState},
};

}  // namespace wrenfold
