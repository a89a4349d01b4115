#include "emulator/cart/board_table.h"

#include <array>
#include <span>

#include "emulator/cart/mappers/bandai.h"
#include "emulator/cart/mappers/discrete.h"
#include "emulator/cart/mappers/exact_address_boards.h"
#include "emulator/cart/mappers/ffe.h"
#include "emulator/cart/mappers/irem.h"
#include "emulator/cart/mappers/jaleco.h"
#include "emulator/cart/mappers/jy_company.h"
#include "emulator/cart/mappers/logging_only.h"
#include "emulator/cart/mappers/low_register_boards.h"
#include "emulator/cart/mappers/mmc1.h"
#include "emulator/cart/mappers/mmc3_family.h"
#include "emulator/cart/mappers/mmc4.h"
#include "emulator/cart/mappers/multicart.h"
#include "emulator/cart/mappers/namco106.h"
#include "emulator/cart/mappers/sunsoft4.h"
#include "emulator/cart/mappers/sunsoft_fme7.h"
#include "emulator/cart/mappers/taito.h"
#include "emulator/cart/mappers/tengen_rambo1.h"
#include "emulator/cart/mappers/vrc2_vrc4.h"
#include "emulator/cart/mappers/vrc3.h"
#include "emulator/cart/mappers/vrc6.h"

namespace wrenfold {
namespace {

// Every family's rows. A new family file adds its array here.
constexpr std::span<const BoardDescription> kFamilies[] = {
    kDiscreteBoards,      // mappers/discrete.h
    kMulticartBoards,     // mappers/multicart.h
    kLowRegisterBoards,   // mappers/low_register_boards.h
    kExactAddressBoards,  // mappers/exact_address_boards.h
    kLoggingOnlyBoards,   // mappers/logging_only.h
    kNamco106Boards,      // mappers/namco106.h
    kVrc6Boards,          // mappers/vrc6.h
    kMmc1Boards,          // mappers/mmc1.h
    kMmc3FamilyBoards,    // mappers/mmc3_family.h
    kVrc2Vrc4Boards,      // mappers/vrc2_vrc4.h
    kVrc3Boards,          // mappers/vrc3.h
    kBandaiBoards,        // mappers/bandai.h
    kJalecoBoards,        // mappers/jaleco.h
    kSunsoftFme7Boards,   // mappers/sunsoft_fme7.h
    kSunsoft4Boards,      // mappers/sunsoft4.h
    kIremBoards,          // mappers/irem.h
    kTaitoBoards,         // mappers/taito.h
    kMmc4Boards,          // mappers/mmc4.h
    kFfeBoards,           // mappers/ffe.h
    kJyCompanyBoards,     // mappers/jy_company.h
    kTengenRambo1Boards,  // mappers/tengen_rambo1.h
};

struct BoardAlias {
  uint8_t headerNumber;
  uint8_t loadedNumber;
};

// Clone boards the header tells apart without any difference in behaviour.
constexpr BoardAlias kAliases[] = {
    {248, 4},  // an MMC3 clone
};

// Rows by mapper number.
constexpr BoardTable BuildBoardTable() {
  BoardTable table{};
  for (std::size_t number = 0; number < table.size(); ++number) {
    table[number].mapperNumber = static_cast<uint8_t>(number);
  }
  for (std::span<const BoardDescription> family : kFamilies) {
    for (const BoardDescription& board : family) table[board.mapperNumber] = board;
  }
  return table;
}

constexpr bool NoMapperNumberTwice() {
  std::array<int, 256> rows{};
  for (std::span<const BoardDescription> family : kFamilies) {
    for (const BoardDescription& board : family) {
      if (++rows[board.mapperNumber] > 1) return false;
    }
  }
  return true;
}
static_assert(NoMapperNumberTwice(), "a mapper number has two board rows");

constexpr std::size_t SumOfSpans(const BoardDescription& board) {
  std::size_t bytes = 0;
  for (const StateSpan& span : board.savedState) bytes += span.size;
  return bytes;
}

constexpr bool EveryRowIsComplete() {
  for (std::span<const BoardDescription> family : kFamilies) {
    for (const BoardDescription& board : family) {
      if (board.name == nullptr) return false;
      if (SumOfSpans(board) > kBoardStateCapacity) return false;
      for (const StateSpan& span : board.savedState) {
        if (span.offset + span.size > sizeof(MachineState)) return false;
      }
    }
  }
  return true;
}
static_assert(EveryRowIsComplete(),
              "every board row needs a name and saved fields that fit a save state");

}  // namespace

constexpr BoardTable kBoardTable = BuildBoardTable();

uint8_t LoadedMapperNumber(uint8_t headerNumber) {
  for (const BoardAlias& alias : kAliases) {
    if (alias.headerNumber == headerNumber) return alias.loadedNumber;
  }
  return headerNumber;
}

bool IsSupportedMapper(uint8_t headerNumber) {
  return kBoardTable[LoadedMapperNumber(headerNumber)].name != nullptr;
}

std::size_t BoardStateSize(const BoardDescription& board) {
  return SumOfSpans(board);
}

void MapperHighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const BoardWrite highWrite = kBoardTable[machine.header.mapperNumber].highWrite;
  if (highWrite != nullptr) highWrite(machine, address, value);
}

void MapperLowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const BoardWrite lowWrite = kBoardTable[machine.header.mapperNumber].lowWrite;
  if (lowWrite != nullptr) lowWrite(machine, address, value);
}

bool MapperPortRead(MachineState& machine, uint16_t address, uint8_t& value) {
  const BoardPortRead portRead = kBoardTable[machine.header.mapperNumber].portRead;
  return portRead != nullptr && portRead(machine, address, value);
}

}  // namespace wrenfold
