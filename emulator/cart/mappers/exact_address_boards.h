// Mappers 240, 241, 250: boards decoding single register addresses.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"

namespace wrenfold {

void Mapper240HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper240LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper241HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper250HighWrite(MachineState& machine, uint16_t address, uint8_t value);

inline constexpr BoardDescription kExactAddressBoards[] = {
    {.mapperNumber = 240,
     .name = "Pirate 240",
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = Mapper240HighWrite,
     .lowWrite = Mapper240LowWrite},
    {.mapperNumber = 241,
     .name = "Pirate 241",
     .prg = PrgLayout::kLast32k,
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Mapper241HighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 250,
     .name = "Pirate 250",
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = Mapper250HighWrite,
     .lowWrite = StoreCartridgeRam},
};

}  // namespace wrenfold
