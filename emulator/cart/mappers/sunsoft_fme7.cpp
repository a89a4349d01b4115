// Mapper 69 (Sunsoft FME-7).
#include "emulator/cart/mappers/sunsoft_fme7.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mappers/board_helpers.h"
#include "emulator/cart/mappers/irq_timing.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kCommandStart = 0x8000;    // $8000-$9FFF: command
constexpr uint16_t kParameterStart = 0xA000;  // $A000-$BFFF: parameter
constexpr uint16_t kSoundStart = 0xC000;      // $C000-$FFFF: the 5B sound chip, not emulated
constexpr uint8_t kCommandMask = 0x0F;

constexpr uint8_t kLastChrCommand = 7;
constexpr uint8_t kRamCommand = 8;
constexpr uint8_t kFirstPrgCommand = 9;  // 9, 10, 11: $8000, $A000, $C000
constexpr uint8_t kLastPrgCommand = 11;
constexpr uint8_t kMirroringCommand = 12;
constexpr uint8_t kIrqControlCommand = 13;
constexpr uint8_t kCounterLowCommand = 14;

// Register 8: bit 6 RAM instead of ROM, bit 7 RAM enabled, bits 0-5 the ROM bank.
constexpr uint8_t kRamSelected = 0x40;
constexpr uint8_t kRamEnabled = 0x80;
constexpr uint8_t kRamBankMask = 0x3F;

// Register 13: bit 0 IRQ enabled, bit 7 counter running.
constexpr uint8_t kIrqEnabled = 0x01;
constexpr uint8_t kCounterRunning = 0x80;

bool ShowsRam(uint8_t control) {
  return (control & kRamSelected) != 0;
}

void WriteParameter(MachineState& machine, uint8_t value) {
  const uint8_t command = machine.mapper.fmeCommand & kCommandMask;
  MapperIrqState& irq = machine.irq;
  if (command <= kLastChrCommand) {
    CopyChrBank1kCached(machine, command, value);
  } else if (command == kRamCommand) {
    machine.mapper.fmeRamControl = value;
  } else if (command <= kLastPrgCommand) {
    CopyPrgBank8kCached(machine, command - kFirstPrgCommand, value & kRamBankMask);
  } else if (command == kMirroringCommand) {
    SelectFourWayMirroring(machine, value);
  } else if (command == kIrqControlCommand) {
    // Clearing the enable acknowledges; writing it set leaves a pending IRQ up.
    irq.cycleIrqActive = value & (kIrqEnabled | kCounterRunning);
    if ((value & kIrqEnabled) == 0) AcknowledgeCartridgeIrq(machine);
  } else if (command == kCounterLowCommand) {
    irq.cycleIrqCounter = static_cast<uint16_t>((irq.cycleIrqCounter & 0xFF00) | value);
  } else {
    irq.cycleIrqCounter = static_cast<uint16_t>((irq.cycleIrqCounter & 0x00FF) | (value << 8));
  }
}

}  // namespace

void Fme7HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address >= kSoundStart) return;
  if (address >= kParameterStart) {
    WriteParameter(machine, value);
  } else if (address >= kCommandStart) {
    machine.mapper.fmeCommand = value & kCommandMask;
  }
}

// Cartridge RAM takes writes only while it is selected and enabled; ROM ignores them.
void Fme7LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const uint8_t control = machine.mapper.fmeRamControl;
  if ((address & kCartRamWindowMask) == kCartRamStart && ShowsRam(control) &&
      (control & kRamEnabled)) {
    machine.cpuMem[address] = value;
  }
}

// The cartridge RAM stays in cpuMem at $6000-$7FFF (so save states and battery files always
// hold it); while register 8 selects ROM there, reads are answered from the chosen PRG bank.
bool Fme7PortRead(MachineState& machine, uint16_t address, uint8_t& value) {
  const uint8_t control = machine.mapper.fmeRamControl;
  if ((address & kCartRamWindowMask) != kCartRamStart || ShowsRam(control)) return false;
  const uint32_t bank = ReducePrgBank(machine, kBank8k, control & kRamBankMask);
  value = machine.prgRom[bank * kBank8k + (address - kCartRamStart)];
  return true;
}

// Register 8 is not cleared at power-on; RAM enabled at $6000 is what games find there.
void PowerOnFme7(MachineState& machine) {
  machine.mapper.fmeRamControl = kRamSelected | kRamEnabled;
}

// The counter counts down every CPU cycle while running; passing from 0 to $FFFF raises the
// IRQ when it is enabled.
void Fme7LineStep(MachineState& machine, uint16_t /*line*/, bool /*renderingOn*/) {
  MapperIrqState& irq = machine.irq;
  if (irq.cycleIrqActive & kCounterRunning) {
    const uint32_t cycles = IrqCyclesPerLine(machine);
    if (cycles > irq.cycleIrqCounter && (irq.cycleIrqActive & kIrqEnabled)) {
      RaiseCartridgeIrq(machine);
    }
    irq.cycleIrqCounter = static_cast<uint16_t>(irq.cycleIrqCounter - cycles);
  }
  TakeCartridgeIrq(machine);
}

}  // namespace wrenfold
