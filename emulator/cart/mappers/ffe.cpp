// Mappers 6 (FFE F4xxx) and 17 (FFE F8xxx).
#include "emulator/cart/mappers/ffe.h"

#include <cstring>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mappers/board_helpers.h"
#include "emulator/cart/mappers/irq_timing.h"
#include "emulator/host/log.h"
#include "emulator/machine_state/io_registers.h"
#include "emulator/ppu/ppu_memory.h"

namespace wrenfold {
namespace {

// $42FE bit 4: one-screen B (set) or A; $42FF bit 4: horizontal (set) or vertical. Mapper 6
// takes the mode byte from every write to $42F0-$42FF.
constexpr uint16_t kModeFirst = 0x42F0;
constexpr uint16_t kOneScreenSelect = 0x42FE;
constexpr uint16_t kMirroringSelect = 0x42FF;
constexpr uint8_t kMirroringBit = 0x10;
constexpr uint8_t kModeMask = 0xE0;
constexpr uint8_t kModeSwitching = 0x20;  // mapper 6 switches banks through $8000 in this mode

constexpr uint16_t kUnknownRegister = 0x4500;
constexpr uint16_t kIrqDisable = 0x4501;
constexpr uint16_t kIrqLow = 0x4502;
constexpr uint16_t kIrqHigh = 0x4503;           // also starts the counter
constexpr uint16_t kFirstPrgRegister = 0x4504;  // $4504-$4507: 8 KB at $8000-$E000
constexpr uint16_t kLastPrgRegister = 0x4507;
constexpr uint16_t kFirstChrRegister = 0x4510;  // $4510-$4517: 1 KB at $0000-$1C00
constexpr uint16_t kLastChrRegister = 0x4517;

constexpr uint32_t kChrPageSize = 0x2000;
constexpr uint32_t kPageStore = kPatternRamSize;
constexpr uint8_t kChrPageMask = 0x03;
constexpr uint8_t kPrgBankMask = 0x3C;

void WriteMirroring(MachineState& machine, uint16_t address, uint8_t value) {
  const bool bit = (value & kMirroringBit) != 0;
  if (address == kOneScreenSelect) {
    if (bit) {
      SetOneScreenB(machine);
    } else {
      SetOneScreenA(machine);
    }
  } else if (bit) {
    LeaveToHorizontal(machine);
  } else {
    LeaveToVertical(machine);
  }
}

// Any write to the IRQ registers acknowledges; $4503 starts counting, $4501 stops it.
bool WriteIrq(MachineState& machine, uint16_t address, uint8_t value) {
  MapperIrqState& irq = machine.irq;
  if (address == kIrqDisable) {
    irq.cycleIrqActive = 0;
  } else if (address == kIrqLow) {
    irq.cycleIrqCounter = static_cast<uint16_t>((irq.cycleIrqCounter & 0xFF00) | value);
  } else if (address == kIrqHigh) {
    irq.cycleIrqCounter = static_cast<uint16_t>((irq.cycleIrqCounter & 0x00FF) | (value << 8));
    irq.cycleIrqActive = 1;
  } else {
    return false;
  }
  AcknowledgeCartridgeIrq(machine);
  return true;
}

// Mapper 6 has four pages of pattern RAM. The page shown is the board's pattern RAM at the
// start of the CHR store; the four pages wait after it, from kPageStore on, and the one shown
// is put back before another comes in. With CHR ROM the pages are its first four banks.
void SelectChrPage(MachineState& machine, uint8_t page) {
  MapperRegisters& mapper = machine.mapper;
  if (page == mapper.ffeChrPage) return;
  if (machine.header.chrBankCount == 0) {
    uint8_t* pages = machine.chrRom + kPageStore;
    std::memcpy(pages + mapper.ffeChrPage * kChrPageSize, machine.chrRom, kChrPageSize);
    std::memcpy(machine.chrRom, pages + page * kChrPageSize, kChrPageSize);
    ResetPatternRamMap(machine);
    std::memcpy(machine.ppuMem, machine.chrRom, kChrPageSize);
    DecodeTileRange(machine, 0x0000, kChrPageSize);
  } else {
    CopyChrBank8k(machine, 0x0000, page);
  }
  mapper.ffeChrPage = page;
}

}  // namespace

void Ffe6HighWrite(MachineState& machine, uint16_t /*address*/, uint8_t value) {
  if (machine.mapper.ffeMode != kModeSwitching) {
    LogNumber(machine.mapper.ffeMode);
    return;
  }
  SelectChrPage(machine, value & kChrPageMask);
  CopyPrgBank16k(machine, 0x8000, (value & kPrgBankMask) >> 2);
}

void Ffe6LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if ((address & kCartRamWindowMask) == kCartRamStart) {
    machine.cpuMem[address] = value;
  } else if (address >= kModeFirst && address <= kMirroringSelect) {
    machine.mapper.ffeMode = value & kModeMask;
    if (address >= kOneScreenSelect) WriteMirroring(machine, address, value);
  } else if (address == kUnknownRegister) {
    LogNumber(value);
  } else {
    WriteIrq(machine, address, value);
  }
}

// The pages of pattern RAM start clear, like pattern memory itself.
void PowerOnFfe6(MachineState& machine) {
  machine.mapper.ffeMode = kModeSwitching;
  machine.mapper.ffeChrPage = 0;
  if (machine.header.chrBankCount == 0) {
    std::memset(machine.chrRom, 0, kPageStore + kChrPageSize * (kChrPageMask + 1));
  }
}

void Ffe17LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if ((address & kCartRamWindowMask) == kCartRamStart) {
    machine.cpuMem[address] = value;
  } else if (address == kOneScreenSelect || address == kMirroringSelect) {
    WriteMirroring(machine, address, value);
  } else if (address >= kFirstPrgRegister && address <= kLastPrgRegister) {
    CopyPrgBank8k(machine, static_cast<uint16_t>(0x8000 + (address - kFirstPrgRegister) * kBank8k),
                  value);
  } else if (address >= kFirstChrRegister && address <= kLastChrRegister) {
    CopyChrBank1k(machine, static_cast<uint16_t>((address - kFirstChrRegister) * kBank1k), value);
  } else {
    WriteIrq(machine, address, value);
  }
}

// While counting, the counter counts CPU cycles up; passing $FFFF raises the IRQ and stops it.
void FfeLineStep(MachineState& machine, uint16_t /*line*/, bool /*renderingOn*/) {
  MapperIrqState& irq = machine.irq;
  if (irq.cycleIrqActive) {
    const uint32_t next = irq.cycleIrqCounter + IrqCyclesPerLine(machine);
    if (next > 0xFFFF) {
      irq.cycleIrqCounter = 0;
      irq.cycleIrqActive = 0;
      RaiseCartridgeIrq(machine);
    } else {
      irq.cycleIrqCounter = static_cast<uint16_t>(next);
    }
  }
  TakeCartridgeIrq(machine);
}

}  // namespace wrenfold
