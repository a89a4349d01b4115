// Mappers 4, 74, 112, 115, 118, 160, 161, 245, 249.
//
// The MMC3 keeps eight bank registers: R0 and R1 pick 2 KB CHR banks, R2-R5 1 KB CHR banks, R6
// and R7 8 KB PRG banks; the second-last and last 8 KB banks are fixed. Bit 6 of the bank select
// swaps R6 with the fixed second-last bank ($8000 <-> $C000), bit 7 swaps the two pattern-table
// halves. Banks are applied from the registers through the bank caches after every change, so
// rewriting a register with the same bank copies nothing.
//
// The scanline counter is clocked by rises of PPU address line A12. While the picture is drawn
// that happens once per line, late in the line, when the background and the sprites fetch from
// different pattern tables (or the sprites are 8 x 16). While rendering is off the CPU moves A12
// itself through $2006 and $2007. A counter that reaches zero with the IRQ enabled raises the
// IRQ line, which stays up until $E000.
//
// On the console the handler of an IRQ raised late in line h runs into line h + 1, and what it
// writes to the scroll shows from line h + 2. The renderer draws each line with the registers
// as that line's CPU slice left them, so the line step clocks the counter for line h at the
// start of line h + 2 (line 1 clocks the pre-render line) and lets the CPU take the IRQ right
// away: the handler runs in the slice of line h + 2, and the next clock comes after it, so a
// handler that acknowledges and reloads is in time for it.
#include "emulator/cart/mappers/mmc3_family.h"

#include <algorithm>
#include <cstring>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/mirroring.h"
#include "emulator/cpu/interrupts.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

// The four register pairs of the MMC3, told apart by address bit 0 and bits 13-14.
constexpr uint16_t kRegisterMask = 0xE001;
constexpr uint16_t kBankSelect = 0x8000;
constexpr uint16_t kBankData = 0x8001;
constexpr uint16_t kMirroring = 0xA000;
constexpr uint16_t kRamProtect = 0xA001;  // not decoded: the RAM stays enabled and writable
constexpr uint16_t kIrqLatch = 0xC000;
constexpr uint16_t kIrqReload = 0xC001;
constexpr uint16_t kIrqDisable = 0xE000;
constexpr uint16_t kIrqEnable = 0xE001;

constexpr uint8_t kSelectRegister = 0x07;
constexpr uint8_t kSelectPrgSwap = 0x40;    // R6 at $C000, the second-last bank at $8000
constexpr uint8_t kSelectChrInvert = 0x80;  // the 2 KB banks in $1000-$1FFF
constexpr int kR6 = 6;
constexpr int kR7 = 7;
constexpr int kR8 = 8;  // mapper 161: the $E000 bank

// Power-on banks: the first 16 KB at $8000 and the first 8 KB of CHR in order.
constexpr uint8_t kPowerOnBanks[9] = {0, 2, 4, 5, 6, 7, 0, 1, 0xFF};

constexpr uint8_t kMaskRendering = kMaskBackground | kMaskSprites;
constexpr uint16_t kPpuA12 = 0x1000;

// Where the fixed PRG banks come from.
enum class PrgWiring : uint8_t {
  kStandard,
  kOuterFromR0,   // mapper 245: bit 1 of R0 picks the 512 KB half, fixed banks included
  kE000Register,  // mapper 161: R8 instead of the fixed last bank
};

constexpr uint32_t k8kBanksPer512k = 64;

uint8_t* Banks(MachineState& machine) {
  return machine.mapper.mmc3Banks;
}

void ApplyPrg(MachineState& machine, PrgWiring wiring) {
  const uint8_t* banks = Banks(machine);
  uint32_t count = PrgDataSize(machine) / kBank8k;
  uint32_t outer = 0;
  if (wiring == PrgWiring::kOuterFromR0 && count > k8kBanksPer512k) {
    outer = (banks[0] & 0x02) ? k8kBanksPer512k : 0;
    count = k8kBanksPer512k;
  }
  const uint32_t secondLast = outer + (count >= 2 ? count - 2 : 0);
  const uint32_t last = wiring == PrgWiring::kE000Register ? banks[kR8] : outer + count - 1;
  const uint32_t r6 = outer + (wiring == PrgWiring::kOuterFromR0 ? banks[kR6] & 0x3F : banks[kR6]);
  const uint32_t r7 = outer + (wiring == PrgWiring::kOuterFromR0 ? banks[kR7] & 0x3F : banks[kR7]);
  const bool swapped =
      wiring != PrgWiring::kE000Register && (machine.mapper.mmc3BankSelect & kSelectPrgSwap);
  CopyPrgBank8kCached(machine, 0, swapped ? secondLast : r6);
  CopyPrgBank8kCached(machine, 1, r7);
  CopyPrgBank8kCached(machine, 2, swapped ? r6 : secondLast);
  CopyPrgBank8kCached(machine, 3, last);
}

