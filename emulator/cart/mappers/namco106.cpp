// Mapper 19 (Namco 106): the expansion-sound port and the cartridge RAM.
#include "emulator/cart/io_registers.h"
#include "emulator/cart/mappers/board_handlers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kSoundAddressStart = 0xF800;  // $F800-$FFFF: sound RAM address register
constexpr uint8_t kSoundAddressMask = 0x7F;
constexpr uint8_t kSoundAutoIncrement = 0x80;
constexpr uint16_t kCartRamEnd = 0x7000;  // the board decodes 4 KB of RAM at $6000-$6FFF

}  // namespace

void Namco106HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address >= kSoundAddressStart) {
    machine.mapper.namcoAddrCtrl = value;
    machine.mapper.namcoRamAddr = value & kSoundAddressMask;
  }
}

void Namco106LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address == kNamcoSoundData) {
    MapperRegisters& mapper = machine.mapper;
    machine.namcoRam[mapper.namcoRamAddr & kSoundAddressMask] = value;
    if (mapper.namcoAddrCtrl & kSoundAutoIncrement) ++mapper.namcoRamAddr;
    mapper.namcoRamAddr &= kSoundAddressMask;
  } else if (address >= kCartRamStart && address < kCartRamEnd) {
    machine.cpuMem[address] = value;
  }
}

}  // namespace wrenfold
