// The board of every mapper number, gathered at compile time from the board family files, and
// the dispatch of register writes and port reads through it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

using BoardTable = std::array<BoardDescription, 256>;

// The rows by mapper number, built at compile time in board_table.cpp. A number without a board
// has a row without name, power-on layout or hooks.
extern const BoardTable kBoardTable;

inline const BoardDescription& BoardFor(uint8_t mapperNumber) {
  return kBoardTable[mapperNumber];
}

// The number an image with header mapper `headerNumber` is run (and logged) as: a clone board
// that behaves as another in every respect takes that one's number.
uint8_t LoadedMapperNumber(uint8_t headerNumber);

// True when an image with header mapper `headerNumber` can run: its board has a row.
bool IsSupportedMapper(uint8_t headerNumber);

// Bytes of MachineState a save state keeps for the board (the sum of its spans).
std::size_t BoardStateSize(const BoardDescription& board);

// $8000-$FFFF.
void MapperHighWrite(MachineState& machine, uint16_t address, uint8_t value);
// $2002, $2008-$3FFF, $4000-$4013 and $4018-$7FFF, after the PPU and APU decoding.
void MapperLowWrite(MachineState& machine, uint16_t address, uint8_t value);
// A read the console does not answer itself; true with `value` set when the board does.
bool MapperPortRead(MachineState& machine, uint16_t address, uint8_t& value);
// The CPU side moved the PPU address ($2006, $2007) to `address`. In line: the buses call it
// on every $2006 and $2007 access, and most boards have no hook.
inline void MapperPpuAddress(MachineState& machine, uint16_t address) {
  const PpuAddressHook ppuAddress = kBoardTable[machine.header.mapperNumber].ppuAddress;
  if (ppuAddress != nullptr) ppuAddress(machine, address);
}

}  // namespace wrenfold
