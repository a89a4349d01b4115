// Mappers 32 (Irem G-101) and 65 (Irem H3001).
#include "emulator/cart/mappers/irem.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mappers/irq_timing.h"

namespace wrenfold {
namespace {

constexpr uint16_t kBlockMask = 0xF000;
constexpr uint16_t kPrg0Block = 0x8000;
constexpr uint16_t kControlBlock = 0x9000;
constexpr uint16_t kPrg1Block = 0xA000;
constexpr uint16_t kChrBlock = 0xB000;   // $B000-$B007: 1 KB banks by the low three bits
constexpr uint16_t kPrg2Block = 0xC000;  // H3001 only

// G-101 $9000: bit 0 horizontal mirroring, bit 1 the first bank at $C000.
constexpr uint8_t kG101Horizontal = 0x01;
constexpr uint8_t kG101PrgSwap = 0x02;

// H3001 $9000 block, by the low three address bits.
constexpr uint8_t kH3001Mirroring = 1;  // bit 7: horizontal
constexpr uint8_t kH3001IrqEnable = 3;  // bit 7: counting
constexpr uint8_t kH3001IrqReload = 4;
constexpr uint8_t kH3001IrqLatchHigh = 5;
constexpr uint8_t kH3001IrqLatchLow = 6;
constexpr uint8_t kH3001Horizontal = 0x80;
constexpr uint8_t kH3001Counting = 0x80;

void ApplyG101Prg(MachineState& machine) {
  const uint32_t secondLast = PrgBank8kFromEnd(machine, 2);
  const bool swapped = machine.mapper.iremPrgMode != 0;
  CopyPrgBank8kCached(machine, 0, swapped ? secondLast : machine.mapper.iremPrgReg);
  CopyPrgBank8kCached(machine, 2, swapped ? machine.mapper.iremPrgReg : secondLast);
}

void WriteH3001Control(MachineState& machine, uint16_t address, uint8_t value) {
  MapperIrqState& irq = machine.irq;
  switch (address & 7) {
    case kH3001Mirroring:
      SelectTwoWayMirroring(machine, (value & kH3001Horizontal) == 0);
      break;
    case kH3001IrqEnable:
      irq.cycleIrqActive = (value & kH3001Counting) ? 1 : 0;
      AcknowledgeCartridgeIrq(machine);
      break;
    case kH3001IrqReload:
      irq.cycleIrqCounter = irq.cycleIrqLatch;
      AcknowledgeCartridgeIrq(machine);
      break;
    case kH3001IrqLatchHigh:
      irq.cycleIrqLatch = static_cast<uint16_t>((irq.cycleIrqLatch & 0x00FF) | (value << 8));
      break;
    case kH3001IrqLatchLow:
      irq.cycleIrqLatch = static_cast<uint16_t>((irq.cycleIrqLatch & 0xFF00) | value);
      break;
    default:
      break;  // $9000: the PRG layout switch, which no game is known to use
  }
}

}  // namespace

void IremG101HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  switch (address & kBlockMask) {
    case kPrg0Block:
      machine.mapper.iremPrgReg = value;
      ApplyG101Prg(machine);
      break;
    case kControlBlock:
      SelectTwoWayMirroring(machine, (value & kG101Horizontal) == 0);
      machine.mapper.iremPrgMode = value & kG101PrgSwap;
      ApplyG101Prg(machine);
      break;
    case kPrg1Block:
      CopyPrgBank8kCached(machine, 1, value);
      break;
    case kChrBlock:
      CopyChrBank1kCached(machine, address & 7, value);
      break;
    default:
      break;
  }
}

void IremH3001HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  switch (address & kBlockMask) {
    case kPrg0Block:
      CopyPrgBank8kCached(machine, 0, value);
      break;
    case kControlBlock:
      WriteH3001Control(machine, address, value);
      break;
    case kPrg1Block:
      CopyPrgBank8kCached(machine, 1, value);
      break;
    case kChrBlock:
      CopyChrBank1kCached(machine, address & 7, value);
      break;
    case kPrg2Block:
      CopyPrgBank8kCached(machine, 2, value);
      break;
    default:
      LogRegisterWrite(address, value);
      break;
  }
}

// While counting, the counter counts CPU cycles down; reaching zero raises the IRQ and stops it.
void IremH3001LineStep(MachineState& machine, uint16_t /*line*/, bool /*renderingOn*/) {
  MapperIrqState& irq = machine.irq;
  if (irq.cycleIrqActive) {
    const uint32_t cycles = IrqCyclesPerLine(machine);
    if (irq.cycleIrqCounter <= cycles) {
      irq.cycleIrqCounter = 0;
      irq.cycleIrqActive = 0;
      RaiseCartridgeIrq(machine);
    } else {
      irq.cycleIrqCounter = static_cast<uint16_t>(irq.cycleIrqCounter - cycles);
    }
  }
  TakeCartridgeIrq(machine);
}

}  // namespace wrenfold
