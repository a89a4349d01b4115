#include "emulator/cart/mapper_dispatch.h"

#include <array>

#include "emulator/cart/io_registers.h"
#include "emulator/cart/mappers/board_handlers.h"

namespace wrenfold {
namespace {

using BoardWrite = void (*)(MachineState&, uint16_t, uint8_t);

// Mapper 0 keeps a plain byte at every low-range address, register shadows included.
void StoreEveryLowAddress(MachineState& machine, uint16_t address, uint8_t value) {
  machine.cpuMem[address] = value;
}

// Boards without a low-range handler of their own keep cartridge RAM at $6000-$7FFF.
void StoreCartridgeRam(MachineState& machine, uint16_t address, uint8_t value) {
  if ((address & kCartRamWindowMask) == kCartRamStart) machine.cpuMem[address] = value;
}

void IgnoreWrite(MachineState&, uint16_t, uint8_t) {}

struct Board {
  uint8_t mapperNumber;
  BoardWrite high;  // $8000-$FFFF
  BoardWrite low;   // $2002-$7FFF
};

// One line per supported board; numbers not listed ignore high writes and keep cartridge RAM.
constexpr Board kBoards[] = {
    {0, IgnoreWrite, StoreEveryLowAddress},
    {19, Namco106HighWrite, Namco106LowWrite},
    {24, Vrc6HighWrite, StoreCartridgeRam},
};

struct DispatchTable {
  std::array<BoardWrite, 256> high;
  std::array<BoardWrite, 256> low;
};

constexpr DispatchTable BuildDispatchTable() {
  DispatchTable table{};
  table.high.fill(IgnoreWrite);
  table.low.fill(StoreCartridgeRam);
  for (const Board& board : kBoards) {
    table.high[board.mapperNumber] = board.high;
    table.low[board.mapperNumber] = board.low;
  }
  return table;
}

constexpr bool BoardNumbersAreUnique() {
  for (std::size_t i = 0; i < std::size(kBoards); ++i) {
    for (std::size_t j = i + 1; j < std::size(kBoards); ++j) {
      if (kBoards[i].mapperNumber == kBoards[j].mapperNumber) return false;
    }
  }
  return true;
}
static_assert(BoardNumbersAreUnique(), "a mapper number appears twice in kBoards");

constexpr DispatchTable kDispatch = BuildDispatchTable();

}  // namespace

void MapperHighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  kDispatch.high[machine.header.mapperNumber](machine, address, value);
}

void MapperLowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  kDispatch.low[machine.header.mapperNumber](machine, address, value);
}

}  // namespace wrenfold
