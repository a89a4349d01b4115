// The three 6502 interpreters. Each call runs one scanline's budget of cycles.
#pragma once

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

inline constexpr int kCyclesPerLine = 114;

enum class CpuCoreKind { Reference, Second, Full };

// Reference core: packed flags, a fresh 114-cycle budget on every call.
void RunCpuLineReference(MachineState& machine);
// Second core: unpacked flags during a call, leftover cycles carried in cycleCarry.
void RunCpuLineSecond(MachineState& machine);
// Full core: the console's whole instruction set and cycle counts, leftover cycles carried
// in cycleCarry as in the second core.
void RunCpuLineFull(MachineState& machine);

// The default core is tested first, so choosing it costs one comparison per line as before.
inline void RunCpuLine(MachineState& machine, CpuCoreKind core) {
  if (core == CpuCoreKind::Second) {
    RunCpuLineSecond(machine);
  } else if (core == CpuCoreKind::Reference) {
    RunCpuLineReference(machine);
  } else {
    RunCpuLineFull(machine);
  }
}

}  // namespace wrenfold
