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
  const char* name;
};

// One line per supported board; numbers not listed ignore high writes and keep cartridge RAM.
constexpr Board kBoards[] = {
    {0, IgnoreWrite, StoreEveryLowAddress, "NROM"},
    {2, Mapper2HighWrite, StoreCartridgeRam, "UxROM"},
    {3, Mapper3HighWrite, StoreCartridgeRam, "CNROM"},
    {5, IgnoreWrite, StoreCartridgeRam, "MMC5 (fixed banks)"},
    {7, Mapper7HighWrite, StoreCartridgeRam, "AxROM"},
    {8, Mapper8HighWrite, StoreCartridgeRam, "FFE F3xxx"},
    {11, Mapper11HighWrite, StoreCartridgeRam, "Color Dreams"},
    {15, Mapper15HighWrite, StoreCartridgeRam, "100-in-1 Contra Function 16"},
    {19, Namco106HighWrite, Namco106LowWrite, "Namco 106"},
    {24, Vrc6HighWrite, StoreCartridgeRam, "Konami VRC6"},
    {34, Mapper34HighWrite, Mapper34LowWrite, "BNROM / NINA-001"},
    {41, Mapper41HighWrite, Mapper41LowWrite, "Caltron 6-in-1"},
    {66, Mapper66HighWrite, StoreCartridgeRamLow4k, "GxROM"},
    {70, Mapper70HighWrite, StoreCartridgeRam, "Bandai 74161"},
    {71, Mapper71HighWrite, StoreCartridgeRam, "Camerica"},
    {79, IgnoreWrite, Mapper79LowWrite, "AVE NINA-03/06"},
    {87, IgnoreWrite, Mapper87LowWrite, "Jaleco J87"},
    {89, LogOnlyHighWrite, StoreCartridgeRam, "Sunsoft-2 (unemulated)"},
    {91, IgnoreWrite, Mapper91LowWrite, "HK-SF3"},
    {96, Mapper96HighWrite, StoreCartridgeRam, "Bandai Oeka Kids"},
    // 161 and 249: only the low range so far; their high range joins the MMC3 family.
    {161, IgnoreWrite, Mapper161LowWrite, "MMC3 variant 161"},
    {184, IgnoreWrite, Mapper184LowWrite, "Sunsoft-1"},
    {185, IgnoreWrite, StoreCartridgeRam, "CNROM with copy protection"},
    {225, Mapper225HighWrite, StoreCartridgeRam, "Multicart 225"},
    {227, Mapper227HighWrite, StoreCartridgeRam, "Multicart 227"},
    {228, LogOnlyHighWrite, StoreCartridgeRam, "Action 52 (unemulated)"},
    {231, LogOnlyHighWrite, StoreCartridgeRam, "Multicart 231 (unemulated)"},
    {232, Mapper71HighWrite, StoreCartridgeRam, "Camerica Quattro"},
    {240, Mapper240HighWrite, Mapper240LowWrite, "Pirate 240"},
    {241, Mapper241HighWrite, StoreCartridgeRam, "Pirate 241"},
    {242, LogOnlyHighWrite, StoreCartridgeRam, "Pirate 242 (unemulated)"},
    {246, IgnoreWrite, Mapper246LowWrite, "Fong Shen Bang"},
    {249, IgnoreWrite, StoreCartridgeRamLow4k, "MMC3 variant 249"},
    {250, Mapper250HighWrite, StoreCartridgeRam, "Pirate 250"},
    {254, LogOnlyHighWrite, StoreCartridgeRam, "Pirate 254 (unemulated)"},
};

struct DispatchTable {
  std::array<BoardWrite, 256> high;
  std::array<BoardWrite, 256> low;
  std::array<const char*, 256> name;
};

constexpr DispatchTable BuildDispatchTable() {
  DispatchTable table{};
  table.high.fill(IgnoreWrite);
  table.low.fill(StoreCartridgeRam);
  table.name.fill(nullptr);
  for (const Board& board : kBoards) {
    table.high[board.mapperNumber] = board.high;
    table.low[board.mapperNumber] = board.low;
    table.name[board.mapperNumber] = board.name;
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

const char* MapperBoardName(uint8_t mapperNumber) {
  return kDispatch.name[mapperNumber];
}

}  // namespace wrenfold
