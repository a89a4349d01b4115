#include "emulator/cart/mappers/mmc4_latch.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint8_t kLatchTileFd = 0xFD;
constexpr uint8_t kLatchTileFe = 0xFE;

// The pattern bytes of tiles $FD and $FE: $xFD8-$xFDF and $xFE8-$xFEF of either table.
constexpr uint16_t kPatternTablesEnd = 0x2000;
constexpr uint16_t kTable1 = 0x1000;
constexpr uint16_t kTableOffsetMask = 0x0FFF;
constexpr uint16_t kLatchRowMask = 0x0FF8;
constexpr uint16_t kFdRows = 0x0FD8;
constexpr uint16_t kFeRows = 0x0FE8;

// Sets the latch of one pattern table to $FD or $FE and brings in the 4 KB bank it selects.
void SetLatch(MachineState& machine, bool table1, uint8_t tile) {
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

}  // namespace

void Mmc4LatchFetch(MachineState& machine, uint8_t tile) {
  if (tile != kLatchTileFd && tile != kLatchTileFe) return;
  SetLatch(machine, (machine.cpuMem[kPpuCtrl] & kCtrlBackgroundTable1) != 0, tile);
}

// The hook sees the address a $2007 access left behind, so the byte it fetched lies one step
// back; an address just set by $2006 is the one the next read fetches.
void Mmc4PpuAddress(MachineState& machine, uint16_t address) {
  uint16_t fetched = address;
  if (!machine.ppu.vramAddrWritten) {
    const uint16_t step = (machine.cpuMem[kPpuCtrl] & kCtrlIncrement32) ? 32 : 1;
    fetched = static_cast<uint16_t>((address - step) & kPpuAddressMask);
  }
  if (fetched >= kPatternTablesEnd) return;
  const uint16_t row = fetched & kTableOffsetMask & kLatchRowMask;
  if (row == kFdRows || row == kFeRows) {
    SetLatch(machine, (fetched & kTable1) != 0, row == kFdRows ? kLatchTileFd : kLatchTileFe);
  }
}

}  // namespace wrenfold
