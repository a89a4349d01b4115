// The write handlers of the cartridge boards, grouped by the file that defines them. Each is
// reached through the mapper-number table in mapper_dispatch.cpp: high-range handlers see
// $8000-$FFFF, low-range handlers $2002-$7FFF after the PPU and APU decoding.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// namco106.cpp: mapper 19.
void Namco106HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Namco106LowWrite(MachineState& machine, uint16_t address, uint8_t value);

// vrc6.cpp: mapper 24.
void Vrc6HighWrite(MachineState& machine, uint16_t address, uint8_t value);

}  // namespace wrenfold
