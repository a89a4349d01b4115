// Mapper 19 (Namco 106/163).
#include "emulator/cart/mappers/namco106.h"

#include <cstring>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mappers/irq_timing.h"
#include "emulator/cart/mappers/name_table_sources.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kRegisterMask = 0xF800;
constexpr uint16_t kChrSlotsEnd = 0xC000;        // $8000-$BFFF: eight CHR slots, $800 apart
constexpr uint16_t kNameTableSlotsEnd = 0xE000;  // $C000-$DFFF: four name-table slots
constexpr uint16_t kPrg8000 = 0xE000;
constexpr uint16_t kPrgA000 = 0xE800;  // also bits 6-7: CHR RAM control
constexpr uint16_t kPrgC000 = 0xF000;
constexpr uint16_t kSoundAddressStart = 0xF800;  // $F800-$FFFF: sound RAM address register
constexpr uint8_t kPrgBankMask = 0x3F;
constexpr uint8_t kChrRamControlMask = 0xC0;
constexpr uint8_t kChrRamLowTables = 0x40;    // set: $E0-$FF at $0000-$0FFF are CHR ROM
constexpr uint8_t kChrRamHighTables = 0x80;   // set: $E0-$FF at $1000-$1FFF are CHR ROM
constexpr uint8_t kConsolePageValues = 0xE0;  // $E0 and up name the console's RAM

constexpr uint8_t kSoundAddressMask = 0x7F;
constexpr uint8_t kSoundAutoIncrement = 0x80;

// Ports outside the PRG window.
constexpr uint16_t kNamcoSoundData = 0x4800;
constexpr uint16_t kNamcoIrqLowStart = 0x5000;   // $5000-$57FF: IRQ counter bits 0-7
constexpr uint16_t kNamcoIrqHighStart = 0x5800;  // $5800-$5FFF: bits 8-14, bit 7 = enable
constexpr uint16_t kNamcoIrqEnd = 0x6000;

// The counter's bit 15 holds the enable, as $5800 reads it back.
constexpr uint16_t kIrqEnabled = 0x8000;
constexpr uint16_t kCounterMask = 0x7FFF;

NameTableSource SourceOf(uint8_t reg) {
  return reg >= kConsolePageValues ? ConsolePage(reg & 1) : ChrPage(reg);
}

NameTableLayout CurrentLayout(const MachineState& machine) {
  const uint8_t* regs = machine.mapper.namcoNtRegs;
  return {SourceOf(regs[0]), SourceOf(regs[1]), SourceOf(regs[2]), SourceOf(regs[3])};
}

void WriteNameTableSlot(MachineState& machine, uint32_t slot, uint8_t value) {
  const NameTableLayout shown = CurrentLayout(machine);
  machine.mapper.namcoNtRegs[slot] = value;
  ShowNameTables(machine, shown, CurrentLayout(machine));
}

// Values $E0 and up would show the console's name-table RAM as patterns unless the control
// bit of that pattern table says CHR ROM; that use is not emulated and leaves the slot alone.
void WriteChrSlot(MachineState& machine, uint32_t slot, uint8_t value) {
  const uint8_t romBit = slot < 4 ? kChrRamLowTables : kChrRamHighTables;
  if (value >= kConsolePageValues && (machine.mapper.namcoChrRamCtrl & romBit) == 0) return;
  CopyChrBank1kCached(machine, slot, value);
}

}  // namespace

void Namco106HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const uint16_t reg = address & kRegisterMask;
  if (reg < kChrSlotsEnd) {
    WriteChrSlot(machine, (reg - 0x8000u) >> 11, value);
  } else if (reg < kNameTableSlotsEnd) {
    WriteNameTableSlot(machine, (reg - kChrSlotsEnd) >> 11, value);
  } else if (reg == kPrg8000) {
    CopyPrgBank8kCached(machine, 0, value & kPrgBankMask);
  } else if (reg == kPrgA000) {
    machine.mapper.namcoChrRamCtrl = value & kChrRamControlMask;
    CopyPrgBank8kCached(machine, 1, value & kPrgBankMask);
  } else if (reg == kPrgC000) {
    CopyPrgBank8kCached(machine, 2, value & kPrgBankMask);
  } else if (reg >= kSoundAddressStart) {
    machine.mapper.namcoAddrCtrl = value;
    machine.mapper.namcoRamAddr = value & kSoundAddressMask;
  }
}

