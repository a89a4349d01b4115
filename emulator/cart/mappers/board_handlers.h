// The write handlers of the cartridge boards, grouped by the file that defines them. Each is
// reached through the mapper-number table in mapper_dispatch.cpp: high-range handlers see
// $8000-$FFFF, low-range handlers $2002-$7FFF after the PPU and APU decoding.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// cartridge_ram.cpp: low range of mappers 66, 161, 249.
void StoreCartridgeRamLow4k(MachineState& machine, uint16_t address, uint8_t value);
void Mapper161LowWrite(MachineState& machine, uint16_t address, uint8_t value);

// discrete.cpp: mappers 2, 3, 7, 8, 11, 34, 66, 70, 71, 96, 232.
void Mapper2HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper3HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper7HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper8HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper11HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper34HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper34LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper66HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper70HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper71HighWrite(MachineState& machine, uint16_t address, uint8_t value);  // also 232
void Mapper96HighWrite(MachineState& machine, uint16_t address, uint8_t value);

// exact_address_boards.cpp: mappers 240, 241, 250.
void Mapper240HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper240LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper241HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper250HighWrite(MachineState& machine, uint16_t address, uint8_t value);

// logging_only.cpp: mappers 89, 228, 231, 242, 254.
void LogOnlyHighWrite(MachineState& machine, uint16_t address, uint8_t value);

// low_register_boards.cpp: mappers 79, 87, 91, 184, 246.
void Mapper79LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper87LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper91LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper184LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper246LowWrite(MachineState& machine, uint16_t address, uint8_t value);

// multicart.cpp: mappers 15, 41, 225, 227.
void Mapper15HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper41HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper41LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper225HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper227HighWrite(MachineState& machine, uint16_t address, uint8_t value);

// namco106.cpp: mapper 19.
void Namco106HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Namco106LowWrite(MachineState& machine, uint16_t address, uint8_t value);

// vrc6.cpp: mapper 24.
void Vrc6HighWrite(MachineState& machine, uint16_t address, uint8_t value);

}  // namespace wrenfold
