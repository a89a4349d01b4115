// Mappers 89, 228, 231, 242, 254: boards whose registers are not emulated; their writes are
// logged so the game that needs them can be told from the log.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"

namespace wrenfold {

void LogOnlyHighWrite(MachineState& machine, uint16_t address, uint8_t value);

inline constexpr BoardDescription kLoggingOnlyBoards[] = {
    {.mapperNumber = 89,
     .name = "Sunsoft-2 (unemulated)",
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = LogOnlyHighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 228,
     .name = "Action 52 (unemulated)",
     .prg = PrgLayout::kLast32k,
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = LogOnlyHighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 231,
     .name = "Multicart 231 (unemulated)",
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = LogOnlyHighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 242,
     .name = "Pirate 242 (unemulated)",
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = LogOnlyHighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 254,
     .name = "Pirate 254 (unemulated)",
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = LogOnlyHighWrite,
     .lowWrite = StoreCartridgeRam},
};

}  // namespace wrenfold
