// Mappers 79, 87, 91, 184, 246: boards switched through registers below $8000.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"

namespace wrenfold {

void Mapper79LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper87LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper91LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper184LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper246LowWrite(MachineState& machine, uint16_t address, uint8_t value);

inline constexpr BoardDescription kLowRegisterBoards[] = {
    {.mapperNumber = 79,
     .name = "AVE NINA-03/06",
     .chr = ChrLayout::kFirst8kIfRom,
     .lowWrite = Mapper79LowWrite},
    {.mapperNumber = 87,
     .name = "Jaleco J87",
     .chr = ChrLayout::kFirst8kAlways,
     .lowWrite = Mapper87LowWrite},
    {.mapperNumber = 91,
     .name = "HK-SF3",
     .prg = PrgLayout::kLast16kTwice,
     .chr = ChrLayout::kNone,
     .lowWrite = Mapper91LowWrite},
    {.mapperNumber = 184,
     .name = "Sunsoft-1",
     .chr = ChrLayout::kSecond8k,
     .lowWrite = Mapper184LowWrite},
    {.mapperNumber = 246,
     .name = "Fong Shen Bang",
     .chr = ChrLayout::kFirst8kAlways,
     .lowWrite = Mapper246LowWrite},
};

}  // namespace wrenfold
