// Mapper 19 (Namco 106): the expansion-sound port, the IRQ counter's read port, the cartridge
// RAM and the power-on picture. Its banking and IRQ counting are not built yet.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"

namespace wrenfold {

void Namco106HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Namco106LowWrite(MachineState& machine, uint16_t address, uint8_t value);
bool Namco106PortRead(MachineState& machine, uint16_t address, uint8_t& value);
void PowerOnNamco106(MachineState& machine);

inline constexpr StateSpan kNamco106State[] = {WRENFOLD_STATE_SPAN(mapper.namcoRamAddr),
                                               WRENFOLD_STATE_SPAN(mapper.namcoAddrCtrl)};

inline constexpr BoardDescription kNamco106Boards[] = {
    {.mapperNumber = 19,
     .name = "Namco 106",
     .prg = PrgLayout::kLast8kAtE000,
     .chr = ChrLayout::kLast8k,
     .powerOn = PowerOnNamco106,
     .highWrite = Namco106HighWrite,
     .lowWrite = Namco106LowWrite,
     .portRead = Namco106PortRead,
     .savedState = kNamco106State,
     .expansionChip = ExpansionChip::kNamco106},
};

}  // namespace wrenfold
