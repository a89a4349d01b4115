// Bank switching by copying: a bank's bytes go from prgRom into the cpuMem window or from
// chrRom into ppuMem, and every copy into pattern memory re-decodes the tiles it covers.
//
// Bank numbers are reduced modulo the number of banks of that size in the loaded image, the way
// the unused high address lines of a small ROM wrap, so a register value beyond the image picks a
// bank inside it and no copy ever reads outside the stores. An image smaller than one bank repeats
// to fill the window (a 16 KB image as a 32 KB bank shows itself twice).
//
// With no CHR ROM (chrBankCount 0) the board has 8 KB of pattern RAM. It lives in chrRom[0, 8 KB)
// and the pattern tables show 1 KB pieces of it as the board maps them (chrRamBanks, identity
// at load): a CHR copy then switches pieces in, and WritePatternRam keeps the store and every
// slot that shows the same piece in step with the game's $2007 writes.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

inline constexpr uint32_t kBank1k = 0x400;
inline constexpr uint32_t kBank2k = 0x800;
inline constexpr uint32_t kBank4k = 0x1000;
inline constexpr uint32_t kBank8k = 0x2000;
inline constexpr uint32_t kBank16k = 0x4000;
inline constexpr uint32_t kBank32k = 0x8000;

inline constexpr uint8_t kNoBankCached = 0xFF;

inline constexpr uint32_t kPatternRamSize = 0x2000;

// Bytes of PRG / CHR data the loaded image holds, never more than the stores (0 CHR: RAM).
uint32_t PrgDataSize(const MachineState& machine);
uint32_t ChrDataSize(const MachineState& machine);

// The bank of `bankSize` bytes that a request for `bank` actually selects.
uint32_t ReducePrgBank(const MachineState& machine, uint32_t bankSize, uint32_t bank);
uint32_t ReduceChrBank(const MachineState& machine, uint32_t bankSize, uint32_t bank);

// Byte-offset copies for the boards that address their data in units other than the window
// size. The source wraps at the end of the image; the copy stops at the end of the address space.
void CopyPrgBytes(MachineState& machine, uint16_t cpuAddress, uint32_t prgOffset, uint32_t length);
// The part of the range inside the pattern tables ($0000-$1FFF) is re-decoded.
void CopyChrBytes(MachineState& machine, uint16_t ppuAddress, uint32_t chrOffset, uint32_t length);

void CopyPrgBank(MachineState& machine, uint16_t cpuAddress, uint32_t bankSize, uint32_t bank);
void CopyChrBank(MachineState& machine, uint16_t ppuAddress, uint32_t bankSize, uint32_t bank);

inline void CopyPrgBank8k(MachineState& machine, uint16_t cpuAddress, uint32_t bank) {
  CopyPrgBank(machine, cpuAddress, kBank8k, bank);
}
inline void CopyPrgBank16k(MachineState& machine, uint16_t cpuAddress, uint32_t bank) {
  CopyPrgBank(machine, cpuAddress, kBank16k, bank);
}
inline void CopyPrgBank32k(MachineState& machine, uint16_t cpuAddress, uint32_t bank) {
  CopyPrgBank(machine, cpuAddress, kBank32k, bank);
}
inline void CopyChrBank1k(MachineState& machine, uint16_t ppuAddress, uint32_t bank) {
  CopyChrBank(machine, ppuAddress, kBank1k, bank);
}
inline void CopyChrBank2k(MachineState& machine, uint16_t ppuAddress, uint32_t bank) {
  CopyChrBank(machine, ppuAddress, kBank2k, bank);
}
inline void CopyChrBank4k(MachineState& machine, uint16_t ppuAddress, uint32_t bank) {
  CopyChrBank(machine, ppuAddress, kBank4k, bank);
}
inline void CopyChrBank8k(MachineState& machine, uint16_t ppuAddress, uint32_t bank) {
  CopyChrBank(machine, ppuAddress, kBank8k, bank);
}

// Cached copies: skipped when `cacheEntry` already names the (reduced) bank, otherwise the bank
// is copied and remembered. Return true when a copy was made. A bank number of 0xFF or more is
// remembered as kNoBankCached, so it is never skipped by mistake. Whoever overwrites a cached
// window by other means sets its entry back to kNoBankCached.
bool CopyPrgBankCached(MachineState& machine, uint8_t& cacheEntry, uint16_t cpuAddress,
                       uint32_t bankSize, uint32_t bank);
bool CopyChrBankCached(MachineState& machine, uint8_t& cacheEntry, uint16_t ppuAddress,
                       uint32_t bankSize, uint32_t bank);

// 8 KB PRG bank into slot 0-3 ($8000, $A000, $C000, $E000), cached in prgBankCache[slot].
inline bool CopyPrgBank8kCached(MachineState& machine, uint32_t slot, uint32_t bank) {
  slot &= 3;
  return CopyPrgBankCached(machine, machine.prgBankCache[slot],
                           static_cast<uint16_t>(0x8000 + slot * kBank8k), kBank8k, bank);
}
// 1 KB CHR bank into slot 0-7 ($0000-$1C00), cached in chrBankCache[slot].
inline bool CopyChrBank1kCached(MachineState& machine, uint32_t slot, uint32_t bank) {
  slot &= 7;
  return CopyChrBankCached(machine, machine.chrBankCache[slot],
                           static_cast<uint16_t>(slot * kBank1k), kBank1k, bank);
}

// Forgets what every PRG and CHR slot holds.
void ClearBankCaches(MachineState& machine);

// Pattern RAM: every slot shows its own piece (slot k piece k), as at power-on.
void ResetPatternRamMap(MachineState& machine);
// A $2007 write into the pattern tables of a board with pattern RAM.
void WritePatternRam(MachineState& machine, uint16_t address, uint8_t value);
// After ppuMem and chrRamBanks were restored (a save state): the store takes back the pieces
// the slots show. Pieces no slot shows keep what the store held.
void RestorePatternRamStore(MachineState& machine);

}  // namespace wrenfold
