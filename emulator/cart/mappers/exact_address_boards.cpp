// Mappers 240, 241, 250: boards decoding single register addresses; every other write to 240
// and 250 is logged.
//
// Register values reach the bank helpers as the board decodes them; the helpers reduce every bank
// number modulo the banks of that size the image holds, so a value beyond the image still selects
// data inside it.
#include "emulator/cart/mappers/exact_address_boards.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kPrg8000 = 0x8000;
constexpr uint16_t kPrgA000 = 0xA000;

// Mapper 240.
constexpr uint16_t kMapper240Prg8000 = 0x9316;
constexpr uint16_t kMapper240PrgA000 = 0x9326;
constexpr uint16_t kMapper240Mirroring = 0x4800;  // non-zero: horizontal
constexpr uint16_t kMapper240SilentEnd = 0x7000;  // $6000-$6FFF writes are dropped unlogged

// Mapper 241.
constexpr uint16_t kMapper241Prg = 0x8000;

// Mapper 250.
constexpr uint16_t kMapper250Prg8000 = 0x8B06;
constexpr uint16_t kMapper250PrgA000 = 0x8E11;

}  // namespace

void Mapper240HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  LogRegisterWrite(address, value);
  if (address == kMapper240Prg8000) {
    CopyPrgBank8k(machine, kPrg8000, value);
  } else if (address == kMapper240PrgA000) {
    CopyPrgBank8k(machine, kPrgA000, value);
  }
}

void Mapper240LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address >= kCartRamStart && address < kMapper240SilentEnd) return;
  if (address == kMapper240Mirroring) {
    SelectTwoWayMirroring(machine, value == 0);
  } else if (address > kLastConsoleRegister) {
    LogRegisterWrite(address, value);
  }
}

void Mapper241HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address == kMapper241Prg) CopyPrgBank32k(machine, kPrg8000, value);
}

void Mapper250HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  LogRegisterWrite(address, value);
  if (address == kMapper250Prg8000) {
    CopyPrgBank8k(machine, kPrg8000, value);
  } else if (address == kMapper250PrgA000) {
    CopyPrgBank8k(machine, kPrgA000, value);
  }
}

}  // namespace wrenfold