// The 2 KB registers ignore their bit 0. With pattern RAM no copy is made.
void ApplyChr(MachineState& machine) {
  const uint8_t* banks = Banks(machine);
  const uint32_t pairs = (machine.mapper.mmc3BankSelect & kSelectChrInvert) ? 4 : 0;
  const uint32_t singles = pairs ^ 4;
  for (uint32_t i = 0; i < 4; ++i) {
    CopyChrBank1kCached(machine, pairs + i, (banks[i / 2] & 0xFE) | (i & 1));
    CopyChrBank1kCached(machine, singles + i, banks[2 + i]);
  }
}

// --- Mapper 118 (TxSROM): bit 7 of a CHR bank number wires the name-table page ---

// The page each name-table slot shows: the bit 7 of the CHR register that covers the same
// 1 KB of the lower pattern-table half under the current inversion.
void NameTablePages(const MachineState& machine, uint8_t pages[4]) {
  const uint8_t* banks = machine.mapper.mmc3Banks;
  const bool inverted = (machine.mapper.mmc3BankSelect & kSelectChrInvert) != 0;
  for (int slot = 0; slot < 4; ++slot) {
    const uint8_t bank = inverted ? banks[2 + slot] : banks[slot / 2];
    pages[slot] = bank >> 7;
  }
}

// Swaps the contents of the two tables of the two-table layout just set, so the mirroring's
// table A becomes the other page.
void SwapTables(MachineState& machine, uint16_t slotOfB) {
  uint8_t table[0x400];
  uint8_t* a = machine.ppuMem + 0x2000;
  uint8_t* b = machine.ppuMem + slotOfB;
  std::memcpy(table, a, sizeof table);
  std::memcpy(a, b, sizeof table);
  std::memcpy(b, table, sizeof table);
  const uint16_t otherA = slotOfB == 0x2800 ? 0x2400 : 0x2800;
  const uint16_t otherB = 0x2C00;
  std::memcpy(machine.ppuMem + otherA, a, sizeof table);
  std::memcpy(machine.ppuMem + otherB, b, sizeof table);
  machine.mapper.txsromPageOfA ^= 1;
}

// Shows the pages through the mirroring operations: one page everywhere, or the two pages in
// a horizontal or vertical layout (a layout that fits neither is shown by its top row).
void ApplyTxsromMirroring(MachineState& machine) {
  uint8_t pages[4];
  NameTablePages(machine, pages);
  uint8_t& pageOfA = machine.mapper.txsromPageOfA;
  if (pages[0] == pages[1] && pages[0] == pages[2] && pages[0] == pages[3]) {
    if (pages[0] == pageOfA) {
      SetOneScreenA(machine);
    } else {
      SetOneScreenB(machine);
    }
  } else if (pages[0] == pages[1]) {
    LeaveToHorizontal(machine);
    if (pages[0] != pageOfA) SwapTables(machine, 0x2800);
  } else {
    LeaveToVertical(machine);
    if (pages[0] != pageOfA) SwapTables(machine, 0x2400);
  }
}

// --- Register writes ---

struct Mmc3Wiring {
  PrgWiring prg = PrgWiring::kStandard;
  bool mirroring = true;  // $A000 decoded
  bool txsrom = false;    // mirroring from the CHR registers
};

void ApplyBanks(MachineState& machine, const Mmc3Wiring& wiring) {
  ApplyPrg(machine, wiring.prg);
  ApplyChr(machine);
  if (wiring.txsrom) ApplyTxsromMirroring(machine);
}

