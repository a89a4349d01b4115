// Mappers 2, 3, 7, 8, 11, 34, 66, 70, 71, 96, 232: discrete-logic boards with one bank register
// (mappers 0, 5 and 185 have none; their rows are in discrete.h).
//
// Register values reach the bank helpers as the board decodes them; the helpers reduce every bank
// number modulo the banks of that size the image holds, so a value beyond the image (or an image
// smaller than the bank) still selects data inside it.
#include "emulator/cart/mappers/discrete.h"

#include <cstring>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/mirroring.h"

namespace wrenfold {
namespace {

constexpr uint16_t kPrg8000 = 0x8000;
constexpr uint16_t kPrgC000 = 0xC000;
constexpr uint16_t kPrgE000 = 0xE000;
constexpr uint16_t kPatternTable0 = 0x0000;
constexpr uint16_t kPatternTable1 = 0x1000;

// Boards whose cache entry holds the register bits rather than the bank number: the copy is
// skipped while those bits are unchanged.
bool RegisterBitsChanged(uint8_t& cacheEntry, uint8_t bits) {
  if (cacheEntry == bits) return false;
  cacheEntry = bits;
  return true;
}

// AxROM: bit 4 picks the one name table shown in all four slots (bits 0-2 pick the bank).
constexpr uint8_t kAxromTableB = 0x10;

// Mapper 8: the CHR copy is not decoded at once; the frame driver rebuilds the whole cache at the
// next frame start because patternDirty is set.
void CopyChrBank8kDeferred(MachineState& machine, uint32_t bank) {
  if (ChrDataSize(machine) != 0) {
    const uint32_t offset = ReduceChrBank(machine, kBank8k, bank) * kBank8k;
    std::memcpy(machine.ppuMem + kPatternTable0, machine.chrRom + offset, kBank8k);
  }
  machine.patternDirty = 1;
}

// Mapper 66: bits 4-5 PRG, bits 0-1 CHR.
constexpr uint8_t kGxromPrgBits = 0x30;
constexpr uint8_t kGxromChrBits = 0x03;

// Mapper 70 decodes these addresses exactly.
constexpr uint16_t kBandaiPrg = 0xC000;
constexpr uint16_t kBandaiPrgAndChr = 0xC010;
constexpr uint16_t kBandaiPrgAlt = 0xC020;
constexpr uint16_t kBandaiMirroring = 0xC080;  // bit 7 set: horizontal
constexpr uint8_t kBandaiPrgBits = 0x70;
constexpr uint8_t kBandaiChrBits = 0x0F;

// Mappers 71 and 232 latch the bank only at $C000-$FFFF.
constexpr uint16_t kCamericaBankSelect = 0xC000;

// Mapper 96: each register places 8 KB starting at a 4 KB step of the PRG data.
constexpr uint16_t kOekaPrg8000 = 0xF000;
constexpr uint16_t kOekaPrgC000 = 0xF004;
constexpr uint16_t kOekaPrgE000 = 0xF005;

// Mapper 34 (NINA-001) registers at the top of cartridge RAM space.
constexpr uint16_t kNinaPrg = 0x7FFD;
constexpr uint16_t kNinaChr0 = 0x7FFE;
constexpr uint16_t kNinaChr1 = 0x7FFF;

}  // namespace

void Mapper2HighWrite(MachineState& machine, uint16_t, uint8_t value) {
  CopyPrgBank16k(machine, kPrg8000, value);
}

void Mapper3HighWrite(MachineState& machine, uint16_t, uint8_t value) {
  CopyChrBank8k(machine, kPatternTable0, value);
}

void Mapper7HighWrite(MachineState& machine, uint16_t, uint8_t value) {
  if (value & kAxromTableB) {
    SetOneScreenB(machine);
  } else {
    SetOneScreenA(machine);
  }
  CopyPrgBank32k(machine, kPrg8000, value);
}

void Mapper8HighWrite(MachineState& machine, uint16_t, uint8_t value) {
  CopyChrBank8kDeferred(machine, value & 7);
  CopyPrgBank16k(machine, kPrg8000, value >> 3);
}

void Mapper11HighWrite(MachineState& machine, uint16_t, uint8_t value) {
  CopyPrgBankCached(machine, machine.prgBankCache[0], kPrg8000, kBank32k, value & 0x0F);
  if (machine.header.chrBankCount != 0) {
    CopyChrBankCached(machine, machine.chrBankCache[0], kPatternTable0, kBank8k, value >> 4);
  }
}

void Mapper34HighWrite(MachineState& machine, uint16_t, uint8_t value) {
  CopyPrgBankCached(machine, machine.prgBankCache[0], kPrg8000, kBank32k, value);
}

void Mapper34LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  switch (address) {
    case kNinaPrg:
      CopyPrgBankCached(machine, machine.prgBankCache[0], kPrg8000, kBank32k, value);
      break;
    case kNinaChr0:
      CopyChrBankCached(machine, machine.chrBankCache[0], kPatternTable0, kBank4k, value);
      break;
    case kNinaChr1:
      CopyChrBankCached(machine, machine.chrBankCache[1], kPatternTable1, kBank4k, value);
      break;
    default:
      break;
  }
}

void Mapper66HighWrite(MachineState& machine, uint16_t, uint8_t value) {
  if (RegisterBitsChanged(machine.prgBankCache[0], value & kGxromPrgBits)) {
    CopyPrgBank32k(machine, kPrg8000, (value & kGxromPrgBits) >> 4);
  }
  CopyChrBankCached(machine, machine.chrBankCache[0], kPatternTable0, kBank8k,
                    value & kGxromChrBits);
}

void Mapper70HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  switch (address) {
    case kBandaiPrg:
    case kBandaiPrgAndChr:
    case kBandaiPrgAlt:
      if (RegisterBitsChanged(machine.prgBankCache[0], value & kBandaiPrgBits)) {
        CopyPrgBank16k(machine, kPrg8000, (value & kBandaiPrgBits) >> 4);
      }
      if (address == kBandaiPrgAndChr) {
        CopyChrBankCached(machine, machine.chrBankCache[0], kPatternTable0, kBank8k,
                          value & kBandaiChrBits);
      }
      break;
    case kBandaiMirroring:
      if (value & 0x80) {
        LeaveToHorizontal(machine);
      } else {
        LeaveToVertical(machine);
      }
      break;
    default:
      LogRegisterWrite(address, value);
      break;
  }
}

void Mapper71HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if ((address & kCamericaBankSelect) == kCamericaBankSelect) {
    CopyPrgBankCached(machine, machine.prgBankCache[0], kPrg8000, kBank16k, value);
  }
}

void Mapper96HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  LogRegisterWrite(address, value);
  const uint32_t offset = value * kBank4k;
  switch (address) {
    case kOekaPrg8000:
      CopyPrgBytes(machine, kPrg8000, offset, kBank8k);
      break;
    case kOekaPrgC000:
      CopyPrgBytes(machine, kPrgC000, offset, kBank8k);
      break;
    case kOekaPrgE000:
      CopyPrgBytes(machine, kPrgE000, offset, kBank8k);
      break;
    default:
      break;
  }
}

}  // namespace wrenfold
