// Mapper 1 (MMC1). The board variants an iNES header cannot name are told apart by size, as the
// boards are built: 32 KB of PRG (SEROM, SHROM) has no PRG banking at all; 512 KB (SUROM) takes
// the 256 KB half from bit 4 of CHR register 0; with pattern RAM and at most 256 KB of PRG
// (SNROM) that bit disables the cartridge RAM.
#include "emulator/cart/mappers/mmc1.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/mirroring.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint8_t kResetBit = 0x80;  // a write with bit 7 set empties the shift register
constexpr uint8_t kBitsPerValue = 5;

constexpr int kControl = 0;
constexpr int kChr0 = 1;
constexpr int kChr1 = 2;
constexpr int kPrg = 3;

// Control register.
constexpr uint8_t kMirroringBits =
    0x03;                               // 0 one-screen A, 1 one-screen B, 2 vertical, 3 horizontal
constexpr uint8_t kPrgModeBits = 0x0C;  // 0, 1: 32 KB; 2: $8000 fixed first; 3: $C000 fixed last
constexpr int kPrgModeShift = 2;
constexpr uint8_t kChr4kMode = 0x10;
// Power-on, and after every reset write: 16 KB banks, the last one fixed at $C000.
constexpr uint8_t kPrgModeFixLast = 0x0C;

// PRG register.
constexpr uint8_t kPrgBankBits = 0x0F;
constexpr uint8_t kRamDisabled = 0x10;

// CHR register 0 on the large boards (see the top of the file).
constexpr uint8_t kChrHighBit = 0x10;

constexpr uint32_t kSeromPrgSize = 32 * 1024;
constexpr uint32_t kSuromPrgSize = 512 * 1024;
constexpr uint32_t kSnromLargestPrg = 256 * 1024;

uint8_t* Registers(MachineState& machine) {
  return machine.mapper.mmc1Regs;
}

// 16 KB bank `bank` into the 8 KB slots `firstSlot` and `firstSlot` + 1.
void CopyPrg16k(MachineState& machine, uint32_t firstSlot, uint32_t bank) {
  CopyPrgBank8kCached(machine, firstSlot, bank * 2);
  CopyPrgBank8kCached(machine, firstSlot + 1, bank * 2 + 1);
}

// 4 KB bank `bank` into the 1 KB slots from `firstSlot` on.
void CopyChr4k(MachineState& machine, uint32_t firstSlot, uint32_t bank) {
  for (uint32_t i = 0; i < 4; ++i) CopyChrBank1kCached(machine, firstSlot + i, bank * 4 + i);
}

void ApplyPrg(MachineState& machine) {
  const uint32_t prgSize = PrgDataSize(machine);
  if (prgSize <= kSeromPrgSize) return;  // the power-on layout stays
  const uint8_t* regs = Registers(machine);
  const uint32_t outer = prgSize >= kSuromPrgSize ? (regs[kChr0] & kChrHighBit) : 0;
  const uint32_t bank = regs[kPrg] & kPrgBankBits;
  uint32_t low = outer | bank;
  uint32_t high = outer | kPrgBankBits;
  switch ((regs[kControl] & kPrgModeBits) >> kPrgModeShift) {
    case 0:
    case 1:
      low = outer | (bank & 0x0E);
      high = low + 1;
      break;
    case 2:
      low = outer;
      high = outer | bank;
      break;
    default:
      break;
  }
  CopyPrg16k(machine, 0, low);
  CopyPrg16k(machine, 2, high);
}

void ApplyChr(MachineState& machine) {
  const uint8_t* regs = Registers(machine);
  if (regs[kControl] & kChr4kMode) {
    CopyChr4k(machine, 0, regs[kChr0]);
    CopyChr4k(machine, 4, regs[kChr1]);
  } else {
    CopyChr4k(machine, 0, regs[kChr0] & 0x1E);
    CopyChr4k(machine, 4, regs[kChr0] | 0x01);
  }
}

void ApplyMirroring(MachineState& machine) {
  switch (Registers(machine)[kControl] & kMirroringBits) {
    case 0:
      SetOneScreenA(machine);
      break;
    case 1:
      SetOneScreenB(machine);
      break;
    case 2:
      LeaveToVertical(machine);
      break;
    default:
      LeaveToHorizontal(machine);
      break;
  }
}

bool RamEnabled(const MachineState& machine) {
  const uint8_t* regs = machine.mapper.mmc1Regs;
  if (regs[kPrg] & kRamDisabled) return false;
  const bool snrom = machine.header.chrBankCount == 0 && PrgDataSize(machine) <= kSnromLargestPrg;
  return !(snrom && (regs[kChr0] & kChrHighBit));
}

bool InCartridgeRam(uint16_t address) {
  return (address & kCartRamWindowMask) == kCartRamStart;
}

}  // namespace

void Mmc1HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  MapperRegisters& mapper = machine.mapper;
  if (value & kResetBit) {
    mapper.mmc1Shift = 0;
    mapper.mmc1Count = 0;
    mapper.mmc1Regs[kControl] |= kPrgModeFixLast;
    ApplyPrg(machine);
    return;
  }
  // Only a damaged save state holds a count past the fifth bit; such a value starts afresh.
  if (mapper.mmc1Count >= kBitsPerValue) {
    mapper.mmc1Shift = 0;
    mapper.mmc1Count = 0;
  }
  mapper.mmc1Shift |= static_cast<uint8_t>((value & 1) << mapper.mmc1Count);
  if (++mapper.mmc1Count < kBitsPerValue) return;

  // The fifth write's address picks the register.
  const int reg = (address >> 13) & 3;
  mapper.mmc1Regs[reg] = mapper.mmc1Shift;
  mapper.mmc1Shift = 0;
  mapper.mmc1Count = 0;
  if (reg == kControl) ApplyMirroring(machine);
  // CHR register 0 also carries the PRG half of the 512 KB board.
  ApplyPrg(machine);
  ApplyChr(machine);
}

void Mmc1LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (InCartridgeRam(address) && RamEnabled(machine)) machine.cpuMem[address] = value;
}

// Disabled cartridge RAM does not drive the bus: the read sees the high byte of the address,
// the last byte the CPU fetched for an absolute read.
bool Mmc1PortRead(MachineState& machine, uint16_t address, uint8_t& value) {
  if (!InCartridgeRam(address) || RamEnabled(machine)) return false;
  value = static_cast<uint8_t>(address >> 8);
  return true;
}

void PowerOnMmc1(MachineState& machine) {
  machine.mapper.mmc1Regs[kControl] = kPrgModeFixLast;
}

}  // namespace wrenfold
