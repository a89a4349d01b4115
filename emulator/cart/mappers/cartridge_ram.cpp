// The cartridge RAM handlers of the low range, shared by most boards.
#include "emulator/cart/mappers/board_helpers.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kHalfRamEnd = 0x7000;  // $7000-$7FFF are not decoded

}  // namespace

void StoreCartridgeRam(MachineState& machine, uint16_t address, uint8_t value) {
  if ((address & kCartRamWindowMask) == kCartRamStart) machine.cpuMem[address] = value;
}

void StoreCartridgeRamLow4k(MachineState& machine, uint16_t address, uint8_t value) {
  if (address >= kCartRamStart && address < kHalfRamEnd) machine.cpuMem[address] = value;
}

void StoreEveryLowAddress(MachineState& machine, uint16_t address, uint8_t value) {
  machine.cpuMem[address] = value;
}

}  // namespace wrenfold
