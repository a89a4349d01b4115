// Mapper 90 (J.Y. Company ASIC). The name-table ROM and outer-bank registers of the chip's
// multicart relatives are not decoded; the cartridges on this number do not use them.
#include "emulator/cart/mappers/jy_company.h"

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mappers/board_helpers.h"
#include "emulator/cart/mappers/irq_timing.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kBlockMask = 0xF000;
constexpr uint16_t kPrgBlock = 0x8000;      // $8000-$8003: PRG registers 0-3
constexpr uint16_t kChrLowBlock = 0x9000;   // $9000-$9007: CHR registers, low byte
constexpr uint16_t kChrHighBlock = 0xA000;  // $A000-$A007: CHR registers, high byte
constexpr uint16_t kIrqBlock = 0xC000;
constexpr uint16_t kModeBlock = 0xD000;

// $D000: bits 0-1 PRG layout, bit 2 the last slot from register 3 (else the last bank),
// bits 3-4 CHR layout, bit 7 PRG ROM at $6000-$7FFF.
constexpr uint8_t kPrgLayoutMask = 0x03;
constexpr uint8_t kLastFromRegister = 0x04;
constexpr int kChrLayoutShift = 3;
constexpr uint8_t kPrgAt6000 = 0x80;
constexpr uint8_t kModeBanking = 0;
constexpr uint8_t kModeMirroring = 1;

// IRQ registers ($C000-$C007 by the low three address bits).
constexpr uint8_t kIrqEnableBit = 0;  // bit 0 of the value: enable, clear: disable
constexpr uint8_t kIrqModeReg = 1;
constexpr uint8_t kIrqDisableReg = 2;
constexpr uint8_t kIrqEnableReg = 3;
constexpr uint8_t kIrqPrescalerReg = 4;
constexpr uint8_t kIrqCounterReg = 5;
constexpr uint8_t kIrqXorReg = 6;

// $C001: bits 0-1 source, bit 2 a 3-bit prescaler, bits 6-7 direction (1 up, 2 down).
constexpr uint8_t kSourceMask = 0x03;
constexpr uint8_t kSourceCpuCycles = 0;
constexpr uint8_t kSourcePpuA12 = 1;
constexpr uint8_t kSourcePpuReads = 2;
constexpr uint8_t kSmallPrescaler = 0x04;
constexpr int kDirectionShift = 6;
constexpr uint8_t kCountUp = 1;
constexpr uint8_t kCountDown = 2;
// PPU events of one rendered line: A12 rises once for each of the eight sprite fetches when the
// sprites use the other pattern table, and the PPU reads 170 times.
constexpr uint32_t kA12RisesPerLine = 8;
constexpr uint32_t kPpuReadsPerLine = 170;

// Multiplier and scratch byte.
constexpr uint16_t kDipSwitches = 0x5000;
constexpr uint16_t kMultiplicandA = 0x5800;
constexpr uint16_t kMultiplicandB = 0x5801;
constexpr uint16_t kScratch = 0x5803;
constexpr uint16_t kPortsEnd = 0x6000;

// Layout 3 takes the bank numbers with their seven bits reversed.
uint32_t ReverseSevenBits(uint32_t value) {
  uint32_t reversed = 0;
  for (int bit = 0; bit < 7; ++bit) reversed |= ((value >> bit) & 1) << (6 - bit);
  return reversed;
}

