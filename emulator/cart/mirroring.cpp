#include "emulator/cart/mirroring.h"

#include <cstring>
#include <initializer_list>

namespace wrenfold {
namespace {

constexpr std::size_t kTableSize = 0x400;
constexpr uint16_t kSlot2000 = 0x2000;  // holds table A in both two-table layouts
constexpr uint16_t kSlot2400 = 0x2400;
constexpr uint16_t kSlot2800 = 0x2800;
constexpr uint16_t kSlot2C00 = 0x2C00;  // holds table B in both two-table layouts

uint8_t* Slot(MachineState& machine, uint16_t base) {
  return machine.ppuMem + base;
}

void CopySlot(MachineState& machine, uint16_t from, uint16_t to) {
  std::memcpy(Slot(machine, to), Slot(machine, from), kTableSize);
}

void SpareToSlot(MachineState& machine, uint16_t to) {
  std::memcpy(Slot(machine, to), machine.spareNameTable, kTableSize);
}

void SlotToSpare(MachineState& machine, uint16_t from) {
  std::memcpy(machine.spareNameTable, Slot(machine, from), kTableSize);
}

void SlotToOtherThree(MachineState& machine, uint16_t from) {
  for (uint16_t to : {kSlot2000, kSlot2400, kSlot2800, kSlot2C00}) {
    if (to != from) CopySlot(machine, from, to);
  }
}

// From the other one-screen mode: the spare holds the table to show, the slots the one to hide.
void SwapSpareIntoAllSlots(MachineState& machine) {
  SpareToSlot(machine, kSlot2000);
  SlotToSpare(machine, kSlot2400);
  SlotToOtherThree(machine, kSlot2000);
}

}  // namespace

void WriteNameTable(MachineState& machine, uint16_t address, uint8_t value) {
  const uint16_t a = static_cast<uint16_t>(0x2000 | (address & 0x0FFF));
  machine.ppuMem[a] = value;
  if (machine.oneScreenA || machine.oneScreenB) {
    const uint16_t offset = a & 0x23FF;
    machine.ppuMem[offset] = value;
    machine.ppuMem[offset | 0x400] = value;
    machine.ppuMem[offset | 0x800] = value;
    machine.ppuMem[offset | 0xC00] = value;
  } else if (!machine.header.fourScreen) {
    machine.ppuMem[a ^ (machine.header.mirrorVertical ? 0x800 : 0x400)] = value;
  }
}

void SetHorizontal(MachineState& machine) {
  CopySlot(machine, kSlot2000, kSlot2400);
  CopySlot(machine, kSlot2C00, kSlot2800);
  machine.header.mirrorVertical = 0;
}

void SetVertical(MachineState& machine) {
  CopySlot(machine, kSlot2000, kSlot2800);
  CopySlot(machine, kSlot2C00, kSlot2400);
  machine.header.mirrorVertical = 1;
}

void SetOneScreenA(MachineState& machine) {
  if (machine.oneScreenA) return;
  if (machine.oneScreenB) {
    SwapSpareIntoAllSlots(machine);
  } else {
    SlotToSpare(machine, kSlot2C00);
    SlotToOtherThree(machine, kSlot2000);
  }
  machine.oneScreenA = 1;
  machine.oneScreenB = 0;
}

void SetOneScreenB(MachineState& machine) {
  if (machine.oneScreenB) return;
  if (machine.oneScreenA) {
    SwapSpareIntoAllSlots(machine);
  } else {
    SlotToSpare(machine, kSlot2000);
    CopySlot(machine, kSlot2C00, kSlot2800);
    CopySlot(machine, kSlot2800, kSlot2000);
    CopySlot(machine, kSlot2800, kSlot2400);
  }
  machine.oneScreenA = 0;
  machine.oneScreenB = 1;
}

void LeaveToHorizontal(MachineState& machine) {
  if (machine.oneScreenA) {
    SpareToSlot(machine, kSlot2800);
    SpareToSlot(machine, kSlot2C00);
  } else if (machine.oneScreenB) {
    SpareToSlot(machine, kSlot2000);
    SpareToSlot(machine, kSlot2400);
  } else if (machine.header.mirrorVertical) {
    CopySlot(machine, kSlot2000, kSlot2400);
    CopySlot(machine, kSlot2C00, kSlot2800);
  }
  machine.header.mirrorVertical = 0;
  machine.oneScreenA = 0;
  machine.oneScreenB = 0;
}

void LeaveToVertical(MachineState& machine) {
  if (machine.oneScreenA) {
    SpareToSlot(machine, kSlot2400);
    SpareToSlot(machine, kSlot2C00);
  } else if (machine.oneScreenB) {
    SpareToSlot(machine, kSlot2000);
    SpareToSlot(machine, kSlot2800);
  } else if (!machine.header.mirrorVertical) {
    CopySlot(machine, kSlot2000, kSlot2800);
    CopySlot(machine, kSlot2C00, kSlot2400);
  }
  machine.header.mirrorVertical = 1;
  machine.oneScreenA = 0;
  machine.oneScreenB = 0;
}

}  // namespace wrenfold
