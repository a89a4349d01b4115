// Mappers 33 (Taito TC0190), 48 (Taito TC0690) and 80 (Taito X1-005).
#include "emulator/cart/mappers/taito.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mappers/name_table_sources.h"
#include "emulator/host/log.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

// TC0190 and TC0690: $8000 PRG at $8000, $8001 PRG at $A000, $8002/$8003 2 KB CHR at
// $0000/$0800, $A000-$A003 1 KB CHR at $1000-$1C00.
constexpr uint16_t kPrg8000 = 0x8000;
constexpr uint16_t kPrgA000 = 0x8001;
constexpr uint16_t kChr0000 = 0x8002;
constexpr uint16_t kChr0800 = 0x8003;
constexpr uint16_t kFirstChr1k = 0xA000;
constexpr uint16_t kLastChr1k = 0xA003;
constexpr uint8_t kTc0190Horizontal = 0x40;  // $8000 bit 6
constexpr uint8_t kPrgMask = 0x3F;

// TC0690: the IRQ at $C000-$C003 and the mirroring at $E000 (bit 6: horizontal).
constexpr uint16_t kTc0690IrqLatch = 0xC000;
constexpr uint16_t kTc0690IrqReload = 0xC001;
constexpr uint16_t kTc0690IrqEnable = 0xC002;
constexpr uint16_t kTc0690IrqDisable = 0xC003;
constexpr uint16_t kTc0690Mirroring = 0xE000;
constexpr uint16_t kTc0690RegisterMask = 0xE003;
constexpr uint8_t kTc0690Horizontal = 0x40;

// The TC0690 low range also answers three PRG registers of its own at $5114-$5116.
constexpr uint16_t kLowPrgA000 = 0x5114;
constexpr uint16_t kLowPrg8000 = 0x5115;
constexpr uint16_t kLowPrgC000 = 0x5116;
constexpr uint8_t kLowPrgRom = 0x80;  // clear: the chip would map RAM, which is not emulated

// X1-005: registers at $7EF0-$7EFF, 128 bytes of RAM at $7F00-$7F7F seen twice up to $7FFF.
constexpr uint16_t kX1005First = 0x7EF0;
constexpr uint16_t kX1005Chr0000 = 0x7EF0;  // 2 KB, bit 0 ignored; bit 7 name-table page
constexpr uint16_t kX1005Chr0800 = 0x7EF1;
constexpr uint16_t kX1005FirstChr1k = 0x7EF2;
constexpr uint16_t kX1005LastChr1k = 0x7EF5;
constexpr uint16_t kX1005MirroringFirst = 0x7EF6;  // $7EF6/$7EF7 bit 0: vertical
constexpr uint16_t kX1005MirroringLast = 0x7EF7;
constexpr uint16_t kX1005PrgFirst = 0x7EFA;  // $7EFA/B at $8000, $7EFC/D at $A000, $7EFE/F $C000
constexpr uint16_t kX1005RamStart = 0x7F00;
constexpr uint16_t kX1005RamMirror = 0x0080;
constexpr uint8_t kX1005Chr2kMask = 0x7E;
constexpr uint8_t kX1005PagePick = 0x80;

enum X1005NameTables : uint8_t { kFromHeader = 0, kFromChrBit7 = 1, kFromRegister = 2 };

// The registers the two Taito ASICs share.
bool WriteSharedBankRegister(MachineState& machine, uint16_t address, uint8_t value) {
  if (address == kPrg8000) {
    CopyPrgBank8kCached(machine, 0, value & kPrgMask);
  } else if (address == kPrgA000) {
    CopyPrgBank8kCached(machine, 1, value & kPrgMask);
  } else if (address == kChr0000 || address == kChr0800) {
    const uint32_t slot = address == kChr0000 ? 0 : 2;
    CopyChrBankCached(machine, machine.chrBankCache[slot], static_cast<uint16_t>(slot * kBank1k),
                      kBank2k, value);
    machine.chrBankCache[slot + 1] = kNoBankCached;
  } else if (address >= kFirstChr1k && address <= kLastChr1k) {
    CopyChrBank1kCached(machine, 4 + (address & 3), value);
  } else {
    return false;
  }
  return true;
}

// --- X1-005 name tables ---

NameTableLayout HeaderLayout(const MachineState& machine) {
  if (machine.header.mirrorVertical) {
    return {ConsolePage(0), ConsolePage(1), ConsolePage(0), ConsolePage(1)};
  }
  return {ConsolePage(0), ConsolePage(0), ConsolePage(1), ConsolePage(1)};
}

NameTableLayout PagesLayout(uint8_t pages) {
  const NameTableSource top = ConsolePage(pages & 1);
  const NameTableSource bottom = ConsolePage((pages >> 1) & 1);
  return {top, top, bottom, bottom};
}

