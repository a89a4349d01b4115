// Name-table mirroring by copying: ppuMem holds four real 1 KB slots, every name-table write
// also lands in the slots that mirror it, and a mode switch moves whole tables.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// Stores `value` at `address` ($2000-$2FFF) and at every slot that mirrors it.
void WriteNameTable(MachineState& machine, uint16_t address, uint8_t value);

void SetHorizontal(MachineState& machine);
void SetVertical(MachineState& machine);
void SetOneScreenA(MachineState& machine);
void SetOneScreenB(MachineState& machine);
void LeaveToHorizontal(MachineState& machine);
void LeaveToVertical(MachineState& machine);

}  // namespace wrenfold
