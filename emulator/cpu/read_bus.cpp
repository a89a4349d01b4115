#include "emulator/cpu/read_bus.h"

#include "emulator/cart/board_table.h"
#include "emulator/machine_state/io_registers.h"
#include "emulator/ppu/ppu_scroll.h"

namespace wrenfold {
namespace {

// A read sequence is 8 button bits, 8 bits of an absent second pad on the same port, and an
// 8-bit signature of which one bit is set: the four-player adapter's "no extra pads" answer.
constexpr uint8_t kPadSequenceLength = 24;
constexpr uint8_t kPadButtonCount = 8;
constexpr uint8_t kPadSignatureRead[2] = {20, 19};

uint8_t ReadPpuStatus(MachineState& machine) {
  const uint8_t status = machine.cpuMem[kPpuStatus];
  machine.cpuMem[kPpuStatus] = status & static_cast<uint8_t>(~kStatusVblank);
  machine.ppu.writeToggle = 0;
  return status;
}

uint8_t ReadOamData(MachineState& machine) {
  uint8_t& oamAddr = machine.cpuMem[kOamAddr];
  const uint8_t value = machine.oam[oamAddr];
  ++oamAddr;  // wraps 255 -> 0
  return value;
}

constexpr uint16_t kPaletteOverNameTables = 0x1000;  // $3F00-$3FFF lie over $2F00-$2FFF

uint8_t ReadPpuByte(const MachineState& machine, uint16_t address) {
  // Palette mirrors $3F20-$3FFF are not stored; they read the 32 entries below them.
  if (address >= kPaletteStart) address &= kPaletteMirrorMask;
  return machine.ppuMem[address];
}

// A read of pattern or name-table memory returns the byte the read before it fetched, and
// fetches the one at the address for the next, so the first read after setting an address
// returns a stale byte. A palette read returns its entry at once and fetches the name-table
// byte underneath ($2F00-$2FFF) into the buffer. Every read steps the address.
uint8_t ReadPpuData(MachineState& machine) {
  PpuLatches& ppu = machine.ppu;
  const uint16_t address = ppu.vramAddr & kPpuAddressMask;
  uint8_t value = ppu.readBuffer;
  if (address >= kPaletteStart) {
    value = ReadPpuByte(machine, address);
    ppu.readBuffer = machine.ppuMem[address - kPaletteOverNameTables];
  } else {
    ppu.readBuffer = machine.ppuMem[address];
  }
  ppu.vramAddrWritten = 0;
  StepDataAddress(ppu, (machine.cpuMem[kPpuCtrl] & kCtrlIncrement32) != 0);
  MapperPpuAddress(machine, ppu.vramAddr & kPpuAddressMask);
  return value;
}

uint8_t ReadJoypad(MachineState& machine, int port) {
  uint8_t& index = machine.padReadIndex[port];
  index %= kPadSequenceLength;
  if (index < kPadButtonCount) {
    const uint8_t bit = (machine.padState[port] >> index) & 1;
    ++index;
    return bit;
  }
  ++index;
  return index == kPadSignatureRead[port] ? 1 : 0;
}

}  // namespace

uint8_t CpuRead(MachineState& machine, uint16_t address) {
  if (address >= kPrgWindowStart) return machine.cpuMem[address];
  if (address < kRamMirrorEnd) return machine.cpuMem[address & kRamMask];

  switch (address) {
    case kPpuStatus:
      return ReadPpuStatus(machine);
    case kOamData:
      return ReadOamData(machine);
    case kPpuData:
      return ReadPpuData(machine);
    case kJoypad1:
      return ReadJoypad(machine, 0);
    case kJoypad2:
      return ReadJoypad(machine, 1);
    default:
      break;
  }

  uint8_t value;
  if (MapperPortRead(machine, address, value)) return value;

  // Every other register reads back the byte last stored at its address; $2008-$3FFF are
  // not mirrors of the PPU registers.
  return machine.cpuMem[address];
}

}  // namespace wrenfold
