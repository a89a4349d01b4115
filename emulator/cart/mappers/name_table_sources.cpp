#include "emulator/cart/mappers/name_table_sources.h"

#include <cstring>

#include "emulator/cart/bank_copy.h"

namespace wrenfold {
namespace {

constexpr uint16_t kFirstSlot = 0x2000;
constexpr uint32_t kSlotSize = 0x400;

uint8_t* SlotBytes(MachineState& machine, int slot) {
  return machine.ppuMem + kFirstSlot + slot * kSlotSize;
}

bool SamePage(const NameTableSource& a, const NameTableSource& b) {
  return !a.fromChr && !b.fromChr && a.number == b.number;
}

// Sets how name-table writes spread so that slots showing one console page stay equal.
void SetWriteMirroring(MachineState& machine, const NameTableLayout& layout) {
  machine.oneScreenA = 0;
  machine.oneScreenB = 0;
  machine.header.fourScreen = 0;
  for (const NameTableSource& source : layout) {
    if (source.fromChr) {
      machine.header.fourScreen = 1;
      return;
    }
  }
  if (SamePage(layout[0], layout[1]) && SamePage(layout[0], layout[2]) &&
      SamePage(layout[0], layout[3])) {
    machine.oneScreenA = 1;  // every slot takes every write
  } else if (SamePage(layout[0], layout[2]) && SamePage(layout[1], layout[3]) &&
             !SamePage(layout[0], layout[1])) {
    machine.header.mirrorVertical = 1;
  } else if (SamePage(layout[0], layout[1]) && SamePage(layout[2], layout[3]) &&
             !SamePage(layout[0], layout[2])) {
    machine.header.mirrorVertical = 0;
  } else {
    machine.header.fourScreen = 1;
  }
}

}  // namespace

void ShowNameTables(MachineState& machine, const NameTableLayout& shown,
                    const NameTableLayout& next) {
  bool saved[2] = {false, false};
  for (int slot = 0; slot < 4; ++slot) {
    const NameTableSource& source = shown[slot];
    if (source.fromChr || saved[source.number & 1]) continue;
    std::memcpy(machine.hiddenNameTables[source.number & 1], SlotBytes(machine, slot), kSlotSize);
    saved[source.number & 1] = true;
  }
  for (int slot = 0; slot < 4; ++slot) {
    const NameTableSource& source = next[slot];
    const uint16_t address = static_cast<uint16_t>(kFirstSlot + slot * kSlotSize);
    if (source.fromChr) {
      // Without CHR ROM there is nothing to show; the slot keeps what it held.
      CopyChrBank(machine, address, kBank1k, source.number);
    } else {
      std::memcpy(SlotBytes(machine, slot), machine.hiddenNameTables[source.number & 1], kSlotSize);
    }
  }
  SetWriteMirroring(machine, next);
}

}  // namespace wrenfold
