// Mappers 79, 87, 91, 184, 246: boards switched through registers below $8000.
//
// Register values reach the bank helpers as the board decodes them; the helpers reduce every bank
// number modulo the banks of that size the image holds, so a value beyond the image still selects
// data inside it.
#include "emulator/cart/mappers/low_register_boards.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/mappers/board_helpers.h"
#include "emulator/machine_state/io_registers.h"
#include "emulator/ppu/ppu_memory.h"

namespace wrenfold {
namespace {

constexpr uint16_t kPrg8000 = 0x8000;
constexpr uint16_t kPrgA000 = 0xA000;
constexpr uint16_t kPatternTable0 = 0x0000;
constexpr uint16_t kPatternTable1 = 0x1000;
constexpr uint32_t kPatternTablesSize = 0x2000;
constexpr uint16_t kCartRamHalf = 0x7000;  // these boards split $6000-$7FFF into two 4 KB ranges

// Mapper 79: the CHR register answers at $4100-$41FF.
constexpr uint16_t kNinaRegisterPage = 0x4100;
constexpr uint16_t kPageMask = 0xFF00;

// Mappers 87 and 184: one register at $6000 exactly.
constexpr uint16_t kLatchRegister = 0x6000;

// Mapper 184: the four layouts of pattern memory, in 4 KB CHR banks.
constexpr uint8_t kSunsoftLow0High1 = 0x14;
constexpr uint8_t kSunsoftLow2High1 = 0x16;
constexpr uint8_t kSunsoftLow0High3 = 0x34;
constexpr uint8_t kSunsoftLow2High3 = 0x36;

// Mapper 246: PRG registers $6000-$6003, CHR registers $6004-$6007, RAM at $6800-$6FFF.
constexpr uint16_t kFongShenPrgRegisters = 0x6000;
constexpr uint16_t kFongShenChrRegisters = 0x6004;
constexpr uint16_t kFongShenRegistersEnd = 0x6008;
constexpr uint16_t kFongShenRamStart = 0x6800;

}  // namespace

void Mapper79LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if ((address & kPageMask) == kNinaRegisterPage) {
    CopyChrBank8k(machine, kPatternTable0, value & 0x0F);
  } else if (address > kLastConsoleRegister) {
    LogRegisterWrite(address, value);
  }
}

void Mapper87LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address == kLatchRegister) CopyChrBytes(machine, kPatternTable0, value * kBank4k, kBank8k);
}

void Mapper91LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address >= kCartRamStart && address < kCartRamHalf) {
    CopyChrBank2k(machine, static_cast<uint16_t>((address & 3) * kBank2k), value);
  } else if (address >= kCartRamHalf && address < kPrgWindowStart) {
    CopyPrgBank8k(machine, (address & 1) ? kPrgA000 : kPrg8000, value);
  }
}

void Mapper184LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address != kLatchRegister) return;
  switch (value) {
    case kSunsoftLow0High1:
      CopyChrBank4k(machine, kPatternTable0, 0);
      CopyChrBank4k(machine, kPatternTable1, 1);
      break;
    case kSunsoftLow2High1:
      CopyChrBank4k(machine, kPatternTable0, 2);
      CopyChrBank4k(machine, kPatternTable1, 1);
      break;
    case kSunsoftLow0High3:
      CopyChrBank4k(machine, kPatternTable0, 0);
      CopyChrBank4k(machine, kPatternTable1, 3);
      break;
    case kSunsoftLow2High3:
      CopyChrBank8k(machine, kPatternTable0, 1);
      break;
    default:
      break;
  }
  // Any value rebuilds the whole cache, also over pattern RAM written since the last frame.
  DecodeTileRange(machine, kPatternTable0, kPatternTablesSize);
}

void Mapper246LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address >= kFongShenRamStart && address < kCartRamHalf) {
    machine.cpuMem[address] = value;
  } else if (address >= kFongShenPrgRegisters && address < kFongShenChrRegisters) {
    CopyPrgBank8k(machine, static_cast<uint16_t>(kPrg8000 + (address & 3) * kBank8k), value);
  } else if (address >= kFongShenChrRegisters && address < kFongShenRegistersEnd) {
    CopyChrBank2k(machine, static_cast<uint16_t>((address & 3) * kBank2k), value);
  }
}

}  // namespace wrenfold
