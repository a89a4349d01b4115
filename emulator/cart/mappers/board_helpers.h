// Small pieces shared by the board handlers: the cartridge RAM handlers, the log mark of
// unemulated registers and two-way mirroring control.
#pragma once

#include <cstdint>

#include "emulator/cart/mirroring.h"
#include "emulator/host/log.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// $4000-$4015 are the console's own registers; a board's unknown registers lie above them.
inline constexpr uint16_t kLastConsoleRegister = 0x4015;

// cartridge_ram.cpp: the low-range handlers of boards that keep plain RAM there.
// 8 KB of cartridge RAM at $6000-$7FFF, the low range of most boards.
void StoreCartridgeRam(MachineState& machine, uint16_t address, uint8_t value);
// 4 KB of cartridge RAM at $6000-$6FFF; $7000-$7FFF are not decoded.
void StoreCartridgeRamLow4k(MachineState& machine, uint16_t address, uint8_t value);
// A plain byte at every low-range address, register shadows included (mapper 0).
void StoreEveryLowAddress(MachineState& machine, uint16_t address, uint8_t value);

// Marks a write to a register the board's handler does not emulate, so an unknown game's needs
// show in the log: the address, then the value, each on its own line.
inline void LogRegisterWrite(uint16_t address, uint8_t value) {
  LogNumber(address);
  LogNumber(value);
}

// Switches between the two-table layouts only when the requested one differs, so a board that
// rewrites its register every frame pays no table copies.
inline void SelectTwoWayMirroring(MachineState& machine, bool vertical) {
  if (vertical == (machine.header.mirrorVertical != 0)) return;
  if (vertical) {
    SetVertical(machine);
  } else {
    SetHorizontal(machine);
  }
}

}  // namespace wrenfold
