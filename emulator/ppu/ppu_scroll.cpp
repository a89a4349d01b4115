#include "emulator/ppu/ppu_scroll.h"

#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kTableSelect = 0x0C00;
constexpr uint16_t kLowByte = 0x00FF;
constexpr uint16_t kAddressHighBits = 0x3F00;  // a first $2006 write sets bits 8-13, clears 14

}  // namespace

void WriteScrollTable(PpuLatches& ppu, uint8_t control) {
  ppu.vramLatch = static_cast<uint16_t>((ppu.vramLatch & ~kTableSelect) | ((control & kCtrlNameTable) << 10));
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

}  // namespace wrenfold