// With the reload asked for by $C001 the counter takes the latch corrected by IRQADJ; the
// reload after reaching zero takes the latch alone, so IRQADJ moves a whole frame's splits
// together.
uint8_t AdjustedLatch(const MachineState& machine) {
  const int latch = machine.irq.irqLatch;
  if (latch == 0) return 0;
  return static_cast<uint8_t>(std::clamp(latch + machine.irqAdjust, 0, 255));
}

void ClockCounter(MachineState& machine, const char* fireLog) {
  MapperIrqState& irq = machine.irq;
  if (irq.irqCounter == 0 || irq.irqReload) {
    irq.irqCounter = irq.irqReload ? AdjustedLatch(machine) : irq.irqLatch;
    irq.irqReload = 0;
  } else {
    --irq.irqCounter;
  }
  if (irq.irqCounter == 0 && irq.irqEnable) {
    if (fireLog != nullptr && irq.irqLine == 0) LogText(fireLog);
    RaiseCartridgeIrq(machine);
  }
}

void WriteIrqRegister(MachineState& machine, uint16_t reg, uint8_t value) {
  MapperIrqState& irq = machine.irq;
  switch (reg) {
    case kIrqLatch:
      irq.irqLatch = value;
      break;
    case kIrqReload:
      irq.irqCounter = 0;
      irq.irqReload = 1;
      break;
    case kIrqDisable:
      irq.irqEnable = 0;
      AcknowledgeCartridgeIrq(machine);
      break;
    default:
      irq.irqEnable = 1;
      break;
  }
}

void WriteMmc3(MachineState& machine, uint16_t address, uint8_t value, const Mmc3Wiring& wiring) {
  MapperRegisters& mapper = machine.mapper;
  const uint16_t reg = address & kRegisterMask;
  switch (reg) {
    case kBankSelect:
      mapper.mmc3BankSelect = value;
      ApplyBanks(machine, wiring);
      break;
    case kBankData:
      mapper.mmc3Banks[mapper.mmc3BankSelect & kSelectRegister] = value;
      ApplyBanks(machine, wiring);
      break;
    case kMirroring:
      if (wiring.mirroring && !machine.header.fourScreen) {
        SelectTwoWayMirroring(machine, (value & 1) == 0);
      }
      break;
    case kRamProtect:
      break;
    default:
      WriteIrqRegister(machine, reg, value);
      break;
  }
}

constexpr Mmc3Wiring kMmc3;
constexpr Mmc3Wiring kMapper115{.mirroring = false};
constexpr Mmc3Wiring kTxsrom{.mirroring = false, .txsrom = true};
constexpr Mmc3Wiring kMapper245{.prg = PrgWiring::kOuterFromR0};

// --- Mapper 112: select at $8000, data at $A000 in its own order, mirroring at $E000 ---

constexpr uint16_t kNtdecSelect = 0x8000;
constexpr uint16_t kNtdecData = 0xA000;
constexpr uint16_t kNtdecMirroring = 0xE000;  // bit 0 set: horizontal
constexpr uint16_t kNtdecRegisterMask = 0xE001;
// Its commands 0-7 are PRG $8000, PRG $A000, CHR 2 KB $0000, $0800, CHR 1 KB $1000-$1C00.
constexpr uint8_t kNtdecToMmc3Register[8] = {kR6, kR7, 0, 1, 2, 3, 4, 5};

// --- Mapper 160 ---

constexpr uint16_t k160PrgFirst = 0x8000;
constexpr uint16_t k160PrgLast = 0x8002;
constexpr uint16_t k160ChrLock = 0xB001;
constexpr uint16_t kPageMask = 0xF000;

void Log160(uint16_t address, uint8_t value) {
  LogText("PA");
  LogRegisterWrite(address, value);
}

// Copies 1 KB of CHR without decoding: the frame driver rebuilds the cache at the next frame.
void CopyChr1kDeferred(MachineState& machine, uint32_t slot, uint32_t bank) {
  if (ChrDataSize(machine) != 0) {
    const uint32_t offset = ReduceChrBank(machine, kBank1k, bank) * kBank1k;
    std::memcpy(machine.ppuMem + slot * kBank1k, machine.chrRom + offset, kBank1k);
    machine.chrBankCache[slot] = kNoBankCached;
  }
  machine.patternDirty = 1;
}

