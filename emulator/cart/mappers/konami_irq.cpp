#include "emulator/cart/mappers/konami_irq.h"

#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mappers/irq_timing.h"

namespace wrenfold {
namespace {

constexpr uint8_t kControlAckEnable = 0x01;
constexpr uint8_t kControlEnable = 0x02;
constexpr uint8_t kControlCycleMode = 0x04;
constexpr uint32_t kCounterRange = 0x100;

// Counts `clocks` up from the counter; every overflow reloads the latch and raises the IRQ.
void ClockCounter(MachineState& machine, uint32_t clocks) {
  MapperIrqState& irq = machine.irq;
  const uint32_t period = kCounterRange - irq.vrcIrqLatch;
  uint32_t counter = irq.cycleIrqCounter & 0xFF;
  const uint32_t toOverflow = kCounterRange - counter;
  if (clocks < toOverflow) {
    irq.cycleIrqCounter = static_cast<uint16_t>(counter + clocks);
    return;
  }
  // After the first overflow the counter runs through whole periods from the latch.
  counter = irq.vrcIrqLatch + (clocks - toOverflow) % period;
  irq.cycleIrqCounter = static_cast<uint16_t>(counter);
  RaiseCartridgeIrq(machine);
}

}  // namespace

void KonamiIrqWriteLatchLow(MachineState& machine, uint8_t value) {
  machine.irq.vrcIrqLatch = static_cast<uint8_t>((machine.irq.vrcIrqLatch & 0xF0) | (value & 0x0F));
}

void KonamiIrqWriteLatchHigh(MachineState& machine, uint8_t value) {
  machine.irq.vrcIrqLatch =
      static_cast<uint8_t>((machine.irq.vrcIrqLatch & 0x0F) | ((value & 0x0F) << 4));
}

void KonamiIrqWriteLatch(MachineState& machine, uint8_t value) {
  machine.irq.vrcIrqLatch = value;
}

void KonamiIrqWriteControl(MachineState& machine, uint8_t value) {
  MapperIrqState& irq = machine.irq;
  irq.vrcIrqAckEnable = (value & kControlAckEnable) ? 1 : 0;
  irq.cycleIrqActive = (value & kControlEnable) ? 1 : 0;
  irq.vrcIrqCycleMode = (value & kControlCycleMode) ? 1 : 0;
  if (irq.cycleIrqActive) irq.cycleIrqCounter = AdjustedLineReload(machine, irq.vrcIrqLatch);
  AcknowledgeCartridgeIrq(machine);
}

void KonamiIrqAcknowledge(MachineState& machine) {
  machine.irq.cycleIrqActive = machine.irq.vrcIrqAckEnable;
  AcknowledgeCartridgeIrq(machine);
}

void KonamiIrqLineStep(MachineState& machine, uint16_t /*line*/, bool /*renderingOn*/) {
  if (machine.irq.cycleIrqActive) {
    // The line prescaler divides 341 dots by three: one clock per 113.67 cycles, so one a line.
    ClockCounter(machine, machine.irq.vrcIrqCycleMode ? IrqCyclesPerLine(machine) : 1);
  }
  TakeCartridgeIrq(machine);
}

}  // namespace wrenfold
