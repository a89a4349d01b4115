#include "emulator/cart/mappers/mmc4_latch.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint8_t kLatchTileFd = 0xFD;
constexpr uint8_t kLatchTileFe = 0xFE;
constexpr uint8_t kCtrlBackgroundTable1 = 0x10;

}  // namespace

void Mmc4LatchFetch(MachineState& machine, uint8_t tile) {
  if (tile != kLatchTileFd && tile != kLatchTileFe) return;
  const bool table1 = (machine.cpuMem[kPpuCtrl] & kCtrlBackgroundTable1) != 0;
  uint8_t& latch = machine.mapper.mmc4Latch[table1 ? 1 : 0];
  // The latched bank was copied in when the latch or its bank register last changed.
  if (latch == tile) return;
  latch = tile;
  const uint8_t bank = machine.mapper.mmc4ChrBanks[(table1 ? 2 : 0) + (tile == kLatchTileFe)];
  const uint16_t window = table1 ? 0x1000 : 0x0000;
  CopyChrBank4k(machine, window, bank);
  for (uint32_t slot = window / kBank1k; slot < window / kBank1k + 4; ++slot) {
    machine.chrBankCache[slot] = kNoBankCached;
  }
}

}  // namespace wrenfold
