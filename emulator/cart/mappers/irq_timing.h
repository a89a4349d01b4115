// What the cartridge IRQ counters share: the CPU cycles one line step stands for. The frame
// driver calls a board's line step at the start of every line, so each step accounts for the
// line the CPU ran since the previous one, and a counter that expires during a line raises the
// IRQ at the start of the next.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

inline constexpr int kCpuCyclesPerLine = 114;

// The cycles a counter clocked by the CPU moves per line: 114, tuned by IRQADJ, and never less
// than one so that a counter always moves.
inline uint32_t IrqCyclesPerLine(const MachineState& machine) {
  const int cycles = kCpuCyclesPerLine + machine.irqAdjust;
  return cycles < 1 ? 1u : static_cast<uint32_t>(cycles);
}

// A reload value moved by IRQADJ for the counters that count lines, kept inside 8 bits.
inline uint8_t AdjustedLineReload(const MachineState& machine, int reload) {
  const int adjusted = reload + machine.irqAdjust;
  return static_cast<uint8_t>(adjusted < 0 ? 0 : (adjusted > 0xFF ? 0xFF : adjusted));
}

}  // namespace wrenfold
