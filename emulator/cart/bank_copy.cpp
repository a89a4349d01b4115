#include "emulator/cart/bank_copy.h"

#include <algorithm>
#include <cstring>

#include "emulator/machine_state/io_registers.h"
#include "emulator/ppu/ppu_memory.h"

namespace wrenfold {
namespace {

constexpr uint32_t kCpuSpaceEnd = 0x10000;
constexpr uint32_t kPatternTablesEnd = 0x2000;

uint32_t ReduceBank(uint32_t dataSize, uint32_t bankSize, uint32_t bank) {
  const uint32_t bankCount = bankSize == 0 ? 0 : dataSize / bankSize;
  return bankCount == 0 ? 0 : bank % bankCount;
}

// Copies `length` bytes of `data` (wrapping at dataSize) from `offset` to `destination`.
void CopyWrapped(uint8_t* destination, const uint8_t* data, uint32_t dataSize, uint32_t offset,
                 uint32_t length) {
  if (dataSize == 0) return;
  offset %= dataSize;
  while (length > 0) {
    const uint32_t piece = std::min(length, dataSize - offset);
    std::memcpy(destination, data + offset, piece);
    destination += piece;
    length -= piece;
    offset = 0;
  }
}

constexpr uint32_t kSlotCount = kPatternTablesEnd / kBank1k;
constexpr uint32_t kPieceCount = kPatternRamSize / kBank1k;

void NoteSharedPieces(MachineState& machine) {
  machine.chrRamShared = 0;
  for (uint32_t a = 0; a < kSlotCount; ++a) {
    for (uint32_t b = a + 1; b < kSlotCount; ++b) {
      if (machine.chrRamBanks[a] == machine.chrRamBanks[b]) machine.chrRamShared = 1;
    }
  }
}

// Shows the pattern RAM pieces from `chrOffset` on in the 1 KB slots the range covers; only the
// pattern tables take pattern RAM.
void SwitchPatternRam(MachineState& machine, uint16_t ppuAddress, uint32_t chrOffset,
                      uint32_t length) {
  const uint32_t start = ppuAddress & kPpuAddressMask;
  if (start >= kPatternTablesEnd) return;
  const uint32_t end = std::min(start + length, kPatternTablesEnd);
  bool changed = false;
  for (uint32_t slot = start / kBank1k; slot * kBank1k < end; ++slot) {
    const uint32_t piece = (chrOffset / kBank1k + slot - start / kBank1k) % kPieceCount;
    if (machine.chrRamBanks[slot] == piece) continue;
    machine.chrRamBanks[slot] = static_cast<uint8_t>(piece);
    std::memcpy(machine.ppuMem + slot * kBank1k, machine.chrRom + piece * kBank1k, kBank1k);
    DecodeTileRange(machine, static_cast<uint16_t>(slot * kBank1k), kBank1k);
    changed = true;
  }
  if (changed) NoteSharedPieces(machine);
}

}  // namespace

uint32_t PrgDataSize(const MachineState& machine) {
  return static_cast<uint32_t>(std::min<std::size_t>(machine.header.prgBankCount, kMaxPrgBanks) *
                               kPrgBankSize);
}

uint32_t ChrDataSize(const MachineState& machine) {
  return static_cast<uint32_t>(std::min<std::size_t>(machine.header.chrBankCount, kMaxChrBanks) *
                               kChrBankSize);
}

uint32_t ReducePrgBank(const MachineState& machine, uint32_t bankSize, uint32_t bank) {
  return ReduceBank(PrgDataSize(machine), bankSize, bank);
}

// The CHR a board switches from: its ROM, or its 8 KB of pattern RAM.
uint32_t ChrSourceSize(const MachineState& machine) {
  const uint32_t romSize = ChrDataSize(machine);
  return romSize != 0 ? romSize : kPatternRamSize;
}

uint32_t ReduceChrBank(const MachineState& machine, uint32_t bankSize, uint32_t bank) {
  return ReduceBank(ChrSourceSize(machine), bankSize, bank);
}

void CopyPrgBytes(MachineState& machine, uint16_t cpuAddress, uint32_t prgOffset, uint32_t length) {
  length = std::min(length, kCpuSpaceEnd - cpuAddress);
  CopyWrapped(machine.cpuMem + cpuAddress, machine.prgRom, PrgDataSize(machine), prgOffset, length);
}

void CopyChrBytes(MachineState& machine, uint16_t ppuAddress, uint32_t chrOffset, uint32_t length) {
  const uint32_t dataSize = ChrDataSize(machine);
  if (dataSize == 0) {
    SwitchPatternRam(machine, ppuAddress, chrOffset, length);
    return;
  }
  const uint32_t start = ppuAddress & kPpuAddressMask;
  length = std::min<uint32_t>(length, kPpuMemSize - start);
  CopyWrapped(machine.ppuMem + start, machine.chrRom, dataSize, chrOffset, length);
  const uint32_t patternEnd = std::min(start + length, kPatternTablesEnd);
  if (start < patternEnd)
    DecodeTileRange(machine, static_cast<uint16_t>(start), patternEnd - start);
}

void CopyPrgBank(MachineState& machine, uint16_t cpuAddress, uint32_t bankSize, uint32_t bank) {
  CopyPrgBytes(machine, cpuAddress, ReducePrgBank(machine, bankSize, bank) * bankSize, bankSize);
}

void CopyChrBank(MachineState& machine, uint16_t ppuAddress, uint32_t bankSize, uint32_t bank) {
  CopyChrBytes(machine, ppuAddress, ReduceChrBank(machine, bankSize, bank) * bankSize, bankSize);
}

bool CopyPrgBankCached(MachineState& machine, uint8_t& cacheEntry, uint16_t cpuAddress,
                       uint32_t bankSize, uint32_t bank) {
  const uint32_t reduced = ReducePrgBank(machine, bankSize, bank);
  if (reduced < kNoBankCached && reduced == cacheEntry) return false;
  CopyPrgBytes(machine, cpuAddress, reduced * bankSize, bankSize);
  cacheEntry = static_cast<uint8_t>(std::min<uint32_t>(reduced, kNoBankCached));
  return true;
}

bool CopyChrBankCached(MachineState& machine, uint8_t& cacheEntry, uint16_t ppuAddress,
                       uint32_t bankSize, uint32_t bank) {
  const uint32_t reduced = ReduceChrBank(machine, bankSize, bank);
  if (reduced < kNoBankCached && reduced == cacheEntry) return false;
  CopyChrBytes(machine, ppuAddress, reduced * bankSize, bankSize);
  cacheEntry = static_cast<uint8_t>(std::min<uint32_t>(reduced, kNoBankCached));
  return true;
}

void ClearBankCaches(MachineState& machine) {
  std::memset(machine.prgBankCache, kNoBankCached, sizeof machine.prgBankCache);
  std::memset(machine.chrBankCache, kNoBankCached, sizeof machine.chrBankCache);
}

void ResetPatternRamMap(MachineState& machine) {
  for (uint32_t slot = 0; slot < kSlotCount; ++slot) {
    machine.chrRamBanks[slot] = static_cast<uint8_t>(slot);
  }
  machine.chrRamShared = 0;
}

void WritePatternRam(MachineState& machine, uint16_t address, uint8_t value) {
  const uint32_t slot = (address & (kPatternTablesEnd - 1)) / kBank1k;
  const uint32_t offset = address & (kBank1k - 1);
  const uint32_t piece = machine.chrRamBanks[slot] % kPieceCount;
  machine.chrRom[piece * kBank1k + offset] = value;
  if (!machine.chrRamShared) {
    machine.ppuMem[slot * kBank1k + offset] = value;
    return;
  }
  for (uint32_t other = 0; other < kSlotCount; ++other) {
    if (machine.chrRamBanks[other] % kPieceCount == piece) {
      machine.ppuMem[other * kBank1k + offset] = value;
    }
  }
}

void RestorePatternRamStore(MachineState& machine) {
  for (uint32_t slot = 0; slot < kSlotCount; ++slot) {
    const uint32_t piece = machine.chrRamBanks[slot] % kPieceCount;
    std::memcpy(machine.chrRom + piece * kBank1k, machine.ppuMem + slot * kBank1k, kBank1k);
  }
  NoteSharedPieces(machine);
}

}  // namespace wrenfold
