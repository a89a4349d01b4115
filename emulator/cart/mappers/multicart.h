// Mappers 15, 41, 225, 227: multicarts whose outer and inner banks are chosen by one write.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"

namespace wrenfold {

void Mapper15HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper41HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper41LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper225HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void PowerOnMapper225(MachineState& machine);
void Mapper227HighWrite(MachineState& machine, uint16_t address, uint8_t value);

inline constexpr StateSpan kCaltronState[] = {WRENFOLD_STATE_SPAN(mapper.caltronOuterEnable),
                                              WRENFOLD_STATE_SPAN(mapper.caltronChrOuter)};
inline constexpr StateSpan kMulticart227State[] = {WRENFOLD_STATE_SPAN(mapper.outerBank227)};

inline constexpr BoardDescription kMulticartBoards[] = {
    {.mapperNumber = 15,
     .name = "100-in-1 Contra Function 16",
     .prg = PrgLayout::kFirst32k,
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Mapper15HighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 41,
     .name = "Caltron 6-in-1",
     .prg = PrgLayout::kFirst32k,
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = Mapper41HighWrite,
     .lowWrite = Mapper41LowWrite,
     .savedState = kCaltronState},
    {.mapperNumber = 225,
     .name = "Multicart 225",
     .prg = PrgLayout::kFirst32k,
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnMapper225,
     .highWrite = Mapper225HighWrite,
     .lowWrite = StoreCartridgeRam},
    {.mapperNumber = 227,
     .name = "Multicart 227",
     .prg = PrgLayout::kFirst16kTwice,
     .chr = ChrLayout::kFirst8kIfRom,
     .highWrite = Mapper227HighWrite,
     .lowWrite = StoreCartridgeRam,
     .savedState = kMulticart227State},
};

}  // namespace wrenfold
