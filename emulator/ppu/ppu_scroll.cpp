#include "emulator/ppu/ppu_scroll.h"

namespace wrenfold {
namespace {

constexpr uint16_t kTableSelect = 0x0C00;
constexpr uint16_t kLowByte = 0x00FF;
constexpr uint16_t kAddressHighBits = 0x3F00;  // a first $2006 write sets bits 8-13, clears 14
constexpr uint16_t kLastRowOfTable = 29 << 5;
constexpr uint16_t kLastRow = 31 << 5;
constexpr uint16_t kRowStep = 1 << 5;
constexpr uint16_t kFineYStep = 1 << kScrollFineYShift;

}  // namespace

void SetVramAddr(PpuLatches& ppu, uint16_t value) {
  ppu.vramAddr = value & kScrollBits;
  ppu.fineY = FineYOf(ppu.vramAddr);
}

void WriteScrollTable(PpuLatches& ppu, uint8_t control) {
  ppu.vramLatch = static_cast<uint16_t>((ppu.vramLatch & ~kTableSelect) | ((control & 3) << 10));
}

void WriteScroll(PpuLatches& ppu, uint8_t value) {
  if (!ppu.writeToggle) {
    ppu.vramLatch = static_cast<uint16_t>((ppu.vramLatch & ~kScrollCoarseX) | (value >> 3));
    ppu.fineX = value & 7;
  } else {
    ppu.vramLatch = static_cast<uint16_t>((ppu.vramLatch & ~(kScrollCoarseY | kScrollFineY)) |
                                          ((value >> 3) << 5) | ((value & 7) << kScrollFineYShift));
  }
  ppu.writeToggle ^= 1;
}

void WriteAddress(PpuLatches& ppu, uint8_t value) {
  if (!ppu.writeToggle) {
    ppu.vramLatch =
        static_cast<uint16_t>((ppu.vramLatch & kLowByte) | ((value << 8) & kAddressHighBits));
  } else {
    ppu.vramLatch = static_cast<uint16_t>((ppu.vramLatch & ~kLowByte & kScrollBits) | value);
    SetVramAddr(ppu, ppu.vramLatch);
  }
  ppu.writeToggle ^= 1;
}

void StepDataAddress(PpuLatches& ppu, bool stepRow) {
  SetVramAddr(ppu, static_cast<uint16_t>(ppu.vramAddr + (stepRow ? 32 : 1)));
}

uint16_t NextColumn(uint16_t scroll) {
  if ((scroll & kScrollCoarseX) == kScrollCoarseX) {
    return static_cast<uint16_t>((scroll & ~kScrollCoarseX) ^ kScrollTableX);
  }
  return static_cast<uint16_t>(scroll + 1);
}

uint16_t NextLine(uint16_t scroll) {
  if ((scroll & kScrollFineY) != kScrollFineY) return static_cast<uint16_t>(scroll + kFineYStep);
  scroll &= static_cast<uint16_t>(~kScrollFineY);
  const uint16_t row = scroll & kScrollCoarseY;
  if (row == kLastRowOfTable) {
    return static_cast<uint16_t>((scroll & ~kScrollCoarseY) ^ kScrollTableY);
  }
  if (row == kLastRow) return static_cast<uint16_t>(scroll & ~kScrollCoarseY);
  return static_cast<uint16_t>(scroll + kRowStep);
}

void StartFrameScroll(PpuLatches& ppu) {
  SetVramAddr(ppu, ppu.vramLatch);
}

void StartLineScroll(PpuLatches& ppu) {
  SetVramAddr(ppu, static_cast<uint16_t>((ppu.vramAddr & ~kScrollHorizontal) |
                                         (ppu.vramLatch & kScrollHorizontal)));
}

// The console steps the vertical part at the end of the line, then takes the horizontal part
// from t and fetches the next line's first two tiles, which leaves v two columns on.
void FinishLineScroll(PpuLatches& ppu) {
  uint16_t next = NextLine(ppu.vramAddr);
  next = static_cast<uint16_t>((next & ~kScrollHorizontal) | (ppu.vramLatch & kScrollHorizontal));
  SetVramAddr(ppu, NextColumn(NextColumn(next)));
}

}  // namespace wrenfold
