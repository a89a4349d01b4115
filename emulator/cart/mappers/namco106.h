// Mapper 19 (Namco 106/163): eight 1 KB CHR banks, four name-table slots that show CHR ROM or
// the console's name-table RAM, three 8 KB PRG banks, the expansion-sound port and a 15-bit IRQ
// counter that counts CPU cycles up.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"

namespace wrenfold {

void Namco106HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Namco106LowWrite(MachineState& machine, uint16_t address, uint8_t value);
bool Namco106PortRead(MachineState& machine, uint16_t address, uint8_t& value);
void PowerOnNamco106(MachineState& machine);
void Namco106LineStep(MachineState& machine, uint16_t line, bool renderingOn);

inline constexpr StateSpan kNamco106State[] = {WRENFOLD_STATE_SPAN(mapper.namcoRamAddr),
                                               WRENFOLD_STATE_SPAN(mapper.namcoAddrCtrl),
                                               WRENFOLD_STATE_SPAN(mapper.namcoChrRamCtrl),
                                               WRENFOLD_STATE_SPAN(mapper.namcoNtRegs),
                                               WRENFOLD_STATE_SPAN(irq.cycleIrqCounter),
                                               WRENFOLD_STATE_SPAN(irq.irqLine),
                                               WRENFOLD_STATE_SPAN(oneScreenA),
                                               WRENFOLD_STATE_SPAN(oneScreenB),
                                               WRENFOLD_STATE_SPAN(chrRamBanks)};

inline constexpr BoardDescription kNamco106Boards[] = {
    {.mapperNumber = 19,
     .name = "Namco 106",
     .prg = PrgLayout::kLast8kAtE000,
     .chr = ChrLayout::kLast8k,
     .powerOn = PowerOnNamco106,
     .highWrite = Namco106HighWrite,
     .lowWrite = Namco106LowWrite,
     .portRead = Namco106PortRead,
     .lineStep = Namco106LineStep,
     .savedState = kNamco106State,
     .expansionChip = ExpansionChip::kNamco106},
};

}  // namespace wrenfold
