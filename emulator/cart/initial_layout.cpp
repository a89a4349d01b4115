#include "emulator/cart/initial_layout.h"

#include <cstring>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/board_table.h"
#include "emulator/ppu/ppu_memory.h"

namespace wrenfold {
namespace {

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

bool LayOutInitialMemory(MachineState& machine) {
  const BoardDescription& board = BoardFor(machine.header.mapperNumber);
  if (board.name == nullptr) return false;
  if (machine.header.chrBankCount == 0) ResetPatternRamMap(machine);
  LayOutPrg(machine, board.prg);
  LayOutChr(machine, board.chr);
  if (board.powerOn != nullptr) board.powerOn(machine);
  return true;
}

}  // namespace wrenfold