void Namco106LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  MapperIrqState& irq = machine.irq;
  if (address == kNamcoSoundData) {
    MapperRegisters& mapper = machine.mapper;
    machine.namcoRam[mapper.namcoRamAddr & kSoundAddressMask] = value;
    if (mapper.namcoAddrCtrl & kSoundAutoIncrement) ++mapper.namcoRamAddr;
    mapper.namcoRamAddr &= kSoundAddressMask;
  } else if (address >= kNamcoIrqLowStart && address < kNamcoIrqHighStart) {
    irq.cycleIrqCounter = static_cast<uint16_t>((irq.cycleIrqCounter & 0xFF00) | value);
    AcknowledgeCartridgeIrq(machine);
  } else if (address >= kNamcoIrqHighStart && address < kNamcoIrqEnd) {
    irq.cycleIrqCounter = static_cast<uint16_t>((irq.cycleIrqCounter & 0x00FF) | (value << 8));
    AcknowledgeCartridgeIrq(machine);
  } else if ((address & kCartRamWindowMask) == kCartRamStart) {
    machine.cpuMem[address] = value;
  }
}

// $4800 reads the sound memory byte the address register selects (without stepping it);
// $5000-$57FF and $5800-$5FFF read the IRQ counter's low and high byte.
bool Namco106PortRead(MachineState& machine, uint16_t address, uint8_t& value) {
  if (address == kNamcoSoundData) {
    value = machine.namcoRam[machine.mapper.namcoRamAddr & kSoundAddressMask];
    return true;
  }
  if (address >= kNamcoIrqLowStart && address < kNamcoIrqHighStart) {
    value = static_cast<uint8_t>(machine.irq.cycleIrqCounter & 0xFF);
    return true;
  }
  if (address >= kNamcoIrqHighStart && address < kNamcoIrqEnd) {
    value = static_cast<uint8_t>(machine.irq.cycleIrqCounter >> 8);
    return true;
  }
  return false;
}

// The name-table slots start on the console's pages 0, 0, 1, 1 (horizontal mirroring). No PRG
// bank is known to stand in $8000-$DFFF yet, so the first bank writes always copy.
void PowerOnNamco106(MachineState& machine) {
  machine.mapper.namcoRamAddr = 0;
  machine.mapper.namcoAddrCtrl = 0;
  const uint8_t pages[4] = {kConsolePageValues, kConsolePageValues, kConsolePageValues | 1,
                            kConsolePageValues | 1};
  std::memcpy(machine.mapper.namcoNtRegs, pages, sizeof pages);
  const NameTableLayout layout = CurrentLayout(machine);
  ShowNameTables(machine, layout, layout);
  ClearBankCaches(machine);
}

// While enabled the counter counts CPU cycles up to $7FFF, where it stops with the IRQ raised.
void Namco106LineStep(MachineState& machine, uint16_t /*line*/, bool /*renderingOn*/) {
  MapperIrqState& irq = machine.irq;
  const uint32_t count = irq.cycleIrqCounter & kCounterMask;
  if ((irq.cycleIrqCounter & kIrqEnabled) && count < kCounterMask) {
    const uint32_t advanced = count + IrqCyclesPerLine(machine);
    if (advanced >= kCounterMask) {
      irq.cycleIrqCounter = kIrqEnabled | kCounterMask;
      RaiseCartridgeIrq(machine);
    } else {
      irq.cycleIrqCounter = static_cast<uint16_t>(kIrqEnabled | advanced);
    }
  }
  TakeCartridgeIrq(machine);
}

}  // namespace wrenfold
