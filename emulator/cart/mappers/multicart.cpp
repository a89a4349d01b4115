// Mappers 15, 41, 225, 227: multicarts whose outer and inner banks are chosen by one write.
//
// Register values reach the bank helpers as the board decodes them; the helpers reduce every bank
// number modulo the banks of that size the image holds, so a value beyond the image still selects
// data inside it.
#include "emulator/cart/mappers/multicart.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kPrg8000 = 0x8000;
constexpr uint16_t kPrgC000 = 0xC000;
constexpr uint16_t kPatternTable0 = 0x0000;

// Mapper 15: four registers at $8000-$8003. Mirroring is only noted in the flag; the name-table
// slots follow from the next writes on.
constexpr uint16_t kContraPrg32k = 0x8000;
constexpr uint16_t kContraPrgHigh = 0x8001;
constexpr uint16_t kContraPrg8kEverywhere = 0x8002;
constexpr uint16_t kContraPrgHighMirroring = 0x8003;
constexpr uint8_t kContraHorizontal = 0x40;
constexpr uint8_t kContraUpperHalf = 0x80;

void NoteContraMirroring(MachineState& machine, uint8_t value) {
  machine.header.mirrorVertical = (value & kContraHorizontal) ? 0 : 1;
}

// Mapper 41: the register is the address of a write to $6000-$6FFF.
constexpr uint16_t kCaltronRegisterEnd = 0x7000;
constexpr uint16_t kCaltronOuterEnable = 0x0004;  // also lets the high range pick inner CHR
constexpr uint16_t kCaltronPrgBits = 0x0007;
constexpr uint16_t kCaltronChrOuterBits = 0x0018;
constexpr uint16_t kCaltronHorizontal = 0x0020;
constexpr uint8_t kCaltronChrOuterMask = 0x0C;
constexpr uint8_t kCaltronChrInnerMask = 0x03;

// Mapper 225: everything is in the address.
constexpr uint16_t kMulti225ChrBits = 0x003F;
constexpr uint16_t kMulti225Prg16kMode = 0x1000;
constexpr uint16_t kMulti225Prg16kBits = 0x0FC0;
constexpr uint16_t kMulti225Prg32kBits = 0x0F80;
constexpr uint16_t kMulti225Horizontal = 0x2000;

// Mapper 227: everything is in the address; bank numbers count 32 KB units.
constexpr uint16_t kMulti227Prg32kMode = 0x0001;
constexpr uint16_t kMulti227Vertical = 0x0002;
constexpr uint16_t kMulti227UpperHalf = 0x0004;
constexpr uint16_t kMulti227BankLowBits = 0x0078;
constexpr uint16_t kMulti227BankHighBit = 0x0100;
constexpr uint16_t kMulti227Latch = 0x0080;  // set: both windows follow the bank, outer cleared
constexpr uint8_t kMulti227OuterBits = 0x18;
// With the latch clear in 16 KB mode, $C000 holds this 16 KB bank of the outer block.
constexpr uint32_t kMulti227FixedHighBank = 7;

}  // namespace

void Mapper15HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  switch (address) {
    case kContraPrg32k:
      NoteContraMirroring(machine, value);
      CopyPrgBytes(machine, kPrg8000, (value & 0x3F) * kBank16k, kBank32k);
      break;
    case kContraPrgHigh:
      CopyPrgBank16k(machine, kPrgC000, value & 0x7F);
      break;
    case kContraPrg8kEverywhere: {
      const uint32_t bank8k = (value & 0x7F) * 2 + ((value & kContraUpperHalf) ? 1 : 0);
      for (uint32_t slot = 0; slot < 4; ++slot) {
        CopyPrgBank8k(machine, static_cast<uint16_t>(kPrg8000 + slot * kBank8k), bank8k);
      }
      break;
    }
    case kContraPrgHighMirroring:
      NoteContraMirroring(machine, value);
      CopyPrgBank16k(machine, kPrgC000, value & 0x7F);
      break;
    default:
      break;
  }
}

void Mapper41HighWrite(MachineState& machine, uint16_t, uint8_t value) {
  const MapperRegisters& mapper = machine.mapper;
  if (mapper.caltronOuterEnable != 1) return;
  const uint32_t bank =
      (mapper.caltronChrOuter & kCaltronChrOuterMask) | (value & kCaltronChrInnerMask);
  CopyChrBank8k(machine, kPatternTable0, bank);
}

void Mapper41LowWrite(MachineState& machine, uint16_t address, uint8_t) {
  if (address < kCartRamStart || address >= kCaltronRegisterEnd) return;
  MapperRegisters& mapper = machine.mapper;
  mapper.caltronOuterEnable = (address & kCaltronOuterEnable) ? 1 : 0;
  CopyPrgBank32k(machine, kPrg8000, address & kCaltronPrgBits);
  mapper.caltronChrOuter = static_cast<uint8_t>((address & kCaltronChrOuterBits) >> 1);
  SelectTwoWayMirroring(machine, (address & kCaltronHorizontal) == 0);
}

void Mapper225HighWrite(MachineState& machine, uint16_t address, uint8_t) {
  CopyChrBank8k(machine, kPatternTable0, address & kMulti225ChrBits);
  if (address & kMulti225Prg16kMode) {
    const uint32_t bank = (address & kMulti225Prg16kBits) >> 6;
    CopyPrgBank16k(machine, kPrg8000, bank);
    CopyPrgBank16k(machine, kPrgC000, bank);
  } else {
    CopyPrgBank32k(machine, kPrg8000, (address & kMulti225Prg32kBits) >> 7);
  }
  machine.header.mirrorVertical = (address & kMulti225Horizontal) ? 0 : 1;
}

// The board hard-wires vertical mirroring whatever the header says.
void PowerOnMapper225(MachineState& machine) {
  machine.header.mirrorVertical = 1;
}

void Mapper227HighWrite(MachineState& machine, uint16_t address, uint8_t) {
  uint8_t& outer = machine.mapper.outerBank227;
  const bool latched = (address & kMulti227Latch) != 0;
  SelectTwoWayMirroring(machine, (address & kMulti227Vertical) != 0);
  const uint32_t bank =
      ((address & kMulti227BankLowBits) >> 3) + ((address & kMulti227BankHighBit) >> 4);
  if (!latched && outer == 0) outer = static_cast<uint8_t>(bank & kMulti227OuterBits);

  if (address & kMulti227Prg32kMode) {
    if (latched) {
      CopyPrgBank32k(machine, kPrg8000, bank);
      outer = 0;
    } else {
      CopyPrgBank16k(machine, kPrg8000, bank * 2);
      CopyPrgBank16k(machine, kPrgC000, outer * 2u);
    }
    return;
  }
  const uint32_t half = bank * 2 + ((address & kMulti227UpperHalf) ? 1 : 0);
  CopyPrgBank16k(machine, kPrg8000, half);
  if (latched) {
    CopyPrgBank16k(machine, kPrgC000, half);
    outer = 0;
  } else {
    CopyPrgBank16k(machine, kPrgC000, outer * 2u + kMulti227FixedHighBank);
  }
}

}  // namespace wrenfold
