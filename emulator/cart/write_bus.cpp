#include "emulator/cart/write_bus.h"

#include <cstring>

#include "emulator/cart/board_table.h"
#include "emulator/machine_state/io_registers.h"
#include "emulator/ppu/ppu_memory.h"
#include "emulator/ppu/ppu_scroll.h"

namespace wrenfold {
namespace {

// A second $2006 write moves v at once; boards that watch the PPU address see the move.
void WritePpuAddr(MachineState& machine, uint8_t value) {
  PpuLatches& ppu = machine.ppu;
  WriteAddress(ppu, value);
  ppu.vramAddrWritten = 1;
  MapperPpuAddress(machine, ppu.vramAddr & kPpuAddressMask);
}

// A write uses up the fresh address too: a read after it steps on like any later read, so
// writes followed by a read that skips an entry leave the next write at the right place.
void WritePpuData(MachineState& machine, uint8_t value) {
  PpuLatches& ppu = machine.ppu;
  ppu.vramAddrWritten = 0;
  PpuWrite(machine, ppu.vramAddr & kPpuAddressMask, value);
  StepDataAddress(ppu, (machine.cpuMem[kPpuCtrl] & kCtrlIncrement32) != 0);
  MapperPpuAddress(machine, ppu.vramAddr & kPpuAddressMask);
}

void WritePpuRegister(MachineState& machine, uint16_t address, uint8_t value) {
  switch (address) {
    case kPpuCtrl:
      machine.cpuMem[kPpuCtrl] = value;
      WriteScrollTable(machine.ppu, value);
      break;
    case kPpuMask:
    case kOamAddr:
      machine.cpuMem[address] = value;
      break;
    case kOamData:
      machine.oam[machine.cpuMem[kOamAddr]] = value;
      ++machine.cpuMem[kOamAddr];  // wraps 255 -> 0
      break;
    case kPpuScroll:
      WriteScroll(machine.ppu, value);
      break;
    case kPpuAddr:
      WritePpuAddr(machine, value);
      break;
    case kPpuData:
      WritePpuData(machine, value);
      break;
    default:  // $2002 has no PPU action
      break;
  }
}

// A raw copy of the memory image: no read side effects, and no cycles charged. Pages in
// $0000-$1FFF copy the work RAM they mirror.
void SpriteDma(MachineState& machine, uint8_t page) {
  uint16_t source = static_cast<uint16_t>(page << 8);
  if (source < kRamMirrorEnd) source &= kRamMask;
  std::memcpy(machine.oam, machine.cpuMem + source, sizeof machine.oam);
}

// Stores the APU register and raises the change flags the sound mixer polls.
void WriteApuRegister(MachineState& machine, uint16_t address, uint8_t value) {
  ApuWriteFlags& flags = machine.apuFlags;
  uint8_t& stored = machine.cpuMem[address];
  const bool changed = stored != value;

  if (address <= kSq1Length) {
    if (changed) flags.sq1Written = 1;
    if (address == kSq1Sweep) flags.sq1SweepWritten = 1;
    stored = value;
    if (address == kSq1Length) {
      flags.sq1Written = 1;
      flags.sq1SweepWritten = 0;
    }
  } else if (address <= kSq2Length) {
    if (changed) flags.sq2Written = 1;
    if (address == kSq2Sweep) flags.sq2SweepWritten = 1;
    stored = value;
    if (address == kSq2Length) {
      flags.sq2Written = 1;
      flags.sq2SweepWritten = 0;
    }
  } else if (address < kNoiseCtrl) {
    stored = value;
    flags.triWritten = 1;
  } else if (address <= kNoiseLength) {
    if (changed) flags.noiseWritten = 1;
    if (address == kNoiseLength) {
      flags.noiseWritten = 1;
      // The noise length counter starts from the value being written.
      flags.noiseLengthCode = (value >> 3) + 4;
    }
    stored = value;
  } else {
    stored = (address == kDmcLevel && value == 0) ? kDmcMidLevel : value;
    if (address == kDmcCtrl || address == kDmcLevel) flags.dmcWritten = 1;
  }
}

}  // namespace

void WriteBus(MachineState& machine, uint16_t address, uint8_t value) {
  if (address < kRamMirrorEnd) {
    machine.cpuMem[address & kRamMask] = value;
    return;
  }
  if (address >= kPrgWindowStart) {
    MapperHighWrite(machine, address, value);
    return;
  }
  if (address <= kPpuData) {
    WritePpuRegister(machine, address, value);
    if (address != kPpuStatus) return;
  }
  switch (address) {
    case kOamDma:
      SpriteDma(machine, value);
      return;
    case kApuStatus:
    case kJoypad2:
      machine.cpuMem[address] = value;
      return;
    case kJoypad1:
      machine.cpuMem[kJoypad1] = value;
      if (value & kJoypadStrobe) {
        machine.padReadIndex[0] = 0;
        machine.padReadIndex[1] = 0;
      }
      return;
    default:
      break;
  }
  if (address >= kSq1Ctrl && address <= kDmcLength) WriteApuRegister(machine, address, value);
  MapperLowWrite(machine, address, value);
}

}  // namespace wrenfold
