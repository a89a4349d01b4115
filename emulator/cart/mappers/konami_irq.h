// The Konami IRQ counter of the VRC4 and VRC6 (mappers 21, 23, 24, 25, 26): an 8-bit counter
// that counts up from its latch once a line (or, in cycle mode, once a CPU cycle) and raises the
// IRQ as it overflows, reloading the latch and counting on. The IRQ stays up until the game
// acknowledges it.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// The VRC4 writes its latch a nibble at a time, the VRC6 whole.
void KonamiIrqWriteLatchLow(MachineState& machine, uint8_t value);
void KonamiIrqWriteLatchHigh(MachineState& machine, uint8_t value);
void KonamiIrqWriteLatch(MachineState& machine, uint8_t value);
// Bit 0: the enable an acknowledge restores; bit 1: counting enabled, and the counter reloads
// from the latch (moved by IRQADJ); bit 2: cycle mode. Acknowledges a pending IRQ.
void KonamiIrqWriteControl(MachineState& machine, uint8_t value);
// Acknowledges a pending IRQ; counting goes on as bit 0 of the last control write says.
void KonamiIrqAcknowledge(MachineState& machine);

// The boards' line step: one clock in line mode, the line's cycles in cycle mode.
void KonamiIrqLineStep(MachineState& machine, uint16_t line, bool renderingOn);

}  // namespace wrenfold
