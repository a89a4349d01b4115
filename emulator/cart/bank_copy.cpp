#include "emulator/cart/bank_copy.h"

#include <algorithm>
#include <cstring>

#include "emulator/ppu/ppu_memory.h"

namespace wrenfold {
namespace {

constexpr uint32_t kCpuSpaceEnd = 0x10000;
constexpr uint32_t kPpuAddressMask = 0x3FFF;
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

uint32_t ReduceChrBank(const MachineState& machine, uint32_t bankSize, uint32_t bank) {
  return ReduceBank(ChrDataSize(machine), bankSize, bank);
}

void CopyPrgBytes(MachineState& machine, uint16_t cpuAddress, uint32_t prgOffset, uint32_t length) {
  length = std::min(length, kCpuSpaceEnd - cpuAddress);
  CopyWrapped(machine.cpuMem + cpuAddress, machine.prgRom, PrgDataSize(machine), prgOffset, length);
}

void CopyChrBytes(MachineState& machine, uint16_t ppuAddress, uint32_t chrOffset, uint32_t length) {
  const uint32_t dataSize = ChrDataSize(machine);
  if (dataSize == 0) return;  // pattern RAM: nothing to copy from
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

}  // namespace wrenfold
