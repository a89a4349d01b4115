// One cartridge board: all that the rest of the emulator knows about a mapper number, in one
// row. Each board family file (emulator/cart/mappers/<family>.h) defines its rows as a constexpr
// array; board_table.cpp gathers them into the 256-entry table that the loader, the buses, the
// frame driver and the renderer use. A hook a board does not have stays null and costs nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// What stands at $8000-$FFFF at power-on. "Last" counts from the end of the PRG data.
enum class PrgLayout : uint8_t {
  kFirstAndLast16k,     // bank 0 at $8000, last bank at $C000
  kFirst16kThenSecond,  // bank 0 at $8000, bank 1 at $C000 (bank 0 again on a 16 KB image)
  kCnrom,               // 16 KB: at $C000 only; 32 KB: both banks; larger: nothing
  kFirst16kAndBank7,    // bank 0 at $8000, bank 7 at $C000
  kFirst32k,
  kFirst16kTwice,
  kLast16kTwice,
  kLast32k,
  kLast8kEverywhere,  // the last 8 KB in all four 8 KB slots
  kLast8kAtE000,      // $8000-$DFFF stay as they are
};

// What stands in the pattern tables $0000-$1FFF at power-on.
enum class ChrLayout : uint8_t {
  kNone,           // nothing: the board's own CHR registers fill the tables
  kFirst8kIfRom,   // the first 8 KB of CHR ROM; with pattern RAM the tables stay as they are
  kFirst8kAlways,  // the first 8 KB of CHR ROM; pattern RAM starts clear
  kSecond8k,
  kLast8k,
};

// The lines the picture has; line counters that only count while the picture is drawn stop here.
inline constexpr uint16_t kVisibleLineCount = 240;

// Registers that do not start at zero, set once the banks of the power-on layout are in place.
using BoardPowerOn = void (*)(MachineState& machine);
// A register write. High-range handlers see $8000-$FFFF; low-range handlers see $2002,
// $2008-$3FFF, $4000-$4013 (after the APU register images) and $4018-$7FFF.
using BoardWrite = void (*)(MachineState& machine, uint16_t address, uint8_t value);
// A CPU read of $2000-$7FFF that is not one of the console's read registers ($2002, $2004,
// $2007, $4016, $4017). Returns true with `value` set when the board answers the address;
// false leaves the read to the byte stored in cpuMem.
using BoardPortRead = bool (*)(MachineState& machine, uint16_t address, uint8_t& value);
// The cartridge's per-line clock: the frame driver calls it at the start of every line of the
// frame (0 to 261 NTSC, 0 to 289 PAL) before the CPU runs that line. `renderingOn` is bit 3 or
// bit 4 of $2001. The timing tweak IRQADJ is machine.irqAdjust.
using BoardLineStep = void (*)(MachineState& machine, uint16_t line, bool renderingOn);
// The renderer's background fetch: called with the number of each background tile that the
// line fetches ahead of drawing it (the first tile of a line is fetched on the line before).
using PpuFetchHook = void (*)(MachineState& machine, uint8_t tile);
// The PPU address the CPU side has just set: called after every $2006 write and every $2007
// access with the address it left (boards that watch the PPU address lines, e.g. A12).
using PpuAddressHook = void (*)(MachineState& machine, uint16_t address);

// Bytes of MachineState that a save state must keep for the board, beyond the parts every
// state keeps (the header, the CPU registers, cpuMem, ppuMem, the palette, sprite memory, the
// spare name table and the Namco sound memory).
struct StateSpan {
  uint32_t offset;
  uint32_t size;
};
// A member of MachineState, e.g. WRENFOLD_STATE_SPAN(mapper.mmc1Regs).
#define WRENFOLD_STATE_SPAN(member)                                \
  ::wrenfold::StateSpan {                                          \
    offsetof(::wrenfold::MachineState, member),                    \
        sizeof(::std::declval<::wrenfold::MachineState&>().member) \
  }
// The room a save state has for one board's own bytes (its block of mapper registers).
inline constexpr std::size_t kBoardStateCapacity = 58;

// Extra sound channels on the cartridge, created at start-up when the options enable them.
enum class ExpansionChip : uint8_t { kNone, kVrc6, kNamco106 };

struct BoardDescription {
  uint8_t mapperNumber = 0;
  const char* name = nullptr;  // null only for the numbers no board answers
  PrgLayout prg = PrgLayout::kFirstAndLast16k;
  ChrLayout chr = ChrLayout::kNone;
  BoardPowerOn powerOn = nullptr;
  BoardWrite highWrite = nullptr;  // null: writes to $8000-$FFFF change nothing
  BoardWrite lowWrite = nullptr;   // null: no register and no RAM below $8000
  BoardPortRead portRead = nullptr;
  BoardLineStep lineStep = nullptr;
  PpuFetchHook ppuFetch = nullptr;
  PpuAddressHook ppuAddress = nullptr;
  std::span<const StateSpan> savedState = {};
  ExpansionChip expansionChip = ExpansionChip::kNone;
  // Images of this board with a trainer keep their NMI handler in it: every NMI enters at $7000.
  bool trainerTakesNmi = false;
};

}  // namespace wrenfold
