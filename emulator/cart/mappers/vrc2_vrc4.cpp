// Mappers 21, 22, 23, 25 (Konami VRC2 and VRC4).
//
// The chips decode address bits 12-15 and two more address lines that select one of four
// registers in each $1000 block; which two lines depends on the board:
//   21: A1 and A2 (VRC4a) or A6 and A7 (VRC4c), so both pairs are taken;
//   22: A1 and A0, swapped (VRC2a);
//   23: A0 and A1 (VRC2b, VRC4f) or A2 and A3 (VRC4e);
//   25: A1 and A0, swapped (VRC2c, VRC4b), or A3 and A2 (VRC4d), told apart by the first write
//       that uses one of the lines.
// A CHR bank changes as soon as either of its nibbles is written, as on the chips.
#include "emulator/cart/mappers/vrc2_vrc4.h"

#include "emulator/cart/bank_copy.h"

namespace wrenfold {
namespace {

enum class Variant : uint8_t { kVrc4a, kVrc2a, kVrc4f, kVrc4b };

constexpr uint16_t kBlockMask = 0xF000;
constexpr uint16_t kPrg0Block = 0x8000;
constexpr uint16_t kMirroringBlock = 0x9000;
constexpr uint16_t kPrg1Block = 0xA000;
constexpr uint16_t kFirstChrBlock = 0xB000;
constexpr uint16_t kLastChrBlock = 0xE000;
constexpr uint16_t kIrqBlock = 0xF000;

constexpr uint8_t kRegisterHighNibble = 0x01;  // bit 0 of the register number
constexpr uint8_t kRegisterSecondBank = 0x02;  // bit 1: the second bank of the block's pair
constexpr uint8_t kPrgModeRegister = 0x02;     // $9002 and $9003 on the VRC4
constexpr uint8_t kPrgModeSwap = 0x02;
constexpr uint8_t kVrc2bMirroringQuirk = 0xFF;  // a write of $FF means horizontal

constexpr uint8_t kPrgBankMask = 0x1F;
constexpr uint16_t kSwapAddrNormal = 0x8000;
constexpr uint16_t kSwapAddrSwapped = 0xC000;

bool HasPrgMode(Variant variant) {
  return variant != Variant::kVrc2a;
}

bool HasIrq(Variant variant) {
  return variant != Variant::kVrc2a;
}

// The PRG window from the two registers and the mode: the $8xxx bank at $8000, or at $C000
// with the second-last bank at $8000; the last bank always at $E000.
void ApplyPrgBanks(MachineState& machine) {
  const MapperRegisters& mapper = machine.mapper;
  const uint32_t secondLast = PrgBank8kFromEnd(machine, 2);
  const bool swapped = mapper.vrcPrgSwapAddr == kSwapAddrSwapped;
  CopyPrgBank8kCached(machine, 0, swapped ? secondLast : mapper.vrcPrgRegs[0]);
  CopyPrgBank8kCached(machine, 1, mapper.vrcPrgRegs[1]);
  CopyPrgBank8kCached(machine, 2, swapped ? mapper.vrcPrgRegs[0] : secondLast);
  CopyPrgBank8kCached(machine, 3, PrgBank8kFromEnd(machine, 1));
}

// The VRC4 has four mirroring modes, the VRC2 only vertical and horizontal.
void WriteMirroring(MachineState& machine, Variant variant, uint8_t value) {
  if (variant == Variant::kVrc2a) {
    SelectTwoWayMirroring(machine, (value & 1) == 0);
    return;
  }
  if (variant == Variant::kVrc4f && value == kVrc2bMirroringQuirk) value = 1;
  SelectFourWayMirroring(machine, value);
}

void WriteChrNibble(MachineState& machine, Variant variant, uint16_t block, uint8_t reg,
                    uint8_t value) {
  const uint32_t slot =
      2 * ((block - kFirstChrBlock) >> 12) + ((reg & kRegisterSecondBank) ? 1 : 0);
  uint8_t& bank = machine.mapper.vrcChrRegs[slot];
  if (reg & kRegisterHighNibble) {
    bank = static_cast<uint8_t>((bank & 0x0F) | ((value & 0x0F) << 4));
  } else {
    bank = static_cast<uint8_t>((bank & 0xF0) | (value & 0x0F));
  }
  // The VRC2a leaves CHR A10 to the PPU: its bank numbers count 2 KB halves of a 1 KB bank.
  CopyChrBank1kCached(machine, slot, variant == Variant::kVrc2a ? bank >> 1 : bank);
}

void WriteIrq(MachineState& machine, uint8_t reg, uint8_t value) {
  switch (reg) {
    case 0:
      KonamiIrqWriteLatchLow(machine, value);
      break;
    case 1:
      KonamiIrqWriteLatchHigh(machine, value);
      break;
    case 2:
      KonamiIrqWriteControl(machine, value);
      break;
    default:
      KonamiIrqAcknowledge(machine);
      break;
  }
}

void WriteRegister(MachineState& machine, Variant variant, uint16_t address, uint8_t reg,
                   uint8_t value) {
  const uint16_t block = address & kBlockMask;
  MapperRegisters& mapper = machine.mapper;
  if (block == kPrg0Block) {
    mapper.vrcPrgRegs[0] = value & kPrgBankMask;
    ApplyPrgBanks(machine);
  } else if (block == kPrg1Block) {
    mapper.vrcPrgRegs[1] = value & kPrgBankMask;
    ApplyPrgBanks(machine);
  } else if (block == kMirroringBlock) {
    if (HasPrgMode(variant) && (reg & kPrgModeRegister)) {
      // The mode moves the bank already written; the swapped-out slot shows the second-last.
      mapper.vrcPrgSwapAddr = (value & kPrgModeSwap) ? kSwapAddrSwapped : kSwapAddrNormal;
      ApplyPrgBanks(machine);
    } else {
      WriteMirroring(machine, variant, value);
    }
  } else if (block >= kFirstChrBlock && block <= kLastChrBlock) {
    WriteChrNibble(machine, variant, block, reg, value);
  } else if (block == kIrqBlock && HasIrq(variant)) {
    WriteIrq(machine, reg, value);
  }
}

uint8_t AddressBit(uint16_t address, int bit) {
  return static_cast<uint8_t>((address >> bit) & 1);
}

}  // namespace

void Vrc4aHighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const uint8_t reg = static_cast<uint8_t>((AddressBit(address, 1) | AddressBit(address, 6)) |
                                           (AddressBit(address, 2) | AddressBit(address, 7)) << 1);
  WriteRegister(machine, Variant::kVrc4a, address, reg, value);
}

