// The PPU's scroll and address registers, as the console keeps them: the latch t
// (`vramLatch`), the address v (`vramAddr`), fine X and the toggle that $2005 and $2006 share.
// t and v have one layout: coarse X in bits 0-4, coarse Y in 5-9, the name table in 10-11 and
// fine Y in 12-14. $2000, $2005 and $2006 write t; the second $2006 write copies t into v at
// once. While rendering, the renderer draws each line from v, which the PPU moves on itself:
// the horizontal part is reloaded from t at the start of every line, the vertical part steps
// one line at the end of it, and the whole of v is reloaded from t before the first line.
// $2007 reads and writes use v's low 14 bits as the address and step it by 1 or 32.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

inline constexpr uint16_t kScrollCoarseX = 0x001F;
inline constexpr uint16_t kScrollCoarseY = 0x03E0;
inline constexpr uint16_t kScrollTableX = 0x0400;  // the right-hand name table
inline constexpr uint16_t kScrollTableY = 0x0800;  // the lower name table
inline constexpr uint16_t kScrollFineY = 0x7000;
inline constexpr int kScrollFineYShift = 12;
inline constexpr uint16_t kScrollHorizontal = kScrollCoarseX | kScrollTableX;
inline constexpr uint16_t kScrollBits = 0x7FFF;  // t and v are 15 bits wide

inline uint8_t FineYOf(uint16_t scroll) {
  return static_cast<uint8_t>((scroll & kScrollFineY) >> kScrollFineYShift);
}

// Sets v, and fineY with it: fineY is v's fine Y, kept beside it for the save state.
inline void SetVramAddr(PpuLatches& ppu, uint16_t value) {
  ppu.vramAddr = value & kScrollBits;
  ppu.fineY = FineYOf(ppu.vramAddr);
}

// $2000: its two low bits pick the name table in t.
void WriteScrollTable(PpuLatches& ppu, uint8_t control);
// $2005: the first write sets coarse X of t and fine X, the second coarse Y and fine Y of t.
void WriteScroll(PpuLatches& ppu, uint8_t value);
// $2006: the first write sets t's bits 8-13 and clears bit 14, the second its low byte and
// then copies t into v.
void WriteAddress(PpuLatches& ppu, uint8_t value);
// After a $2007 read or write: v steps by 32 (one name-table row) or 1.
void StepDataAddress(PpuLatches& ppu, bool stepRow);

// The steps below run on every rendered line, so they are defined here, where the frame
// driver's line loop can take them in.

// Coarse X + 1; past column 31 to column 0 of the neighbouring name table.
inline uint16_t NextColumn(uint16_t scroll) {
  if ((scroll & kScrollCoarseX) == kScrollCoarseX) {
    return static_cast<uint16_t>((scroll & ~kScrollCoarseX) ^ kScrollTableX);
  }
  return static_cast<uint16_t>(scroll + 1);
}

// Fine Y + 1; past fine Y 7 to the next tile row. Past row 29, the last of a name table, to
// row 0 of the table below; rows 30 and 31 (the attribute bytes, reached only by writing
// them) go on to row 31 and then to row 0 of the same table.
inline uint16_t NextLine(uint16_t scroll) {
  constexpr uint16_t kFineYStep = 1 << kScrollFineYShift;
  constexpr uint16_t kRowStep = 1 << 5;
  constexpr uint16_t kLastRowOfTable = 29 << 5;
  constexpr uint16_t kLastRow = 31 << 5;
  if ((scroll & kScrollFineY) != kScrollFineY) return static_cast<uint16_t>(scroll + kFineYStep);
  scroll &= static_cast<uint16_t>(~kScrollFineY);
  const uint16_t row = scroll & kScrollCoarseY;
  if (row == kLastRowOfTable) {
    return static_cast<uint16_t>((scroll & ~kScrollCoarseY) ^ kScrollTableY);
  }
  if (row == kLastRow) return static_cast<uint16_t>(scroll & ~kScrollCoarseY);
  return static_cast<uint16_t>(scroll + kRowStep);
}

// While rendering is on, once per picture line, drawn or skipped: StartFrameScroll before
// line 0, StartLineScroll before every other line, FinishLineScroll after every line.
inline void StartFrameScroll(PpuLatches& ppu) {
  SetVramAddr(ppu, ppu.vramLatch);
}

inline void StartLineScroll(PpuLatches& ppu) {
  SetVramAddr(ppu, static_cast<uint16_t>((ppu.vramAddr & ~kScrollHorizontal) |
                                         (ppu.vramLatch & kScrollHorizontal)));
}

// The console steps the vertical part at the end of the line, then takes the horizontal part
// from t and fetches the next line's first two tiles, which leaves v two columns on.
inline void FinishLineScroll(PpuLatches& ppu) {
  uint16_t next = NextLine(ppu.vramAddr);
  next = static_cast<uint16_t>((next & ~kScrollHorizontal) | (ppu.vramLatch & kScrollHorizontal));
  SetVramAddr(ppu, NextColumn(NextColumn(next)));
}

}  // namespace wrenfold
