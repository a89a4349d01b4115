// Mapper 18 (Jaleco SS88006).
//
// Registers are decoded from address bits 12-15 and 0-1. Every bank register is written as two
// nibbles (address bit 0 set: the high one) and takes effect at each write, as on the chip.
#include "emulator/cart/mappers/jaleco.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mappers/irq_timing.h"

namespace wrenfold {
namespace {

constexpr uint16_t kRegisterMask = 0xF003;
constexpr uint16_t kBlockMask = 0xF000;
constexpr uint16_t kPrgBlockA = 0x8000;  // $8000/$8001 bank at $8000, $8002/$8003 at $A000
constexpr uint16_t kPrgBlockB = 0x9000;  // $9000/$9001 bank at $C000
constexpr uint16_t kFirstChrBlock = 0xA000;
constexpr uint16_t kLastChrBlock = 0xD000;
constexpr uint16_t kIrqReloadBlock = 0xE000;  // $E000-$E003: the reload value, a nibble each
constexpr uint16_t kIrqAcknowledge = 0xF000;  // also reloads the counter
constexpr uint16_t kIrqControl = 0xF001;
constexpr uint16_t kMirroring = 0xF002;

// $F001: bit 0 counting enabled; bits 1-3 narrow the counter to 12, 8 or 4 bits.
constexpr uint8_t kIrqEnabled = 0x01;
constexpr uint8_t kIrqControlMask = 0x0F;

uint8_t WithNibble(uint8_t reg, uint16_t address, uint8_t value) {
  if (address & 1) return static_cast<uint8_t>((reg & 0x0F) | ((value & 0x0F) << 4));
  return static_cast<uint8_t>((reg & 0xF0) | (value & 0x0F));
}

uint16_t CounterMask(uint8_t control) {
  if (control & 0x08) return 0x000F;
  if (control & 0x04) return 0x00FF;
  if (control & 0x02) return 0x0FFF;
  return 0xFFFF;
}

void WriteIrqReloadNibble(MachineState& machine, uint16_t address, uint8_t value) {
  const int shift = 4 * (address & 3);
  uint16_t& latch = machine.irq.cycleIrqLatch;
  latch = static_cast<uint16_t>((latch & ~(0x0F << shift)) | ((value & 0x0F) << shift));
}

}  // namespace

void JalecoHighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const uint16_t block = address & kBlockMask;
  MapperRegisters& mapper = machine.mapper;
  MapperIrqState& irq = machine.irq;
  if (block == kPrgBlockA || (block == kPrgBlockB && (address & 2) == 0)) {
    const uint32_t slot = block == kPrgBlockB ? 2 : ((address & 2) ? 1 : 0);
    mapper.jalecoPrgRegs[slot] = WithNibble(mapper.jalecoPrgRegs[slot], address, value);
    CopyPrgBank8kCached(machine, slot, mapper.jalecoPrgRegs[slot]);
  } else if (block >= kFirstChrBlock && block <= kLastChrBlock) {
    const uint32_t slot = 2 * ((block - kFirstChrBlock) >> 12) + ((address & 2) ? 1 : 0);
    mapper.jalecoChrRegs[slot] = WithNibble(mapper.jalecoChrRegs[slot], address, value);
    CopyChrBank1kCached(machine, slot, mapper.jalecoChrRegs[slot]);
  } else if (block == kIrqReloadBlock) {
    WriteIrqReloadNibble(machine, address, value);
  } else {
    switch (address & kRegisterMask) {
      case kIrqAcknowledge:
        irq.cycleIrqCounter = irq.cycleIrqLatch;
        AcknowledgeCartridgeIrq(machine);
        break;
      case kIrqControl:
        irq.cycleIrqActive = value & kIrqControlMask;
        AcknowledgeCartridgeIrq(machine);
        break;
      case kMirroring:
        SelectFourWayMirroring(machine, value);
        break;
      default:
        break;  // $9002 RAM protection and $F003 speech are not emulated
    }
  }
}

// The enabled part of the counter counts CPU cycles down; reaching zero raises the IRQ and the
// count goes on through the wrap.
void JalecoLineStep(MachineState& machine, uint16_t /*line*/, bool /*renderingOn*/) {
  MapperIrqState& irq = machine.irq;
  if (irq.cycleIrqActive & kIrqEnabled) {
    const uint16_t mask = CounterMask(irq.cycleIrqActive);
    const uint32_t count = irq.cycleIrqCounter & mask;
    const uint32_t cycles = IrqCyclesPerLine(machine);
    if (cycles >= count) RaiseCartridgeIrq(machine);
    const uint16_t remaining = static_cast<uint16_t>((count - cycles) & mask);
    irq.cycleIrqCounter = static_cast<uint16_t>((irq.cycleIrqCounter & ~mask) | remaining);
  }
  TakeCartridgeIrq(machine);
}

}  // namespace wrenfold
