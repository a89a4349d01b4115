// The cartridge's IRQ output and its way into the CPU. The CPU looks at its IRQ input only
// between scanlines (the frame driver runs each line's CPU slice whole), so a board takes a
// raised line in its line step, at the start of a line.
#pragma once

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// A board's counter fired: the line stays up until the game acknowledges it.
inline void RaiseCartridgeIrq(MachineState& machine) {
  machine.irq.irqLine = 1;
}

// The game acknowledged the IRQ (or disabled it): the line goes down.
inline void AcknowledgeCartridgeIrq(MachineState& machine) {
  machine.irq.irqLine = 0;
}

// Takes the IRQ when the line is up and the CPU's I flag is clear: PC and P (with B clear, as
// every hardware IRQ pushes it) go on the stack, I is set and PC comes from $FFFE. The line
// stays up; a handler that returns without acknowledging is entered again. True when taken.
bool TakeCartridgeIrq(MachineState& machine);

}  // namespace wrenfold
