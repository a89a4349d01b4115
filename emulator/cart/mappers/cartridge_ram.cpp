// Mappers 66, 161, 249: boards that decode cartridge RAM at $6000-$6FFF only.
#include "emulator/cart/io_registers.h"
#include "emulator/cart/mappers/board_handlers.h"
#include "emulator/cart/mappers/board_helpers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kHalfRamEnd = 0x7000;  // $7000-$7FFF are not decoded

}  // namespace

void StoreCartridgeRamLow4k(MachineState& machine, uint16_t address, uint8_t value) {
  if (address >= kCartRamStart && address < kHalfRamEnd) machine.cpuMem[address] = value;
}

// Logging stops short of $4000-$4015, which sound code writes thousands of times a second.
void Mapper161LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address > kLastConsoleRegister) LogNumber(address);
  StoreCartridgeRamLow4k(machine, address, value);
}

}  // namespace wrenfold
