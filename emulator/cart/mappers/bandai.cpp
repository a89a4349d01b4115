// Mapper 16 (Bandai FCG-1/FCG-2 and LZ93D50).
//
// The FCG chips load the IRQ counter itself from registers 11 and 12; the LZ93D50 loads a latch
// there and copies it into the counter when register 10 is written. Both happen here, so either
// chip's games find the counter they set.
#include "emulator/cart/mappers/bandai.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mappers/board_helpers.h"
#include "emulator/cart/mappers/irq_timing.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kRegisterMask = 0x000F;
constexpr uint8_t kLastChrRegister = 7;
constexpr uint8_t kPrgRegister = 8;
constexpr uint8_t kMirroringRegister = 9;
constexpr uint8_t kIrqControlRegister = 10;
constexpr uint8_t kIrqLowRegister = 11;
constexpr uint8_t kIrqHighRegister = 12;
constexpr uint8_t kIrqEnabled = 0x01;

}  // namespace

void BandaiRegisterWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const uint8_t reg = address & kRegisterMask;
  MapperIrqState& irq = machine.irq;
  if (reg <= kLastChrRegister) {
    CopyChrBank1kCached(machine, reg, value);
  } else if (reg == kPrgRegister) {
    if (CopyPrgBankCached(machine, machine.prgBankCache[0], 0x8000, kBank16k, value)) {
      machine.prgBankCache[1] = kNoBankCached;
    }
  } else if (reg == kMirroringRegister) {
    SelectFourWayMirroring(machine, value);
  } else if (reg == kIrqControlRegister) {
    irq.bandaiIrqActive = value & kIrqEnabled;
    irq.bandaiIrqCounter = irq.cycleIrqLatch;
    AcknowledgeCartridgeIrq(machine);
  } else if (reg == kIrqLowRegister) {
    irq.cycleIrqLatch = static_cast<uint16_t>((irq.cycleIrqLatch & 0xFF00) | value);
    irq.bandaiIrqCounter = static_cast<uint16_t>((irq.bandaiIrqCounter & 0xFF00) | value);
  } else if (reg == kIrqHighRegister) {
    irq.cycleIrqLatch = static_cast<uint16_t>((irq.cycleIrqLatch & 0x00FF) | (value << 8));
    irq.bandaiIrqCounter = static_cast<uint16_t>((irq.bandaiIrqCounter & 0x00FF) | (value << 8));
  }
  // Register 13 drives the serial EEPROM, which is not emulated.
}

// The FCG boards answer at $6000-$7FFF as well; there is no cartridge RAM there.
void BandaiLowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if ((address & kCartRamWindowMask) == kCartRamStart) BandaiRegisterWrite(machine, address, value);
}

// The counter counts CPU cycles down while enabled; reaching zero raises the IRQ and stops it.
void BandaiLineStep(MachineState& machine, uint16_t /*line*/, bool /*renderingOn*/) {
  MapperIrqState& irq = machine.irq;
  if (irq.bandaiIrqActive) {
    const uint32_t cycles = IrqCyclesPerLine(machine);
    if (irq.bandaiIrqCounter <= cycles) {
      irq.bandaiIrqCounter = 0;
      irq.bandaiIrqActive = 0;
      RaiseCartridgeIrq(machine);
    } else {
      irq.bandaiIrqCounter = static_cast<uint16_t>(irq.bandaiIrqCounter - cycles);
    }
  }
  TakeCartridgeIrq(machine);
}

}  // namespace wrenfold
