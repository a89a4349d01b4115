#include "emulator/cart/cartridge_irq.h"

#include "emulator/cpu/interrupts.h"

namespace wrenfold {

bool TakeCartridgeIrq(MachineState& machine) {
  if (machine.irq.irqLine == 0 || (machine.cpu.P & kFlagI) != 0) return false;
  EnterIrq(machine, static_cast<uint8_t>(machine.cpu.P & ~kFlagB));
  return true;
}

}  // namespace wrenfold
