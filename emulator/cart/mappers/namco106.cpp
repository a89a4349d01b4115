// Mapper 19 (Namco 106): the expansion-sound port, the IRQ counter's read port, the cartridge
// RAM and the power-on picture.
#include "emulator/cart/mappers/namco106.h"

#include <cstring>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kSoundAddressStart = 0xF800;  // $F800-$FFFF: sound RAM address register
constexpr uint8_t kSoundAddressMask = 0x7F;
constexpr uint8_t kSoundAutoIncrement = 0x80;
constexpr uint16_t kCartRamEnd = 0x7000;  // the board decodes 4 KB of RAM at $6000-$6FFF

// Ports outside the PRG window.
constexpr uint16_t kNamcoSoundData = 0x4800;
constexpr uint16_t kNamcoIrqLowStart = 0x5000;   // $5000-$57FF: IRQ counter low byte
constexpr uint16_t kNamcoIrqHighStart = 0x5800;  // $5800-$5FFF: IRQ counter high byte
constexpr uint16_t kNamcoIrqEnd = 0x6000;

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

// $4800 reads the sound memory byte the address register selects (without stepping it);
// $5000-$57FF and $5800-$5FFF read the IRQ counter's low and high byte.
bool Namco106PortRead(MachineState& machine, uint16_t address, uint8_t& value) {
  if (address == kNamcoSoundData) {
    value = machine.namcoRam[machine.mapper.namcoRamAddr & kSoundAddressMask];
    return true;
  }
  if (address >= kNamcoIrqLowStart && address < kNamcoIrqHighStart) {
    value = static_cast<uint8_t>(machine.irq.cycleIrqCounter & 0xFF);
    return true;
  }
  if (address >= kNamcoIrqHighStart && address < kNamcoIrqEnd) {
    value = static_cast<uint8_t>(machine.irq.cycleIrqCounter >> 8);
    return true;
  }
  return false;
}

// The board has its own name-table RAM, so the four slots are never mirrored. The two internal
// pages start in slots $2000/$2400 (page 0) and $2800/$2C00 (page 1).
void PowerOnNamco106(MachineState& machine) {
  machine.header.fourScreen = 1;
  machine.mapper.namcoRamAddr = 0;
  machine.mapper.namcoAddrCtrl = 0;
  machine.irq.namcoIrqsThisFrame = 0xFF8C;
  const uint8_t pages[4] = {0, 0, 1, 1};
  std::memcpy(machine.mapper.namcoNtPage, pages, sizeof pages);
  std::memset(machine.chrBankCache, kNoBankCached, sizeof machine.chrBankCache);
  // Banks 0 and 1 stand in the first two 8 KB slots as far as the cache is concerned.
  const uint8_t prgCache[4] = {0, 1, kNoBankCached, kNoBankCached};
  std::memcpy(machine.prgBankCache, prgCache, sizeof prgCache);
}

}  // namespace wrenfold
