// Mappers 0, 2, 3, 5, 7, 8, 11, 34, 66, 70, 71, 96, 185, 232: boards with fixed banks or with
// one bank register of discrete logic.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"

namespace wrenfold {

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

// AxROM shows one name table in all four slots; which one is not in the header.
inline constexpr StateSpan kAxromState[] = {WRENFOLD_STATE_SPAN(oneScreenA),
                                            WRENFOLD_STATE_SPAN(oneScreenB)};

inline constexpr BoardDescription kDiscreteBoards[] = {
    {.mapperNumber = 0,
     .name = "NROM",
     .prg = PrgLayout::kFirst16kThenSecond,
     .chr = ChrLayout::kFirst8kIfRom,
     .lowWrite = StoreEveryLowAddress},
    {.mapperNumber = 2,
     .name = "UxROM",
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Mapper2HighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 3,
     .name = "CNROM",
     .prg = PrgLayout::kCnrom,
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = Mapper3HighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 5,
     .name = "MMC5 (fixed banks)",
     .chr = ChrLayout::kFirst8kAlways,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 7,
     .name = "AxROM",
     .prg = PrgLayout::kFirst32k,
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Mapper7HighWrite,
     .lowWrite = StoreCartridgeRam,
     .savedState = kAxromState},
    {.mapperNumber = 8,
     .name = "FFE F3xxx",
     .prg = PrgLayout::kFirst32k,
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = Mapper8HighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 11,
     .name = "Color Dreams",
     .prg = PrgLayout::kFirst32k,
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = Mapper11HighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 34,
     .name = "BNROM / NINA-001",
     .prg = PrgLayout::kFirst32k,
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Mapper34HighWrite,
     .lowWrite = Mapper34LowWrite},
    {.mapperNumber = 66,
     .name = "GxROM",
     .prg = PrgLayout::kFirst32k,
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = Mapper66HighWrite,
     .lowWrite = StoreCartridgeRamLow4k},
    {.mapperNumber = 70,
     .name = "Bandai 74161",
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = Mapper70HighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 71,
     .name = "Camerica",
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Mapper71HighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 96,
     .name = "Bandai Oeka Kids",
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Mapper96HighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 185,
     .name = "CNROM with copy protection",
     .prg = PrgLayout::kFirst16kThenSecond,
     .chr = ChrLayout::kFirst8kAlways,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 232,
     .name = "Camerica Quattro",
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Mapper71HighWrite,
     .lowWrite = StoreCartridgeRam},
};

}  // namespace wrenfold