void ApplyPrg(MachineState& machine) {
  const MapperRegisters& mapper = machine.mapper;
  const uint8_t mode = mapper.jyModes[kModeBanking];
  const uint8_t layout = mode & kPrgLayoutMask;
  const bool lastFromRegister = (mode & kLastFromRegister) != 0;
  const uint32_t total8k = PrgDataSize(machine) / kBank8k;
  uint32_t banks[4];
  switch (layout) {
    case 0: {  // one 32 KB bank
      const uint32_t first =
          lastFromRegister ? mapper.jyPrgRegs[3] * 4u : (total8k >= 4 ? total8k - 4 : 0);
      for (uint32_t i = 0; i < 4; ++i) banks[i] = first + i;
      break;
    }
    case 1: {  // two 16 KB banks
      const uint32_t high =
          lastFromRegister ? mapper.jyPrgRegs[3] * 2u : (total8k >= 2 ? total8k - 2 : 0);
      banks[0] = mapper.jyPrgRegs[1] * 2u;
      banks[1] = banks[0] + 1;
      banks[2] = high;
      banks[3] = high + 1;
      break;
    }
    default: {  // four 8 KB banks; layout 3 reverses the registers' bits
      const auto reg = [&](int i) {
        return layout == 3 ? ReverseSevenBits(mapper.jyPrgRegs[i]) : mapper.jyPrgRegs[i];
      };
      for (int i = 0; i < 3; ++i) banks[i] = reg(i);
      banks[3] = lastFromRegister ? reg(3) : PrgBank8kFromEnd(machine, 1);
      break;
    }
  }
  for (uint32_t slot = 0; slot < 4; ++slot) CopyPrgBank8kCached(machine, slot, banks[slot]);
  if (mode & kPrgAt6000) {
    const uint32_t reg3 = mapper.jyPrgRegs[3];
    const uint32_t bank = layout == 0 ? reg3 * 4 + 3 : (layout == 1 ? reg3 * 2 + 1 : reg3);
    CopyPrgBank8k(machine, kCartRamStart, layout == 3 ? ReverseSevenBits(bank) : bank);
  }
}

uint32_t ChrRegister(const MachineState& machine, uint32_t index) {
  return machine.mapper.jyChrLow[index] | (machine.mapper.jyChrHigh[index] << 8);
}

// Every layout is laid out in 1 KB banks: an 8 KB bank n is 1 KB banks 8n to 8n + 7.
void ApplyChr(MachineState& machine) {
  const uint8_t layout = (machine.mapper.jyModes[kModeBanking] >> kChrLayoutShift) & 3;
  const uint32_t piece = 8u >> layout;  // 1 KB banks per register: 8, 4, 2 or 1
  for (uint32_t slot = 0; slot < 8; ++slot) {
    const uint32_t reg = slot - slot % piece;
    CopyChrBank1kCached(machine, slot, ChrRegister(machine, reg) * piece + slot % piece);
  }
}

void WriteIrq(MachineState& machine, uint16_t address, uint8_t value) {
  MapperIrqState& irq = machine.irq;
  MapperRegisters& mapper = machine.mapper;
  switch (address & 7) {
    case kIrqEnableBit:
      irq.irqEnable = value & 1;
      if (!irq.irqEnable) AcknowledgeCartridgeIrq(machine);
      break;
    case kIrqModeReg:
      mapper.jyIrqMode = value;
      break;
    case kIrqDisableReg:
      irq.irqEnable = 0;
      AcknowledgeCartridgeIrq(machine);
      break;
    case kIrqEnableReg:
      irq.irqEnable = 1;
      break;
    case kIrqPrescalerReg:
      irq.irqPrescaler = value ^ mapper.jyIrqXor;
      break;
    case kIrqCounterReg:
      irq.irqCounter = value ^ mapper.jyIrqXor;
      break;
    case kIrqXorReg:
      mapper.jyIrqXor = value;
      break;
    default:
      break;
  }
}

