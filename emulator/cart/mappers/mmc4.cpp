// Mapper 10 (Nintendo MMC4): the registers; the latches are switched by Mmc4LatchFetch.
#include "emulator/cart/mappers/mmc4.h"

#include "emulator/cart/bank_copy.h"

namespace wrenfold {
namespace {

constexpr uint16_t kBlockMask = 0xF000;
constexpr uint16_t kPrgBlock = 0xA000;
constexpr uint16_t kFirstChrBlock = 0xB000;  // $B000 $FD/0, $C000 $FE/0, $D000 $FD/1, $E000 $FE/1
constexpr uint16_t kLastChrBlock = 0xE000;
constexpr uint16_t kMirroringBlock = 0xF000;
constexpr uint8_t kLatchFd = 0xFD;
constexpr uint8_t kLatchFe = 0xFE;

}  // namespace

void Mmc4HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  const uint16_t block = address & kBlockMask;
  if (block == kPrgBlock) {
    if (CopyPrgBankCached(machine, machine.prgBankCache[0], 0x8000, kBank16k, value & 0x0F)) {
      machine.prgBankCache[1] = kNoBankCached;
    }
  } else if (block >= kFirstChrBlock && block <= kLastChrBlock) {
    const uint32_t reg = (block - kFirstChrBlock) >> 12;
    const uint32_t table = reg / 2;
    const uint8_t latchValue = (reg & 1) ? kLatchFe : kLatchFd;
    machine.mapper.mmc4ChrBanks[reg] = value & 0x1F;
    // Only the bank the table's latch selects is in pattern memory.
    if (machine.mapper.mmc4Latch[table] == latchValue) {
      CopyChrBank4k(machine, static_cast<uint16_t>(table * kBank4k), value & 0x1F);
    }
  } else if (block == kMirroringBlock) {
    SelectTwoWayMirroring(machine, (value & 1) == 0);
  }
}

void PowerOnMmc4(MachineState& machine) {
  machine.mapper.mmc4Latch[0] = kLatchFe;
  machine.mapper.mmc4Latch[1] = kLatchFe;
}

}  // namespace wrenfold
