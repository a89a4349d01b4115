// Mappers 24 and 26 (Konami VRC6a and VRC6b).
//
// The chip decodes address bits 12-15 and two lines for the register in each block; the VRC6b
// board connects them as A1 and A0, so its $x001 is the VRC6a's $x002.
#include "emulator/cart/mappers/vrc6.h"

#include "emulator/cart/bank_copy.h"

namespace wrenfold {
namespace {

constexpr uint16_t kBlockMask = 0xF000;
constexpr uint16_t kPrg16kBlock = 0x8000;
constexpr uint16_t kFirstSoundBlock = 0x9000;  // $9000 pulse 1, $A000 pulse 2, $B000 sawtooth
constexpr uint16_t kLastSoundBlock = 0xB000;
constexpr uint16_t kPrg8kBlock = 0xC000;
constexpr uint16_t kChrLowBlock = 0xD000;   // 1 KB banks at $0000-$0FFF
constexpr uint16_t kChrHighBlock = 0xE000;  // 1 KB banks at $1000-$1FFF
constexpr uint16_t kIrqBlock = 0xF000;

constexpr uint8_t kSoundRegistersPerGroup = 3;  // register 3 is the frequency scaling
constexpr int kSoundGroupStride = 4;
constexpr uint8_t kBankingControlRegister = 3;  // $B003

// $B003: bits 0-1 the CHR/name-table layout, bits 2-3 the mirroring, bit 4 name tables from
// CHR ROM, bit 5 cartridge RAM enable, bit 7 a CHR line select. The mirroring is applied in
// the layout every game uses (bits 0-1 and 4 clear).
constexpr uint8_t kExoticLayoutBits = 0x13;
constexpr uint8_t kMirroringShift = 2;

void WriteRegister(MachineState& machine, uint16_t address, uint8_t reg, uint8_t value) {
  const uint16_t block = address & kBlockMask;
  switch (block) {
    case kPrg16kBlock:
      CopyPrgBankCached(machine, machine.prgBankCache[0], 0x8000, kBank16k, value);
      machine.prgBankCache[1] = kNoBankCached;
      break;
    case kPrg8kBlock:
      CopyPrgBank8kCached(machine, 2, value);
      break;
    case kChrLowBlock:
      CopyChrBank1kCached(machine, reg, value);
      break;
    case kChrHighBlock:
      CopyChrBank1kCached(machine, 4u + reg, value);
      break;
    case kIrqBlock:
      if (reg == 0) {
        KonamiIrqWriteLatch(machine, value);
      } else if (reg == 1) {
        KonamiIrqWriteControl(machine, value);
      } else if (reg == 2) {
        KonamiIrqAcknowledge(machine);
      }
      break;
    default:
      if (block == kLastSoundBlock && reg == kBankingControlRegister) {
        if ((value & kExoticLayoutBits) == 0)
          SelectFourWayMirroring(machine, value >> kMirroringShift);
      } else if (block >= kFirstSoundBlock && block <= kLastSoundBlock &&
                 (address & 0x0FFF) == (address & 3) && reg < kSoundRegistersPerGroup) {
        const int group = (block - kFirstSoundBlock) >> 12;
        machine.mapper.vrc6SoundRegs[group * kSoundGroupStride + reg] = value;
      }
      break;
  }
}

}  // namespace

void Vrc6aHighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  WriteRegister(machine, address, static_cast<uint8_t>(address & 3), value);
}

void Vrc6bHighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const uint8_t reg = static_cast<uint8_t>(((address & 1) << 1) | ((address >> 1) & 1));
  WriteRegister(machine, address, reg, value);
}

}  // namespace wrenfold