// --- Mappers 160 and 161: counters that step down on every visible line and fire at once ---

void StepAndFire(MachineState& machine) {
  MapperIrqState& irq = machine.irq;
  --irq.irqCounter;
  if (irq.irqEnable && irq.irqCounter == 0 && (machine.cpu.P & kFlagI) == 0) {
    EnterIrq(machine, static_cast<uint8_t>(machine.cpu.P & ~kFlagB));
    irq.irqEnable = 0;
    irq.irqCounter = irq.irqLatch;
  }
}

// Mapper 161's IRQ registers: the counter and latch take the written value plus one, and
// IRQADJ on the writes that set the counter.
void Write161Irq(MachineState& machine, uint16_t address, uint8_t value) {
  MapperIrqState& irq = machine.irq;
  switch (address) {
    case kIrqLatch:
      irq.irqCounter = static_cast<uint8_t>(value + 1 + machine.irqAdjust);
      break;
    case kIrqReload:
      irq.irqLatch = static_cast<uint8_t>(value + 1);
      break;
    case kIrqDisable:
      irq.irqEnable = 0;
      irq.irqCounter = static_cast<uint8_t>(irq.irqLatch + machine.irqAdjust);
      break;
    default:
      irq.irqEnable = 1;
      break;
  }
}

constexpr uint16_t k161SecondData = 0x8801;
constexpr uint16_t k161SelectE000 = 0x8800;
constexpr uint8_t k161Register = 0x0F;
constexpr uint8_t k161SelectBank8 = 0x08;

bool RenderingOn(const MachineState& machine) {
  return (machine.cpuMem[kPpuMask] & kMaskRendering) != 0;
}

// Whether the picture's pattern fetches make A12 rise once a line: the background and the
// sprites fetch from different tables, or 8 x 16 sprites fetch from both.
bool FetchesRaiseA12(const MachineState& machine) {
  const uint8_t ctrl = machine.cpuMem[kPpuCtrl];
  if (ctrl & kCtrlTallSprites) return true;
  return ((ctrl & kCtrlBackgroundTable1) != 0) != ((ctrl & kCtrlSpriteTable1) != 0);
}

// Lines 1-241 clock the pre-render line and the 240 picture lines, two lines late.
constexpr uint16_t kFirstClockedLine = 1;
constexpr uint16_t kLastClockedLine = kVisibleLineCount + 1;

void LineStep(MachineState& machine, uint16_t line, bool renderingOn, const char* fireLog) {
  if (line >= kFirstClockedLine && line <= kLastClockedLine && renderingOn &&
      FetchesRaiseA12(machine)) {
    ClockCounter(machine, fireLog);
    machine.mapper.mmc3A12 = 0;  // the background fetches after the rise leave A12 low
  }
  TakeCartridgeIrq(machine);
}

}  // namespace

void Mmc3HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  WriteMmc3(machine, address, value, kMmc3);
}

void Mapper74HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  WriteMmc3(machine, address, value, kMmc3);
}

void Mapper115HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  WriteMmc3(machine, address, value, kMapper115);
}

void TxsromHighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  WriteMmc3(machine, address, value, kTxsrom);
}

void Mapper245HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  WriteMmc3(machine, address, value, kMapper245);
}

void Mapper249HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  LogRegisterWrite(address, value);
  WriteMmc3(machine, address, value, kMmc3);
}

void Mapper112HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  MapperRegisters& mapper = machine.mapper;
  switch (address & kNtdecRegisterMask) {
    case kNtdecSelect:
      mapper.mmc3BankSelect = value & kSelectRegister;  // no PRG swap, no CHR inversion
      break;
    case kNtdecData:
      mapper.mmc3Banks[kNtdecToMmc3Register[mapper.mmc3BankSelect & kSelectRegister]] = value;
      ApplyBanks(machine, kMmc3);
      break;
    case kNtdecMirroring:
      SelectTwoWayMirroring(machine, (value & 1) == 0);
      break;
    default:
      break;
  }
}