void Vrc2aHighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const uint8_t reg = static_cast<uint8_t>(AddressBit(address, 1) | AddressBit(address, 0) << 1);
  WriteRegister(machine, Variant::kVrc2a, address, reg, value);
}

void Vrc4fHighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const uint8_t reg = static_cast<uint8_t>((AddressBit(address, 0) | AddressBit(address, 2)) |
                                           (AddressBit(address, 1) | AddressBit(address, 3)) << 1);
  WriteRegister(machine, Variant::kVrc4f, address, reg, value);
}

void Vrc4bHighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  MapperIrqState& irq = machine.irq;
  // The first register write that uses A2 or A3 shows a VRC4d; one that uses A1 a VRC4b or
  // VRC2c. The PRG registers at $8000 and $A000 say nothing: games write them at any address.
  const uint16_t block = address & kBlockMask;
  if (!irq.vrcWiringKnown && block != kPrg0Block && block != kPrg1Block) {
    if (address & 0x000C) {
      irq.vrcWiringKnown = 1;
      irq.vrcAltWiring = 1;
    } else if (address & 0x0002) {
      irq.vrcWiringKnown = 1;
      irq.vrcAltWiring = 0;
    }
  }
  const uint8_t reg =
      irq.vrcAltWiring ? static_cast<uint8_t>(AddressBit(address, 3) | AddressBit(address, 2) << 1)
                       : static_cast<uint8_t>(AddressBit(address, 1) | AddressBit(address, 0) << 1);
  WriteRegister(machine, Variant::kVrc4b, address, reg, value);
}

// The power-on window shows banks 0 and 1 and the last 16 KB: registers 0 and 1 in normal mode.
void PowerOnVrc2Vrc4(MachineState& machine) {
  machine.mapper.vrcPrgRegs[0] = 0;
  machine.mapper.vrcPrgRegs[1] = 1;
  machine.mapper.vrcPrgSwapAddr = kSwapAddrNormal;
  machine.irq.cycleIrqActive = 0;
  machine.irq.vrcWiringKnown = 0;
  machine.irq.vrcAltWiring = 0;
}

}  // namespace wrenfold
