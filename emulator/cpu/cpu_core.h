// The two 6502 interpreters. Each call runs one scanline's budget of cycles.
#pragma once

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

inline constexpr int kCyclesPerLine = 114;

enum class CpuCoreKind { Reference, Second };

// Reference core: packed flags, a fresh 114-cycle budget on every call.
void RunCpuLineReference(MachineState& machine);
// Second core: unpacked flags during a call, leftover cycles carried in cycleCarry.
void RunCpuLineSecond(MachineState& machine);

inline void RunCpuLine(MachineState& machine, CpuCoreKind core) {
  if (core == CpuCoreKind::Reference) {
    RunCpuLineReference(machine);
  } else {
    RunCpuLineSecond(machine);
  }
}

}  // namespace wrenfold