// Boards wired as the name-table variant take bit 7 of each 2 KB CHR register as the console
// page for that half of the name tables. Once the game writes the mirroring register the board
// is the plain one, and bit 7 is left alone.
void PickPagesFromChrBit7(MachineState& machine, uint16_t address, uint8_t value) {
  MapperRegisters& mapper = machine.mapper;
  if (mapper.taitoNtMode == kFromRegister) return;
  const NameTableLayout shown =
      mapper.taitoNtMode == kFromHeader ? HeaderLayout(machine) : PagesLayout(mapper.taitoNtPages);
  const uint8_t bit = address == kX1005Chr0000 ? 1 : 2;
  mapper.taitoNtPages = static_cast<uint8_t>(
      (value & kX1005PagePick) ? (mapper.taitoNtPages | bit) : (mapper.taitoNtPages & ~bit));
  mapper.taitoNtMode = kFromChrBit7;
  ShowNameTables(machine, shown, PagesLayout(mapper.taitoNtPages));
}

void WriteX1005Mirroring(MachineState& machine, uint8_t value) {
  MapperRegisters& mapper = machine.mapper;
  if (mapper.taitoNtMode == kFromChrBit7) {
    // Back to both pages in the slots, where the mirroring switches expect them.
    ShowNameTables(machine, PagesLayout(mapper.taitoNtPages), PagesLayout(0b10));
  }
  mapper.taitoNtMode = kFromRegister;
  SelectTwoWayMirroring(machine, (value & 1) != 0);
}

}  // namespace

void Tc0190HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address == kPrg8000) SelectTwoWayMirroring(machine, (value & kTc0190Horizontal) == 0);
  if (!WriteSharedBankRegister(machine, address, value)) {
    LogRegisterWrite(address, value);
  }
}

// Banks 0 and 1 stand at $8000 and $A000 from the power-on layout.
void PowerOnTc0190(MachineState& machine) {
  machine.prgBankCache[0] = static_cast<uint8_t>(ReducePrgBank(machine, kBank8k, 0));
  machine.prgBankCache[1] = static_cast<uint8_t>(ReducePrgBank(machine, kBank8k, 1));
}

void Tc0690HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (WriteSharedBankRegister(machine, address, value)) return;
  MapperIrqState& irq = machine.irq;
  switch (address & kTc0690RegisterMask) {
    case kTc0690IrqLatch:
      // The chip takes the complement: the game writes $FF minus the lines to wait, and the
      // IRQ comes one line later than the MMC3's for the same latch.
      irq.irqLatch = static_cast<uint8_t>((value ^ 0xFF) + 1);
      break;
    case kTc0690IrqReload:
      irq.irqReload = 1;
      break;
    case kTc0690IrqEnable:
      irq.irqEnable = 1;
      break;
    case kTc0690IrqDisable:
      irq.irqEnable = 0;
      AcknowledgeCartridgeIrq(machine);
      break;
    case kTc0690Mirroring:
      SelectTwoWayMirroring(machine, (value & kTc0690Horizontal) == 0);
      break;
    default:
      break;
  }
}

void Tc0690LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address == kLowPrgA000 || address == kLowPrg8000 || address == kLowPrgC000) {
    if ((value & kLowPrgRom) == 0) LogText("Q");
    const uint32_t slot = address == kLowPrg8000 ? 0 : (address == kLowPrgA000 ? 1 : 2);
    CopyPrgBank8kCached(machine, slot, value);
  } else if ((address & kCartRamWindowMask) == kCartRamStart) {
    machine.cpuMem[address] = value;
  }
}

// $C000-$DFFF hold the second-last bank for good; the power-on layout put the last one there.
void PowerOnTc0690(MachineState& machine) {
  CopyPrgBank8kCached(machine, 2, PrgBank8kFromEnd(machine, 2));
}

void X1005LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address >= kX1005RamStart) {
    const uint16_t first = address & static_cast<uint16_t>(~kX1005RamMirror);
    machine.cpuMem[first] = value;
    machine.cpuMem[first | kX1005RamMirror] = value;
    return;
  }
  if (address < kX1005First) return;
  if (address == kX1005Chr0000 || address == kX1005Chr0800) {
    CopyChrBank2k(machine, address == kX1005Chr0000 ? 0x0000 : 0x0800,
                  (value & kX1005Chr2kMask) >> 1);
    machine.chrBankCache[(address & 1) * 2] = kNoBankCached;
    machine.chrBankCache[(address & 1) * 2 + 1] = kNoBankCached;
    PickPagesFromChrBit7(machine, address, value);
  } else if (address >= kX1005FirstChr1k && address <= kX1005LastChr1k) {
    CopyChrBank1kCached(machine, 4 + (address - kX1005FirstChr1k), value);
  } else if (address == kX1005MirroringFirst || address == kX1005MirroringLast) {
    WriteX1005Mirroring(machine, value);
  } else if (address >= kX1005PrgFirst) {
    CopyPrgBank8kCached(machine, (address - kX1005PrgFirst) >> 1, value);
  }
  // $7EF8/$7EF9 guard the RAM against writes; it is always writable here.
}

}  // namespace wrenfold