// Steps the prescaler by `events` in the counting direction; each time it wraps the counter
// steps too, and the counter wrapping raises the IRQ when enabled.
void ClockIrq(MachineState& machine, uint32_t events) {
  MapperIrqState& irq = machine.irq;
  const uint8_t mode = machine.mapper.jyIrqMode;
  const uint8_t direction = (mode >> kDirectionShift) & 3;
  if (events == 0 || (direction != kCountUp && direction != kCountDown)) return;
  const uint32_t mask = (mode & kSmallPrescaler) ? 0x07 : 0xFF;
  const uint32_t prescaler = irq.irqPrescaler & mask;
  uint32_t steps = 0;
  bool wrapped = false;
  if (direction == kCountUp) {
    steps = (prescaler + events) / (mask + 1);
    irq.irqPrescaler =
        static_cast<uint8_t>((irq.irqPrescaler & ~mask) | ((prescaler + events) & mask));
    wrapped = irq.irqCounter + steps > 0xFF;
    irq.irqCounter = static_cast<uint8_t>(irq.irqCounter + steps);
  } else {
    steps = events > prescaler ? (events - prescaler - 1) / (mask + 1) + 1 : 0;
    irq.irqPrescaler =
        static_cast<uint8_t>((irq.irqPrescaler & ~mask) | ((prescaler - events) & mask));
    wrapped = steps > irq.irqCounter;
    irq.irqCounter = static_cast<uint8_t>(irq.irqCounter - steps);
  }
  if (wrapped && irq.irqEnable) RaiseCartridgeIrq(machine);
}

}  // namespace

void JyHighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  MapperRegisters& mapper = machine.mapper;
  switch (address & kBlockMask) {
    case kPrgBlock:
      mapper.jyPrgRegs[address & 3] = value & 0x7F;
      ApplyPrg(machine);
      break;
    case kChrLowBlock:
      mapper.jyChrLow[address & 7] = value;
      ApplyChr(machine);
      break;
    case kChrHighBlock:
      mapper.jyChrHigh[address & 7] = value;
      ApplyChr(machine);
      break;
    case kIrqBlock:
      WriteIrq(machine, address, value);
      break;
    case kModeBlock:
      mapper.jyModes[address & 3] = value;
      if ((address & 3) == kModeBanking) {
        ApplyPrg(machine);
        ApplyChr(machine);
      } else if ((address & 3) == kModeMirroring) {
        SelectFourWayMirroring(machine, value);
      }
      break;
    default:
      break;  // $B000-$B007: name-table ROM banks, not on this board
  }
}

void JyLowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  MapperRegisters& mapper = machine.mapper;
  if (address == kMultiplicandA || address == kMultiplicandB) {
    mapper.jyMultiplicands[address & 1] = value;
  } else if (address == kScratch) {
    mapper.jyScratch = value;
  } else if ((address & kCartRamWindowMask) == kCartRamStart &&
             (mapper.jyModes[kModeBanking] & kPrgAt6000) == 0) {
    machine.cpuMem[address] = value;
  }
}

bool JyPortRead(MachineState& machine, uint16_t address, uint8_t& value) {
  const MapperRegisters& mapper = machine.mapper;
  if (address < kDipSwitches || address >= kPortsEnd) return false;
  const uint32_t product = mapper.jyMultiplicands[0] * mapper.jyMultiplicands[1];
  if (address == kMultiplicandA) {
    value = static_cast<uint8_t>(product & 0xFF);
  } else if (address == kMultiplicandB) {
    value = static_cast<uint8_t>(product >> 8);
  } else if (address == kScratch) {
    value = mapper.jyScratch;
  } else {
    value = 0;  // the jumpers read as 0; nothing else answers in $5000-$5FFF
  }
  return true;
}

void JyLineStep(MachineState& machine, uint16_t line, bool renderingOn) {
  const bool renderedLine = renderingOn && line < kVisibleLineCount;
  switch (machine.mapper.jyIrqMode & kSourceMask) {
    case kSourceCpuCycles:
      ClockIrq(machine, IrqCyclesPerLine(machine));
      break;
    case kSourcePpuA12:
      if (renderedLine) ClockIrq(machine, kA12RisesPerLine);
      break;
    case kSourcePpuReads:
      if (renderedLine) ClockIrq(machine, kPpuReadsPerLine);
      break;
    default:
      break;  // CPU writes are not counted
  }
  TakeCartridgeIrq(machine);
}

}  // namespace wrenfold
