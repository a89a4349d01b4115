// Small pieces shared by the board handlers: the cartridge RAM handlers, the log mark of
// unemulated registers, mirroring control and the banks counted from the end of the image.
#pragma once

#include <cstdint>

#include "emulator/cart/bank_copy.h"
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

// The four-way mirroring register most boards share: 0 vertical, 1 horizontal, 2 one-screen A,
// 3 one-screen B. The table that a one-screen mode hides is kept, and choosing the mode already
// in force copies nothing.
inline void SelectFourWayMirroring(MachineState& machine, uint8_t mode) {
  switch (mode & 3) {
    case 0:
      LeaveToVertical(machine);
      break;
    case 1:
      LeaveToHorizontal(machine);
      break;
    case 2:
      SetOneScreenA(machine);
      break;
    default:
      SetOneScreenB(machine);
      break;
  }
}

// The 8 KB bank `fromEnd` banks before the end of the image (1 = the last), for the slots
// boards hold fixed to the end of PRG. A one-bank image wraps onto its only bank.
inline uint32_t PrgBank8kFromEnd(const MachineState& machine, uint32_t fromEnd) {
  const uint32_t banks = PrgDataSize(machine) / kBank8k;
  if (banks == 0) return 0;
  return (banks * fromEnd - fromEnd) % banks;
}

}  // namespace wrenfold
