#include "emulator/cart/initial_layout.h"

#include <cstring>
#include <iterator>

#include "emulator/cart/bank_copy.h"
#include "emulator/ppu/ppu_memory.h"

namespace wrenfold {
namespace {

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
  kNone,
  kFirst8kIfRom,
  kFirst8kAlways,  // a board with pattern RAM starts with it clear
  kSecond8k,
  kLast8k,
};

using PowerOnRegisters = void (*)(MachineState&);

struct BoardLayout {
  uint8_t mapper;
  PrgLayout prg;
  ChrLayout chr;
  PowerOnRegisters registers;  // nullptr: every register starts at zero
};

void PowerOnMmc1(MachineState& m) {
  m.mapper.mmc1Shift = 0;
  m.mapper.mmc1Count = 0;
}

void PowerOnMmc3(MachineState& m) {
  m.irq.irqEnable = 0;
}

void PowerOnMapper245(MachineState& m) {
  m.irq.irqEnable = 0;
  m.mapper.prgSwapAddr = 0x8000;
}

// The board wires its name tables to one page; mirroring starts on table A without a copy.
void PowerOnMapper118(MachineState& m) {
  m.irq.irqEnable = 1;
  m.oneScreenA = 1;
}

void PowerOnMmc4(MachineState& m) {
  m.mapper.mmc4Latch[0] = 0xFE;
  m.mapper.mmc4Latch[1] = 0xFE;
}

void PowerOnFfe(MachineState& m) {
  m.mapper.ffeMode = 0x20;
}

void PowerOnBandai(MachineState& m) {
  m.irq.bandaiIrqActive = 0;
}

void ClearVrcChrRegisters(MachineState& m) {
  std::memset(m.mapper.vrcChrRegs, 0, sizeof m.mapper.vrcChrRegs);
  std::memset(m.mapper.vrcChrHalves, 0, sizeof m.mapper.vrcChrHalves);
}

void PowerOnVrc4WithIrq(MachineState& m) {
  m.mapper.vrcPrgSwapAddr = 0x8000;
  ClearVrcChrRegisters(m);
  m.irq.cycleIrqActive = 0;
}

// Mapper 25 learns its address wiring from the first telling write.
void PowerOnMapper25(MachineState& m) {
  PowerOnVrc4WithIrq(m);
  m.irq.vrcWiringKnown = 0;
  m.irq.vrcAltWiring = 0;
}

void PowerOnIrem32(MachineState& m) {
  m.mapper.iremPrgMode = 1;
}

void PowerOnMapper33(MachineState& m) {
  const uint8_t cache[4] = {0, 1, kNoBankCached, kNoBankCached};
  std::memcpy(m.prgBankCache, cache, sizeof cache);
}

void PowerOnCaltron(MachineState& m) {
  m.mapper.caltronOuterEnable = 0;
}

void PowerOnTaito48(MachineState& m) {
  m.mapper.taitoModes[0] = 3;
  m.mapper.taitoModes[1] = 3;
}

void PowerOnFme7(MachineState& m) {
  std::memset(m.mapper.fmePrgCache, kNoBankCached, sizeof m.mapper.fmePrgCache);
}

void PowerOnTaitoX1005(MachineState& m) {
  m.mapper.taitoX1005Reg = 1;
}

// Namco 106 has its own name-table RAM, so the four slots are never mirrored. The two internal
// pages start in slots $2000/$2400 (page 0) and $2800/$2C00 (page 1).
void PowerOnNamco106(MachineState& m) {
  m.header.fourScreen = 1;
  m.mapper.namcoRamAddr = 0;
  m.mapper.namcoAddrCtrl = 0;
  m.irq.namcoIrqsThisFrame = 0xFF8C;
  const uint8_t pages[4] = {0, 0, 1, 1};
  std::memcpy(m.mapper.namcoNtPage, pages, sizeof pages);
  std::memset(m.chrBankCache, kNoBankCached, sizeof m.chrBankCache);
  PowerOnMapper33(m);  // the same PRG cache picture: banks 0 and 1 in the first two slots
}

using P = PrgLayout;
using C = ChrLayout;

constexpr BoardLayout kBoards[] = {
    {0, P::kFirst16kThenSecond, C::kFirst8kIfRom, nullptr},
    {1, P::kFirstAndLast16k, C::kFirst8kAlways, PowerOnMmc1},
    {2, P::kFirstAndLast16k, C::kNone, nullptr},
    {3, P::kCnrom, C::kFirst8kAlways, nullptr},
    {4, P::kFirstAndLast16k, C::kFirst8kIfRom, PowerOnMmc3},
    {5, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {6, P::kFirst16kAndBank7, C::kNone, PowerOnFfe},
    {7, P::kFirst32k, C::kNone, nullptr},
    {8, P::kFirst32k, C::kFirst8kAlways, nullptr},
    {10, P::kFirstAndLast16k, C::kFirst8kAlways, PowerOnMmc4},
    {11, P::kFirst32k, C::kFirst8kAlways, nullptr},
    {15, P::kFirst32k, C::kNone, nullptr},
    {16, P::kFirstAndLast16k, C::kNone, PowerOnBandai},
    {17, P::kFirstAndLast16k, C::kNone, nullptr},
    {18, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {19, P::kLast8kAtE000, C::kLast8k, PowerOnNamco106},
    {21, P::kFirstAndLast16k, C::kNone, PowerOnVrc4WithIrq},
    {22, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {23, P::kFirstAndLast16k, C::kNone, ClearVrcChrRegisters},
    {24, P::kFirstAndLast16k, C::kFirst8kIfRom, nullptr},
    {25, P::kFirstAndLast16k, C::kNone, PowerOnMapper25},
    {26, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {32, P::kFirstAndLast16k, C::kFirst8kAlways, PowerOnIrem32},
    {33, P::kFirstAndLast16k, C::kFirst8kIfRom, PowerOnMapper33},
    {34, P::kFirst32k, C::kFirst8kIfRom, nullptr},
    {41, P::kFirst32k, C::kFirst8kAlways, PowerOnCaltron},
    {48, P::kLast8kEverywhere, C::kFirst8kAlways, PowerOnTaito48},
    {64, P::kLast8kEverywhere, C::kFirst8kIfRom, nullptr},
    {65, P::kFirstAndLast16k, C::kNone, nullptr},
    {66, P::kFirst32k, C::kFirst8kAlways, nullptr},
    {68, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {69, P::kFirstAndLast16k, C::kFirst8kAlways, PowerOnFme7},
    {70, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {71, P::kFirstAndLast16k, C::kNone, nullptr},
    {73, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {74, P::kFirstAndLast16k, C::kFirst8kIfRom, nullptr},
    {79, P::kFirstAndLast16k, C::kFirst8kIfRom, nullptr},
    {80, P::kFirstAndLast16k, C::kFirst8kAlways, PowerOnTaitoX1005},
    {87, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {89, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {90, P::kFirstAndLast16k, C::kNone, nullptr},
    {91, P::kLast16kTwice, C::kNone, nullptr},
    {96, P::kFirstAndLast16k, C::kFirst8kIfRom, nullptr},
    {112, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {115, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {118, P::kFirstAndLast16k, C::kFirst8kAlways, PowerOnMapper118},
    {160, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {161, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {184, P::kFirstAndLast16k, C::kSecond8k, nullptr},
    {185, P::kFirst16kThenSecond, C::kFirst8kAlways, nullptr},
    {225, P::kFirst32k, C::kFirst8kAlways, nullptr},
    {227, P::kFirst16kTwice, C::kNone, nullptr},
    {228, P::kLast32k, C::kFirst8kAlways, nullptr},
    {231, P::kFirstAndLast16k, C::kNone, nullptr},
    {232, P::kFirstAndLast16k, C::kNone, nullptr},
    {240, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {241, P::kLast32k, C::kNone, nullptr},
    {242, P::kFirstAndLast16k, C::kFirst8kIfRom, nullptr},
    {245, P::kFirstAndLast16k, C::kNone, PowerOnMapper245},
    {246, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {249, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {250, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
    {254, P::kFirstAndLast16k, C::kFirst8kAlways, nullptr},
};

static_assert(std::size(kBoards) == 63, "every supported board has one layout row");

const BoardLayout* FindBoard(uint8_t mapper) {
  for (const BoardLayout& board : kBoards) {
    if (board.mapper == mapper) return &board;
  }
  return nullptr;
}

// Offset of the final `length` bytes of `dataSize` bytes; 0 when the data is not that long,
// so the copy wraps and repeats the image instead.
uint32_t TailOffset(uint32_t dataSize, uint32_t length) {
  return dataSize > length ? dataSize - length : 0;
}

void LayOutPrg(MachineState& m, PrgLayout layout) {
  const uint32_t last16k = m.header.prgBankCount == 0 ? 0 : m.header.prgBankCount - 1;
  const uint32_t last8kOffset = TailOffset(PrgDataSize(m), kBank8k);
  switch (layout) {
    case PrgLayout::kFirstAndLast16k:
      CopyPrgBank16k(m, 0x8000, 0);
      CopyPrgBank16k(m, 0xC000, last16k);
      break;
    case PrgLayout::kFirst16kThenSecond:
      CopyPrgBank16k(m, 0x8000, 0);
      CopyPrgBank16k(m, 0xC000, 1);
      break;
    case PrgLayout::kCnrom:
      if (m.header.prgBankCount == 1) CopyPrgBank16k(m, 0xC000, 0);
      if (m.header.prgBankCount == 2) CopyPrgBank32k(m, 0x8000, 0);
      break;
    case PrgLayout::kFirst16kAndBank7:
      CopyPrgBank16k(m, 0x8000, 0);
      CopyPrgBank16k(m, 0xC000, 7);
      break;
    case PrgLayout::kFirst32k:
      CopyPrgBank32k(m, 0x8000, 0);
      break;
    case PrgLayout::kFirst16kTwice:
      CopyPrgBank16k(m, 0x8000, 0);
      CopyPrgBank16k(m, 0xC000, 0);
      break;
    case PrgLayout::kLast16kTwice:
      CopyPrgBank16k(m, 0x8000, last16k);
      CopyPrgBank16k(m, 0xC000, last16k);
      break;
    case PrgLayout::kLast32k:
      CopyPrgBytes(m, 0x8000, TailOffset(PrgDataSize(m), kBank32k), kBank32k);
      break;
    case PrgLayout::kLast8kEverywhere:
      for (uint16_t slot = 0x8000; slot != 0; slot = static_cast<uint16_t>(slot + kBank8k)) {
        CopyPrgBytes(m, slot, last8kOffset, kBank8k);
      }
      break;
    case PrgLayout::kLast8kAtE000:
      CopyPrgBytes(m, 0xE000, last8kOffset, kBank8k);
      break;
  }
}

void LayOutChr(MachineState& m, ChrLayout layout) {
  const bool hasChrRom = m.header.chrBankCount != 0;
  switch (layout) {
    case ChrLayout::kNone:
      break;
    case ChrLayout::kFirst8kIfRom:
      if (hasChrRom) CopyChrBank8k(m, 0x0000, 0);
      break;
    case ChrLayout::kFirst8kAlways:
      if (hasChrRom) {
        CopyChrBank8k(m, 0x0000, 0);
      } else {
        std::memset(m.ppuMem, 0, kBank8k);
        DecodeTileRange(m, 0x0000, kBank8k);
      }
      break;
    case ChrLayout::kSecond8k:
      CopyChrBank4k(m, 0x0000, 2);
      CopyChrBank4k(m, 0x1000, 3);
      break;
    case ChrLayout::kLast8k:
      CopyChrBytes(m, 0x0000, TailOffset(ChrDataSize(m), kBank8k), kBank8k);
      break;
  }
}

}  // namespace

bool HasInitialLayout(uint8_t mapperNumber) {
  return FindBoard(mapperNumber) != nullptr;
}

bool LayOutInitialMemory(MachineState& machine) {
  const BoardLayout* board = FindBoard(machine.header.mapperNumber);
  if (board == nullptr) return false;
  LayOutPrg(machine, board->prg);
  LayOutChr(machine, board->chr);
  if (board->registers != nullptr) board->registers(machine);
  return true;
}

}  // namespace wrenfold