void Mapper160HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address >= k160PrgFirst && address <= k160PrgLast) {
    CopyPrgBank8kCached(machine, address - k160PrgFirst, value);
    return;
  }
  switch (address & kPageMask) {
    case 0x9000:
      // While locked, the pattern banks change only during the picture.
      if (machine.mapper.chrLock160 == 0 || machine.vblankPhase == 0) {
        CopyChr1kDeferred(machine, address & 7, value);
      }
      return;
    case 0xC000:
      switch (address & 3) {
        case 0:
          machine.irq.irqCounter = machine.irq.irqLatch;
          machine.irq.irqEnable = 1;
          break;
        case 1:
          machine.irq.irqLatch = value;
          break;
        case 2:
          machine.irq.irqEnable = 0;
          break;
        default:
          machine.irq.irqCounter = value;
          break;
      }
      return;
    default:
      break;
  }
  if (address == k160ChrLock) {
    machine.mapper.chrLock160 = value;
  } else {
    Log160(address, value);
  }
}

void Mapper161HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  MapperRegisters& mapper = machine.mapper;
  constexpr Mmc3Wiring k161{.prg = PrgWiring::kE000Register};
  // The select keeps the register number in bits 0-3: 0-7 from $8000, 8 from $8800.
  switch (address) {
    case kBankSelect:
      mapper.mmc3BankSelect = static_cast<uint8_t>(value & ~k161SelectBank8);
      ApplyBanks(machine, k161);
      break;
    case k161SelectE000:
      mapper.mmc3BankSelect =
          static_cast<uint8_t>((mapper.mmc3BankSelect & ~k161Register) | k161SelectBank8);
      break;
    case kBankData:
    case k161SecondData:
      mapper.mmc3Banks[mapper.mmc3BankSelect & k161Register] = value;
      ApplyBanks(machine, k161);
      break;
    case kMirroring:
      if (!machine.header.fourScreen) SelectTwoWayMirroring(machine, (value & 1) == 0);
      break;
    case kIrqLatch:
    case kIrqReload:
    case kIrqDisable:
    case kIrqEnable:
      Write161Irq(machine, address, value);
      break;
    default:
      LogRegisterWrite(address, value);
      break;
  }
}

// Logging stops short of $4000-$4015, which sound code writes thousands of times a second.
void Mapper161LowWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (address > kLastConsoleRegister) LogNumber(address);
  StoreCartridgeRamLow4k(machine, address, value);
}

void Mmc3LineStep(MachineState& machine, uint16_t line, bool renderingOn) {
  LineStep(machine, line, renderingOn, nullptr);
}

void Mapper74LineStep(MachineState& machine, uint16_t line, bool renderingOn) {
  LineStep(machine, line, renderingOn, "IRQ\n");
}

void Mapper245LineStep(MachineState& machine, uint16_t line, bool renderingOn) {
  LineStep(machine, line, renderingOn, "W");
}

void Mapper249LineStep(MachineState& machine, uint16_t line, bool renderingOn) {
  LineStep(machine, line, renderingOn, "IRQ\n");
}

void Mapper160LineStep(MachineState& machine, uint16_t line, bool) {
  if (line < kVisibleLineCount) StepAndFire(machine);
}

void Mapper161LineStep(MachineState& machine, uint16_t line, bool) {
  if (line < kVisibleLineCount && machine.irq.irqEnable) StepAndFire(machine);
}

// While the picture is drawn the fetches drive A12, and the line step counts them.
void Mmc3PpuAddress(MachineState& machine, uint16_t address) {
  if (machine.vblankPhase == 0 && RenderingOn(machine)) return;
  const uint8_t a12 = (address & kPpuA12) ? 1 : 0;
  if (a12 && !machine.mapper.mmc3A12) ClockCounter(machine, nullptr);
  machine.mapper.mmc3A12 = a12;
}

void PowerOnMmc3(MachineState& machine) {
  std::memcpy(machine.mapper.mmc3Banks, kPowerOnBanks, sizeof kPowerOnBanks);
}

// The registers start on page 0 for every slot: one screen, table A, without a copy.
void PowerOnTxsrom(MachineState& machine) {
  PowerOnMmc3(machine);
  machine.oneScreenA = 1;
}

void PowerOnMapper161(MachineState& machine) {
  PowerOnMmc3(machine);
}

}  // namespace wrenfold
