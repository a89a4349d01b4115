// Mapper 68 (Sunsoft-4).
#include "emulator/cart/mappers/sunsoft4.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/mappers/name_table_sources.h"
#include "emulator/host/log.h"

namespace wrenfold {
namespace {

constexpr uint16_t kBlockMask = 0xF000;
constexpr uint16_t kFirstChrBlock = 0x8000;  // $8000-$B000: 2 KB at $0000, $0800, $1000, $1800
constexpr uint16_t kLastChrBlock = 0xB000;
constexpr uint16_t kNameTableABlock = 0xC000;
constexpr uint16_t kNameTableBBlock = 0xD000;
constexpr uint16_t kControlBlock = 0xE000;
constexpr uint16_t kPrgBlock = 0xF000;

// $E000: bits 0-1 mirroring (vertical, horizontal, one-screen A, one-screen B), bit 4 the name
// tables come from CHR ROM. The name-table registers pick 1 KB pages in the upper 128 KB.
constexpr uint8_t kMirroringMask = 0x03;
constexpr uint8_t kChrNameTables = 0x10;
constexpr uint8_t kControlMask = kMirroringMask | kChrNameTables;
constexpr uint8_t kNameTableRomPages = 0x80;

NameTableLayout CurrentLayout(const MachineState& machine) {
  const uint8_t control = machine.mapper.sunsoftNtControl;
  NameTableSource a = ConsolePage(0);
  NameTableSource b = ConsolePage(1);
  if (control & kChrNameTables) {
    a = ChrPage(kNameTableRomPages | machine.mapper.sunsoftNtRegs[0]);
    b = ChrPage(kNameTableRomPages | machine.mapper.sunsoftNtRegs[1]);
  }
  switch (control & kMirroringMask) {
    case 0:
      return {a, b, a, b};
    case 1:
      return {a, a, b, b};
    case 2:
      return {a, a, a, a};
    default:
      return {b, b, b, b};
  }
}

}  // namespace

void Sunsoft4HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const uint16_t block = address & kBlockMask;
  MapperRegisters& mapper = machine.mapper;
  if (block >= kFirstChrBlock && block <= kLastChrBlock) {
    const uint32_t slot = 2 * ((block - kFirstChrBlock) >> 12);
    CopyChrBankCached(machine, machine.chrBankCache[slot], static_cast<uint16_t>(slot * kBank1k),
                      kBank2k, value);
    machine.chrBankCache[slot + 1] = kNoBankCached;
  } else if (block == kNameTableABlock || block == kNameTableBBlock || block == kControlBlock) {
    if (block == kControlBlock) LogNumber(value);
    const NameTableLayout shown = CurrentLayout(machine);
    if (block == kControlBlock) {
      mapper.sunsoftNtControl = value & kControlMask;
    } else {
      mapper.sunsoftNtRegs[block == kNameTableBBlock ? 1 : 0] = value & 0x7F;
    }
    ShowNameTables(machine, shown, CurrentLayout(machine));
  } else if (block == kPrgBlock) {
    if (CopyPrgBankCached(machine, machine.prgBankCache[0], 0x8000, kBank16k, value & 0x0F)) {
      machine.prgBankCache[1] = kNoBankCached;
    }
  }
}

// The name tables start as the header's mirroring.
void PowerOnSunsoft4(MachineState& machine) {
  machine.mapper.sunsoftNtControl = machine.header.mirrorVertical ? 0 : 1;
  const NameTableLayout layout = CurrentLayout(machine);
  ShowNameTables(machine, layout, layout);
}

}  // namespace wrenfold
