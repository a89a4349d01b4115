// Mapper 64 (Tengen RAMBO-1).
//
// The windows are built from the registers, as on the chip: changing a mode bit of the bank
// select moves the banks already written, and a register write changes its own window at once.
#include "emulator/cart/mappers/tengen_rambo1.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mappers/irq_timing.h"

namespace wrenfold {
namespace {

constexpr uint16_t kRegisterMask = 0xE001;
constexpr uint16_t kBankSelect = 0x8000;
constexpr uint16_t kBankData = 0x8001;
constexpr uint16_t kMirroring = 0xA000;
constexpr uint16_t kIrqLatch = 0xC000;
constexpr uint16_t kIrqMode = 0xC001;  // bit 0: count CPU cycles; also asks for a reload
constexpr uint16_t kIrqDisable = 0xE000;
constexpr uint16_t kIrqEnable = 0xE001;

constexpr uint8_t kRegisterMask4 = 0x0F;
constexpr uint8_t kChr1kMode = 0x20;
constexpr uint8_t kPrgMode = 0x40;
constexpr uint8_t kChrInversion = 0x80;
constexpr uint8_t kModeBits = kChr1kMode | kPrgMode | kChrInversion;

constexpr uint8_t kR8 = 8;
constexpr uint8_t kR9 = 9;
constexpr uint8_t kRF = 15;
constexpr uint32_t kCyclesPerCycleModeClock = 4;

void ApplyPrg(MachineState& machine) {
  const uint8_t* regs = machine.mapper.ramboRegs;
  const bool swapped = (machine.mapper.ramboBankSelect & kPrgMode) != 0;
  CopyPrgBank8kCached(machine, 0, swapped ? regs[kRF] : regs[6]);
  CopyPrgBank8kCached(machine, 1, swapped ? regs[6] : regs[7]);
  CopyPrgBank8kCached(machine, 2, swapped ? regs[7] : regs[kRF]);
  CopyPrgBank8kCached(machine, 3, PrgBank8kFromEnd(machine, 1));
}

// 1 KB banks per slot of $0000-$0FFF from R0/R1 (2 KB each, or 1 KB with R8/R9) and of
// $1000-$1FFF from R2-R5; the inversion bit swaps the two halves.
void ApplyChr(MachineState& machine) {
  const uint8_t* regs = machine.mapper.ramboRegs;
  const uint8_t select = machine.mapper.ramboBankSelect;
  uint32_t banks[8];
  if (select & kChr1kMode) {
    banks[0] = regs[0];
    banks[1] = regs[kR8];
    banks[2] = regs[1];
    banks[3] = regs[kR9];
  } else {
    banks[0] = regs[0] & 0xFEu;
    banks[1] = regs[0] | 1u;
    banks[2] = regs[1] & 0xFEu;
    banks[3] = regs[1] | 1u;
  }
  for (uint32_t i = 0; i < 4; ++i) banks[4 + i] = regs[2 + i];
  const uint32_t inversion = (select & kChrInversion) ? 4 : 0;
  for (uint32_t slot = 0; slot < 8; ++slot) {
    CopyChrBank1kCached(machine, slot ^ inversion, banks[slot]);
  }
}

// One clock of the cycle-mode counter, as the MMC3 counts: reload when zero or asked to, else
// count down; reaching zero raises the IRQ when enabled.
void ClockCounter(MachineState& machine) {
  MapperIrqState& irq = machine.irq;
  if (irq.irqCounter == 0 || irq.irqReload) {
    irq.irqCounter = irq.irqLatch;
    irq.irqReload = 0;
  } else {
    --irq.irqCounter;
  }
  if (irq.irqCounter == 0 && irq.irqEnable) RaiseCartridgeIrq(machine);
}

}  // namespace

void Rambo1HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  MapperRegisters& mapper = machine.mapper;
  MapperIrqState& irq = machine.irq;
  switch (address & kRegisterMask) {
    case kBankSelect: {
      const bool modeChanged = ((mapper.ramboBankSelect ^ value) & kModeBits) != 0;
      mapper.ramboBankSelect = value;
      if (modeChanged) {
        ApplyPrg(machine);
        ApplyChr(machine);
      }
      break;
    }
    case kBankData: {
      const uint8_t reg = mapper.ramboBankSelect & kRegisterMask4;
      mapper.ramboRegs[reg] = value;
      if (reg == 6 || reg == 7 || reg == kRF) {
        ApplyPrg(machine);
      } else if (reg <= 5 || reg == kR8 || reg == kR9) {
        ApplyChr(machine);
      }
      break;
    }
    case kMirroring:
      SelectTwoWayMirroring(machine, (value & 1) == 0);
      break;
    case kIrqLatch:
      irq.irqLatch = value;
      break;
    case kIrqMode:
      irq.irqCycleMode = value & 1;
      irq.irqReload = 1;
      irq.irqPrescaler = 0;
      break;
    case kIrqDisable:
      irq.irqEnable = 0;
      AcknowledgeCartridgeIrq(machine);
      break;
    case kIrqEnable:
      irq.irqEnable = 1;
      break;
    default:
      break;
  }
}

// Line mode is the MMC3's counter and timing; cycle mode clocks every fourth CPU cycle.
void Rambo1LineStep(MachineState& machine, uint16_t line, bool renderingOn) {
  MapperIrqState& irq = machine.irq;
  if (!irq.irqCycleMode) {
    Mmc3LineStep(machine, line, renderingOn);
    return;
  }
  uint32_t cycles = irq.irqPrescaler + IrqCyclesPerLine(machine);
  for (; cycles >= kCyclesPerCycleModeClock; cycles -= kCyclesPerCycleModeClock) {
    ClockCounter(machine);
  }
  irq.irqPrescaler = static_cast<uint8_t>(cycles);
  TakeCartridgeIrq(machine);
}

void Rambo1PpuAddress(MachineState& machine, uint16_t address) {
  if (!machine.irq.irqCycleMode) Mmc3PpuAddress(machine, address);
}

}  // namespace wrenfold
