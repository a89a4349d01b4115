// The two points where cartridge register writes reach the board of the loaded image.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// $8000-$FFFF.
void MapperHighWrite(MachineState& machine, uint16_t address, uint8_t value);
// $2002-$7FFF after the PPU and APU decoding.
void MapperLowWrite(MachineState& machine, uint16_t address, uint8_t value);

// The board name of a mapper number with handlers of its own; nullptr for the numbers that
// ignore high writes and keep cartridge RAM at $6000-$7FFF.
const char* MapperBoardName(uint8_t mapperNumber);

}  // namespace wrenfold
