// Mapper 73 (Konami VRC3).
#include "emulator/cart/mappers/vrc3.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mappers/irq_timing.h"

namespace wrenfold {
namespace {

constexpr uint16_t kBlockMask = 0xF000;
constexpr uint16_t kFirstLatchBlock = 0x8000;  // $8000-$BFFF: latch bits 0-3, 4-7, 8-11, 12-15
constexpr uint16_t kLastLatchBlock = 0xB000;
constexpr uint16_t kControlBlock = 0xC000;
constexpr uint16_t kAcknowledgeBlock = 0xD000;
constexpr uint16_t kPrgBlock = 0xF000;

// $C000: bit 0 the enable an acknowledge restores, bit 1 counting, bit 2 the 8-bit mode.
constexpr uint8_t kControlAckEnable = 0x01;
constexpr uint8_t kControlEnable = 0x02;
constexpr uint8_t kControlByteMode = 0x04;

}  // namespace

void Vrc3HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  MapperIrqState& irq = machine.irq;
  const uint16_t block = address & kBlockMask;
  if (block >= kFirstLatchBlock && block <= kLastLatchBlock) {
    const int shift = 4 * ((block - kFirstLatchBlock) >> 12);
    irq.cycleIrqLatch =
        static_cast<uint16_t>((irq.cycleIrqLatch & ~(0x0F << shift)) | ((value & 0x0F) << shift));
  } else if (block == kControlBlock) {
    irq.vrcIrqAckEnable = (value & kControlAckEnable) ? 1 : 0;
    irq.cycleIrqActive = (value & kControlEnable) ? 1 : 0;
    irq.vrcIrqCycleMode = (value & kControlByteMode) ? 1 : 0;
    if (irq.cycleIrqActive) irq.cycleIrqCounter = irq.cycleIrqLatch;
    AcknowledgeCartridgeIrq(machine);
  } else if (block == kAcknowledgeBlock) {
    irq.cycleIrqActive = irq.vrcIrqAckEnable;
    AcknowledgeCartridgeIrq(machine);
  } else if (block == kPrgBlock) {
    if (CopyPrgBankCached(machine, machine.prgBankCache[0], 0x8000, kBank16k, value & 0x0F)) {
      machine.prgBankCache[1] = kNoBankCached;
    }
  }
}

// The counter counts CPU cycles up; each overflow (of the low byte alone in the 8-bit mode)
// reloads it from the latch and raises the IRQ.
void Vrc3LineStep(MachineState& machine, uint16_t /*line*/, bool /*renderingOn*/) {
  MapperIrqState& irq = machine.irq;
  if (irq.cycleIrqActive) {
    const bool byteMode = irq.vrcIrqCycleMode != 0;
    const uint32_t range = byteMode ? 0x100 : 0x10000;
    const uint32_t latch = byteMode ? (irq.cycleIrqLatch & 0xFF) : irq.cycleIrqLatch;
    const uint32_t counter = byteMode ? (irq.cycleIrqCounter & 0xFF) : irq.cycleIrqCounter;
    const uint32_t cycles = IrqCyclesPerLine(machine);
    uint32_t next = counter + cycles;
    if (next >= range) {
      next = latch + (next - range) % (range - latch);
      RaiseCartridgeIrq(machine);
    }
    irq.cycleIrqCounter = byteMode ? static_cast<uint16_t>((irq.cycleIrqCounter & 0xFF00) | next)
                                   : static_cast<uint16_t>(next);
  }
  TakeCartridgeIrq(machine);
}

}  // namespace wrenfold
