// The instruction set, written once for the cores. An Interpreter holds the registers of one
// call in locals; the core kind picks the flag representation and the extra opcodes, and
// kTraced compiles the per-instruction trace in or out. The reference and second cores decode
// in ExecuteOpcode below; the full core decodes the console's whole set in ExecuteConsoleOpcode
// (cpu_console_opcodes.h) with the same helpers.
//
// In the reference and second cores cycle charges are fixed per opcode and taken at the start
// of the instruction: no page-cross or taken-branch penalties. Page 0, page 1 and pointer
// bytes are read and written in cpuMem directly; every other data access goes through
// ReadByte and WriteByte, which handle work RAM and PRG reads in line and pass everything
// else to CpuRead and WriteBus.
#pragma once

#include <cstdint>
#include <type_traits>

#include "emulator/cart/write_bus.h"
#include "emulator/cpu/bad_opcode.h"
#include "emulator/cpu/cpu_core.h"
#include "emulator/cpu/cpu_flags.h"
#include "emulator/cpu/cpu_trace.h"
#include "emulator/cpu/read_bus.h"
#include "emulator/machine_state/io_registers.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

enum class AddressMode {
  kImmediate,
  kZeroPage,
  kZeroPageX,
  kZeroPageY,
  kAbsolute,
  kAbsoluteX,
  kAbsoluteY,
  kIndirectX,         // ($nn,X)
  kIndirectY,         // ($nn),Y
  kIndirectZeroPage,  // ($nn)
};

template <CpuCoreKind kCore, bool kTraced>
class Interpreter {
 public:
  static constexpr bool kReference = kCore == CpuCoreKind::Reference;
  static constexpr bool kSecond = kCore == CpuCoreKind::Second;
  static constexpr bool kFull = kCore == CpuCoreKind::Full;
  using Flags = std::conditional_t<kReference, PackedFlags,
                                   std::conditional_t<kFull, ConsoleFlags, Bit5ClearFlags>>;

  Interpreter(MachineState& machine, int budget, const CpuTraceSink* traceSink)
      : budget(budget),
        machine(machine),
        mem(machine.cpuMem),
        traceSink(traceSink),
        pc(machine.cpu.PC),
        s(machine.cpu.S),
        a(machine.cpu.A),
        x(machine.cpu.X),
        y(machine.cpu.Y) {
    flags.Load(machine.cpu.P);
  }

  // Runs one instruction and charges its cycles to `budget`. Returns false when the opcode is
  // not one this core handles: the bad opcode has then been reported, and only the registers
  // the core keeps in the record itself (PC and S; P too in the reference and full cores) were
  // stored.
  bool Step();

  // Runs instructions until the budget is spent. Returns false when a bad opcode stopped it.
  [[gnu::always_inline]] bool RunBudget() {
    do {
      while (budget > 0) {
        if (!Step()) return false;
      }
    } while (EndDeferredIrq());
    return true;
  }

  // One instruction; after CLI or PLP with the cartridge IRQ waiting, also the next one and the
  // IRQ entry, as the line would run them. Returns false on a bad opcode.
  bool StepWithDeferredIrq() {
    if (!Step()) return false;
    if (irqDeferred) {
      if (!Step()) return false;
      EndDeferredIrq();
    }
    return true;
  }

  // Stores every register back into the record, as a call does when its budget is spent.
  void StoreRegisters() {
    machine.cpu.PC = pc;
    machine.cpu.S = s;
    machine.cpu.A = a;
    machine.cpu.X = x;
    machine.cpu.Y = y;
    machine.cpu.P = flags.Pack();
  }

  int budget;
  // Set by the per-line cores: lets SkipRepeatedPasses charge the passes of a tight wait
  // loop in one go. Single stepping runs every pass.
  bool skipRepeatedPasses = false;

 private:
  // BPL back over LDA $2002 (3 bytes) and itself: the wait-for-vblank loop.
  static constexpr uint8_t kIdleLoopOffset = 0xFB;
  static constexpr uint8_t kIdleLoopBytes[3] = {0xAD, 0x02, 0x20};
  // Branches back over one two-byte instruction and themselves: "wait: LDA flag; BEQ wait".
  static constexpr uint8_t kTightLoopOffset = 0xFC;
  static constexpr int kBranchCycles = 2;

  // The opcode switches of the specified cores and of the full core.
  bool ExecuteOpcode(uint8_t opcode);
  bool ExecuteConsoleOpcode(uint8_t opcode);

  static constexpr bool InZeroPage(AddressMode mode) {
    return mode == AddressMode::kZeroPage || mode == AddressMode::kZeroPageX ||
           mode == AddressMode::kZeroPageY;
  }

  // Most reads are opcode and operand fetches from PRG, or work RAM. CpuRead answers both
  // straight from cpuMem on every board (the boards' own read ports lie in $4000-$7FFF), so
  // they are read here in line, without a call per byte.
  uint8_t ReadByte(uint16_t address) {
    if (address >= kPrgWindowStart) [[likely]] {
      return mem[address];
    }
    if (address < kRamMirrorEnd) return mem[address & kRamMask];
    return CpuRead(machine, address);
  }

  // Work RAM stores are plain stores wherever they are made from; the rest go to WriteBus.
  void WriteByte(uint16_t address, uint8_t value) {
    if (address < kRamMirrorEnd) {
      mem[address & kRamMask] = value;
      return;
    }
    WriteBus(machine, address, value);
  }

  uint8_t Fetch() { return ReadByte(pc++); }

  uint16_t FetchWord() {
    const uint8_t low = Fetch();
    return static_cast<uint16_t>(low | (Fetch() << 8));
  }

  uint16_t ZeroPagePointer(uint8_t pointer) const {
    return static_cast<uint16_t>(mem[pointer] | (mem[(pointer + 1) & 0xFF] << 8));
  }

  // The address an indexed mode adds its index to: the operand word, or for ($nn),Y the
  // pointer in page 0.
  template <AddressMode kMode>
  uint16_t IndexedBase() {
    if constexpr (kMode == AddressMode::kIndirectY) {
      const uint8_t pointer = Fetch();
      if constexpr (kFull) {
        // The console wraps the pointer within page 0: ($FF),Y takes its high byte from $0000.
        return ZeroPagePointer(pointer);
      } else {
        // The pointer's high byte is not wrapped into page 0: ($FF),Y takes it from $0100.
        return static_cast<uint16_t>(mem[pointer] | (mem[pointer + 1] << 8));
      }
    } else {
      static_assert(kMode == AddressMode::kAbsoluteX || kMode == AddressMode::kAbsoluteY);
      return FetchWord();
    }
  }

  template <AddressMode kMode>
  uint16_t EffectiveAddress() {
    if constexpr (kMode == AddressMode::kZeroPage) {
      return Fetch();
    } else if constexpr (kMode == AddressMode::kZeroPageX) {
      return static_cast<uint8_t>(Fetch() + x);
    } else if constexpr (kMode == AddressMode::kZeroPageY) {
      return static_cast<uint8_t>(Fetch() + y);
    } else if constexpr (kMode == AddressMode::kAbsolute) {
      return FetchWord();
    } else if constexpr (kMode == AddressMode::kAbsoluteX) {
      return static_cast<uint16_t>(FetchWord() + x);
    } else if constexpr (kMode == AddressMode::kAbsoluteY) {
      return static_cast<uint16_t>(FetchWord() + y);
    } else if constexpr (kMode == AddressMode::kIndirectX) {
      return ZeroPagePointer(static_cast<uint8_t>(Fetch() + x));
    } else if constexpr (kMode == AddressMode::kIndirectY) {
      return static_cast<uint16_t>(IndexedBase<kMode>() + y);
    } else {
      static_assert(kMode == AddressMode::kIndirectZeroPage);
      return ZeroPagePointer(Fetch());
    }
  }

  template <AddressMode kMode>
  uint8_t Read() {
    if constexpr (kMode == AddressMode::kImmediate) {
      return Fetch();
    } else if constexpr (InZeroPage(kMode)) {
      return mem[EffectiveAddress<kMode>()];
    } else {
      return ReadByte(EffectiveAddress<kMode>());
    }
  }

  template <AddressMode kMode>
  void Write(uint8_t value) {
    if constexpr (InZeroPage(kMode)) {
      mem[EffectiveAddress<kMode>()] = value;
    } else {
      WriteByte(EffectiveAddress<kMode>(), value);
    }
  }

  // Read-modify-write: one read and one write of the target.
  template <AddressMode kMode, uint8_t (Interpreter::*kOperation)(uint8_t)>
  void Modify() {
    const uint16_t address = EffectiveAddress<kMode>();
    if constexpr (InZeroPage(kMode)) {
      mem[address] = (this->*kOperation)(mem[address]);
    } else {
      WriteByte(address, (this->*kOperation)(ReadByte(address)));
    }
  }

  void Push(uint8_t value) {
    mem[kStackPage + s] = value;
    --s;
  }

  uint8_t Pull() {
    ++s;
    return mem[kStackPage + s];
  }

  uint16_t ReadVector(uint16_t address) {
    const uint8_t low = ReadByte(address);
    return static_cast<uint16_t>(low | (ReadByte(static_cast<uint16_t>(address + 1)) << 8));
  }

  // ALU. ADC and SBC never apply decimal correction, whatever D holds.
  void Load(uint8_t& target, uint8_t value) {
    target = value;
    flags.SetNZ(value);
  }
  void Ora(uint8_t value) { Load(a, a | value); }
  void And(uint8_t value) { Load(a, a & value); }
  void Eor(uint8_t value) { Load(a, a ^ value); }
  void Adc(uint8_t value) {
    const unsigned sum = a + value + flags.Carry();
    const uint8_t result = static_cast<uint8_t>(sum);
    // Signed overflow: both inputs share a sign that the result does not.
    const bool overflow = ((a ^ result) & (value ^ result) & 0x80) != 0;
    flags.SetNVZC(result, overflow, sum > 0xFF);
    a = result;
  }
  void Sbc(uint8_t value) { Adc(value ^ 0xFF); }
  void Compare(uint8_t reg, uint8_t value) {
    const unsigned difference = reg + (value ^ 0xFF) + 1;
    flags.SetNZC(static_cast<uint8_t>(difference), difference > 0xFF);
  }
  void Bit(uint8_t value) { flags.SetBitTest(value, (a & value) == 0); }

  uint8_t Asl(uint8_t value) {
    const uint8_t result = static_cast<uint8_t>(value << 1);
    flags.SetNZC(result, (value & 0x80) != 0);
    return result;
  }
  uint8_t Lsr(uint8_t value) {
    const uint8_t result = value >> 1;
    flags.SetNZC(result, (value & 0x01) != 0);
    return result;
  }
  uint8_t Rol(uint8_t value) {
    const uint8_t result = static_cast<uint8_t>((value << 1) | flags.Carry());
    flags.SetNZC(result, (value & 0x80) != 0);
    return result;
  }
  uint8_t Ror(uint8_t value) {
    const uint8_t result = static_cast<uint8_t>((value >> 1) | (flags.Carry() << 7));
    flags.SetNZC(result, (value & 0x01) != 0);
    return result;
  }
  uint8_t Increment(uint8_t value) {
    const uint8_t result = static_cast<uint8_t>(value + 1);
    flags.SetNZ(result);
    return result;
  }
  uint8_t Decrement(uint8_t value) {
    const uint8_t result = static_cast<uint8_t>(value - 1);
    flags.SetNZ(result);
    return result;
  }

  // ---- Full core only: the console's page-cross charge and its undocumented operations ----

  // A read through abs,X, abs,Y or ($nn),Y costs one cycle more when the index carries into the
  // high byte of the address. Other modes read as Read does.
  template <AddressMode kMode>
  uint8_t ReadWithPageCross() {
    if constexpr (kMode == AddressMode::kAbsoluteX || kMode == AddressMode::kAbsoluteY ||
                  kMode == AddressMode::kIndirectY) {
      const uint16_t base = IndexedBase<kMode>();
      const uint16_t address =
          static_cast<uint16_t>(base + (kMode == AddressMode::kAbsoluteX ? x : y));
      budget -= ((base ^ address) & 0xFF00) != 0 ? 1 : 0;
      return ReadByte(address);
    } else {
      return Read<kMode>();
    }
  }

  // Read-modify-write pairs: the shift or step lands in memory, then A meets the new value.
  uint8_t Slo(uint8_t value) {
    const uint8_t result = Asl(value);
    Ora(result);
    return result;
  }
  uint8_t Rla(uint8_t value) {
    const uint8_t result = Rol(value);
    And(result);
    return result;
  }
  uint8_t Sre(uint8_t value) {
    const uint8_t result = Lsr(value);
    Eor(result);
    return result;
  }
  uint8_t Rra(uint8_t value) {
    const uint8_t result = Ror(value);
    Adc(result);  // with the carry the rotate left
    return result;
  }
  uint8_t Dcp(uint8_t value) {
    const uint8_t result = static_cast<uint8_t>(value - 1);
    Compare(a, result);
    return result;
  }
  uint8_t Isc(uint8_t value) {
    const uint8_t result = static_cast<uint8_t>(value + 1);
    Sbc(result);
    return result;
  }

  void Lax(uint8_t value) {
    Load(a, value);
    x = a;
  }
  // ANC: AND, then C copies N.
  void Anc(uint8_t value) {
    And(value);
    flags.SetC(flags.N());
  }
  // ALR: AND, then LSR A.
  void Alr(uint8_t value) { a = Lsr(static_cast<uint8_t>(a & value)); }
  // ARR: AND, then ROR A; C is bit 6 of the result and V is bit 6 XOR bit 5.
  void Arr(uint8_t value) {
    const uint8_t result = static_cast<uint8_t>(((a & value) >> 1) | (flags.Carry() << 7));
    flags.SetNVZC(result, (((result >> 6) ^ (result >> 5)) & 1) != 0, (result & 0x40) != 0);
    a = result;
  }
  // AXS: X := (A AND X) - operand, with C as in CMP and no borrow in.
  void Axs(uint8_t value) {
    const unsigned difference = (a & x) + (value ^ 0xFF) + 1;
    x = static_cast<uint8_t>(difference);
    flags.SetNZC(x, difference > 0xFF);
  }
  // ANE and LXA mix A with a chip-dependent constant before the AND; the 2A03 behaves as if it
  // were $FF, so ANE is X AND operand and LXA loads the operand into A and X.
  static constexpr uint8_t kUnstableConstant = 0xFF;
  void Ane(uint8_t value) { Load(a, (a | kUnstableConstant) & x & value); }
  void Lxa(uint8_t value) {
    Load(a, (a | kUnstableConstant) & value);
    x = a;
  }
  // LAS: A, X and S all take the operand AND S.
  void Las(uint8_t value) {
    s = static_cast<uint8_t>(value & s);
    Load(a, s);
    x = s;
  }
  // SHA, SHX, SHY and TAS store the value AND (high byte of the base address + 1). When the
  // index carries into the high byte, the stored value becomes the high byte of the address.
  template <AddressMode kMode>
  void StoreAndHigh(uint8_t value) {
    const uint16_t base = IndexedBase<kMode>();
    uint16_t address = static_cast<uint16_t>(base + (kMode == AddressMode::kAbsoluteX ? x : y));
    const uint8_t stored = static_cast<uint8_t>(value & ((base >> 8) + 1));
    if (((base ^ address) & 0xFF00) != 0) {
      address = static_cast<uint16_t>((address & 0x00FF) | (stored << 8));
    }
    WriteByte(address, stored);
  }

  // A taken branch reads its offset and lands relative to the byte after it; one not taken
  // skips the offset unread. Returns the offset of a taken branch, -1 otherwise.
  int Branch(bool taken) {
    if (!taken) {
      ++pc;
      return -1;
    }
    const uint8_t offset = ReadByte(pc);
    pc = static_cast<uint16_t>(pc + static_cast<int8_t>(offset) + 1);
    return offset;
  }

  // Conditional branches cost the same whether taken or not, except in the full core: there a
  // taken branch costs one cycle more, and one more again when it lands in another page.
  // Returns what Branch returns. Always inlined: called from eight opcodes, the compiler would
  // otherwise keep one copy that takes the registers through memory on every branch.
  [[gnu::always_inline]] int ConditionalBranch(bool taken) {
    budget -= kBranchCycles;
    const int offset = Branch(taken);
    if constexpr (kFull) {
      if (offset >= 0) {
        const uint16_t next = static_cast<uint16_t>(pc - static_cast<int8_t>(offset));
        budget -= ((next ^ pc) & 0xFF00) != 0 ? 2 : 1;
      }
    }
    if (offset == kTightLoopOffset && InTightWaitLoop()) {
      SkipRepeatedPasses();
    } else {
      lastPass.taken = false;
    }
    return offset;
  }

  // Zero-page reads whose only effect is on the registers and flags.
  static constexpr bool IsZeroPageRead(uint8_t opcode) {
    switch (opcode) {
      case 0xA5:  // LDA
      case 0xA6:  // LDX
      case 0xA4:  // LDY
      case 0xC5:  // CMP
      case 0xE4:  // CPX
      case 0xC4:  // CPY
      case 0x24:  // BIT
      case 0x05:  // ORA
      case 0x25:  // AND
      case 0x45:  // EOR
        return true;
      default:
        return false;
    }
  }

  // The branch just taken went back to a zero-page read just before it, all of it in PRG:
  // "wait: LDA flag; BEQ wait". A pass of such a loop changes no memory and has no side
  // effects, only registers and flags.
  bool InTightWaitLoop() const {
    if constexpr (kTraced) {
      return false;  // a trace shows every pass
    }
    return skipRepeatedPasses && pc >= kPrgWindowStart && pc <= 0xFFFC && IsZeroPageRead(mem[pc]);
  }

  // Called each time the loop's branch is taken. Nothing but the CPU runs during a line, so
  // once a whole pass ends with the registers and flags it began with, every further pass
  // runs alike until the budget is spent. Those passes are charged at once, and so is the
  // last, which the line may cut after its read: the line ends in the state that running them
  // all would leave.
  void SkipRepeatedPasses() {
    const uint8_t packed = flags.Pack();
    // Between two calls only the read and the branch ran: any other branch, and this one
    // not taken, clears lastPass.
    if (lastPass.taken && lastPass.a == a && lastPass.x == x && lastPass.y == y &&
        lastPass.p == packed && budget > 0) {
      const int passCycles = lastPass.budget - budget;
      budget -= (budget - 1) / passCycles * passCycles;  // leaves 1 to passCycles
      FinishLastPass(passCycles);
    }
    lastPass = {true, a, x, y, packed, budget};
  }

  // A zero-page read (3 cycles) and the branch: the read leaves the registers and flags as
  // every pass did. The line ends after the read when that spends the budget, with PC on the
  // branch, or else after the branch, back at the read. A pass of any other length (an
  // interrupt came between the two passes measured) runs as code instead.
  void FinishLastPass(int passCycles) {
    constexpr int kReadCycles = 3;
    constexpr int kShortestBranch = 2;
    constexpr int kLongestBranch = 4;
    if (passCycles < kReadCycles + kShortestBranch || passCycles > kReadCycles + kLongestBranch) {
      return;
    }
    budget -= kReadCycles;
    if (budget <= 0) {
      pc = static_cast<uint16_t>(pc + 2);
    } else {
      budget -= passCycles - kReadCycles;
    }
  }

  bool AtIdleLoop() const {
    for (int i = 0; i < 3; ++i) {
      if (mem[static_cast<uint16_t>(pc + i)] != kIdleLoopBytes[i]) {
        return false;
      }
    }
    return true;
  }

  // "here: JMP here" only waits for an interrupt, and interrupts come between lines: every
  // further pass is alike, so the rest of the line is charged at once, ending with the budget
  // that running each pass would leave. Only where fetching has no side effects (PRG, RAM).
  void JmpAbsolute() {
    const uint16_t opcodeAddress = static_cast<uint16_t>(pc - 1);
    pc = FetchWord();
    if constexpr (!kTraced) {
      const bool plainMemory = pc >= kPrgWindowStart || pc < kRamMirrorEnd;
      if (pc == opcodeAddress && skipRepeatedPasses && plainMemory && budget > 0) {
        constexpr int kJmpCycles = 3;
        budget -= (budget + kJmpCycles - 1) / kJmpCycles * kJmpCycles;
      }
    }
  }

  void Jsr() {
    // The pushed return address is that of the operand's high byte; RTS adds the one.
    const uint16_t returnAddress = static_cast<uint16_t>(pc + 1);
    Push(static_cast<uint8_t>(returnAddress >> 8));
    Push(static_cast<uint8_t>(returnAddress));
    const uint8_t high = ReadByte(static_cast<uint16_t>(pc + 1));
    const uint8_t low = ReadByte(pc);
    pc = static_cast<uint16_t>(low | (high << 8));
  }

  void JmpIndirect() {
    // The pointer's high byte comes from the same page: ($10FF) reads $10FF and $1000.
    const uint16_t pointer = FetchWord();
    const uint16_t highAddress = static_cast<uint16_t>((pointer & 0xFF00) | ((pointer + 1) & 0xFF));
    const uint8_t low = ReadByte(pointer);
    pc = static_cast<uint16_t>(low | (ReadByte(highAddress) << 8));
  }

  void Brk() {
    if constexpr (kSecond) {
      // This core ignores BRK while interrupts are disabled.
      if (flags.I()) {
        return;
      }
    }
    if constexpr (kFull) {
      ++pc;  // the console skips the byte after BRK: RTI returns two bytes on
    }
    // The pushed address is that of the byte after the BRK opcode (after its padding byte in
    // the full core).
    Push(static_cast<uint8_t>(pc >> 8));
    Push(static_cast<uint8_t>(pc));
    Push(flags.Pack() | kFlagB);
    flags.EnterBreak();
    pc = ReadVector(kIrqVector);
  }

  void Rts() {
    const uint8_t low = Pull();
    pc = static_cast<uint16_t>((low | (Pull() << 8)) + 1);
  }

  void Rti() {
    flags.Load(Pull());
    const uint8_t low = Pull();
    pc = static_cast<uint16_t>(low | (Pull() << 8));
    TakeCartridgeIrqNow();
  }

  // The cartridge's IRQ line (held up until the game acknowledges it) is looked at where the I
  // flag clears; a line raised while I is clear waits for the frame driver at the next line
  // start. After RTI the IRQ is taken at once, with P pushed with B clear as any IRQ pushes it.
  void TakeCartridgeIrqNow() {
    if (machine.irq.irqLine == 0 || flags.I()) return;
    Push(static_cast<uint8_t>(pc >> 8));
    Push(static_cast<uint8_t>(pc));
    Push(static_cast<uint8_t>(flags.Pack() & ~kFlagB));
    flags.SetI(true);
    pc = ReadVector(kIrqVector);
  }

  // CLI and PLP change I only after the line was sampled, so one more instruction runs first:
  // the budget is cut so that the loop stops after it, and EndDeferredIrq then takes the IRQ
  // and gives the budget back. At the end of a line the next line's start takes it instead.
  void DeferCartridgeIrq() {
    if (machine.irq.irqLine == 0 || flags.I() || budget <= 0) return;
    irqDeferred = true;
    deferredBudget = budget;
    budget = 1;
  }

  // After the instruction that followed CLI or PLP: enters the IRQ and restores the budget less
  // that instruction's cycles. False when no IRQ was waiting.
  bool EndDeferredIrq() {
    if (!irqDeferred) return false;
    irqDeferred = false;
    budget = deferredBudget - (1 - budget);
    TakeCartridgeIrqNow();
    return true;
  }

  bool irqDeferred = false;
  int deferredBudget = 0;

  bool TakeBadOpcode() {
    machine.cpu.PC = pc;
    machine.cpu.S = s;
    if constexpr (!kSecond) {
      // These cores keep P packed, so their changes so far stand.
      machine.cpu.P = flags.Pack();
    }
    ReportBadOpcode(machine, kCore);
    return false;
  }

  void Trace() {
    EmitCpuTraceLine(*traceSink, machine, kCore, CpuTraceRegisters{pc, a, x, y, flags.Pack(), s});
  }

  MachineState& machine;
  uint8_t* mem;
  const CpuTraceSink* traceSink;
  uint16_t pc;
  uint8_t s;
  uint8_t a;
  uint8_t x;
  uint8_t y;
  Flags flags;
  // The registers when the branch of a tight wait loop was last taken (see SkipRepeatedPasses).
  struct LoopPass {
    bool taken;
    uint8_t a;
    uint8_t x;
    uint8_t y;
    uint8_t p;
    int budget;
  } lastPass{};
};

// Inlined into each caller's loop, so the registers of a call live in host registers.
template <CpuCoreKind kCore, bool kTraced>
[[gnu::always_inline]] inline bool Interpreter<kCore, kTraced>::Step() {
  if constexpr (kTraced) {
    Trace();
  }
  const uint8_t opcode = Fetch();
  if constexpr (kFull) {
    return ExecuteConsoleOpcode(opcode);
  } else {
    return ExecuteOpcode(opcode);
  }
}

template <CpuCoreKind kCore, bool kTraced>
[[gnu::always_inline]] inline bool Interpreter<kCore, kTraced>::ExecuteOpcode(uint8_t opcode) {
  using M = AddressMode;
  using I = Interpreter;
  // clang-format off
  switch (opcode) {
    // Loads and stores.
    case 0xA9: budget -= 2; Load(a, Read<M::kImmediate>()); break;
    case 0xA5: budget -= 3; Load(a, Read<M::kZeroPage>()); break;
    case 0xB5: budget -= 4; Load(a, Read<M::kZeroPageX>()); break;
    case 0xAD: budget -= 4; Load(a, Read<M::kAbsolute>()); break;
    case 0xBD: budget -= 4; Load(a, Read<M::kAbsoluteX>()); break;
    case 0xB9: budget -= 4; Load(a, Read<M::kAbsoluteY>()); break;
    case 0xA1: budget -= 6; Load(a, Read<M::kIndirectX>()); break;
    case 0xB1: budget -= 5; Load(a, Read<M::kIndirectY>()); break;
    case 0xB2: budget -= 5; Load(a, Read<M::kIndirectZeroPage>()); break;
    case 0xA2: budget -= 2; Load(x, Read<M::kImmediate>()); break;
    case 0xA6: budget -= 3; Load(x, Read<M::kZeroPage>()); break;
    case 0xB6: budget -= 4; Load(x, Read<M::kZeroPageY>()); break;
    case 0xAE: budget -= 4; Load(x, Read<M::kAbsolute>()); break;
    case 0xBE: budget -= 4; Load(x, Read<M::kAbsoluteY>()); break;
    case 0xA0: budget -= 2; Load(y, Read<M::kImmediate>()); break;
    case 0xA4: budget -= 3; Load(y, Read<M::kZeroPage>()); break;
    case 0xB4: budget -= 4; Load(y, Read<M::kZeroPageX>()); break;
    case 0xAC: budget -= 4; Load(y, Read<M::kAbsolute>()); break;
    case 0xBC: budget -= 4; Load(y, Read<M::kAbsoluteX>()); break;
    case 0x85: budget -= 3; Write<M::kZeroPage>(a); break;
    case 0x95: budget -= 4; Write<M::kZeroPageX>(a); break;
    case 0x8D: budget -= 4; Write<M::kAbsolute>(a); break;
    case 0x9D: budget -= 5; Write<M::kAbsoluteX>(a); break;
    case 0x99: budget -= 5; Write<M::kAbsoluteY>(a); break;
    case 0x81: budget -= 6; Write<M::kIndirectX>(a); break;
    case 0x91: budget -= 6; Write<M::kIndirectY>(a); break;
    case 0x92: budget -= 5; Write<M::kIndirectZeroPage>(a); break;
    case 0x86: budget -= 3; Write<M::kZeroPage>(x); break;
    case 0x96: budget -= 4; Write<M::kZeroPageY>(x); break;
    case 0x8E: budget -= 4; Write<M::kAbsolute>(x); break;
    case 0x84: budget -= 3; Write<M::kZeroPage>(y); break;
    case 0x94: budget -= 4; Write<M::kZeroPageX>(y); break;
    case 0x8C: budget -= 4; Write<M::kAbsolute>(y); break;

    // Transfers. TXS alone leaves the flags alone.
    case 0xAA: budget -= 2; Load(x, a); break;
    case 0xA8: budget -= 2; Load(y, a); break;
    case 0x8A: budget -= 2; Load(a, x); break;
    case 0x98: budget -= 2; Load(a, y); break;
    case 0xBA: budget -= 2; Load(x, s); break;
    case 0x9A: budget -= 2; s = x; break;

    // Logic and arithmetic.
    case 0x09: budget -= 2; Ora(Read<M::kImmediate>()); break;
    case 0x05: budget -= 3; Ora(Read<M::kZeroPage>()); break;
    case 0x15: budget -= 4; Ora(Read<M::kZeroPageX>()); break;
    case 0x0D: budget -= 4; Ora(Read<M::kAbsolute>()); break;
    case 0x1D: budget -= 4; Ora(Read<M::kAbsoluteX>()); break;
    case 0x19: budget -= 4; Ora(Read<M::kAbsoluteY>()); break;
    case 0x01: budget -= 6; Ora(Read<M::kIndirectX>()); break;
    case 0x11: budget -= 5; Ora(Read<M::kIndirectY>()); break;
    case 0x12: budget -= 5; Ora(Read<M::kIndirectZeroPage>()); break;
    case 0x29: budget -= 2; And(Read<M::kImmediate>()); break;
    case 0x25: budget -= 3; And(Read<M::kZeroPage>()); break;
    case 0x35: budget -= 4; And(Read<M::kZeroPageX>()); break;
    case 0x2D: budget -= 4; And(Read<M::kAbsolute>()); break;
    case 0x3D: budget -= 4; And(Read<M::kAbsoluteX>()); break;
    case 0x39: budget -= 4; And(Read<M::kAbsoluteY>()); break;
    case 0x21: budget -= 6; And(Read<M::kIndirectX>()); break;
    case 0x31: budget -= 5; And(Read<M::kIndirectY>()); break;
    case 0x32: budget -= 5; And(Read<M::kIndirectZeroPage>()); break;
    case 0x49: budget -= 2; Eor(Read<M::kImmediate>()); break;
    case 0x45: budget -= 3; Eor(Read<M::kZeroPage>()); break;
    case 0x55: budget -= 4; Eor(Read<M::kZeroPageX>()); break;
    case 0x4D: budget -= 4; Eor(Read<M::kAbsolute>()); break;
    case 0x5D: budget -= 4; Eor(Read<M::kAbsoluteX>()); break;
    case 0x59: budget -= 4; Eor(Read<M::kAbsoluteY>()); break;
    case 0x41: budget -= 6; Eor(Read<M::kIndirectX>()); break;
    case 0x51: budget -= 5; Eor(Read<M::kIndirectY>()); break;
    case 0x52: budget -= 5; Eor(Read<M::kIndirectZeroPage>()); break;
    case 0x69: budget -= 2; Adc(Read<M::kImmediate>()); break;
    case 0x65: budget -= 3; Adc(Read<M::kZeroPage>()); break;
    case 0x75: budget -= 4; Adc(Read<M::kZeroPageX>()); break;
    case 0x6D: budget -= 4; Adc(Read<M::kAbsolute>()); break;
    case 0x7D: budget -= 4; Adc(Read<M::kAbsoluteX>()); break;
    case 0x79: budget -= 4; Adc(Read<M::kAbsoluteY>()); break;
    case 0x61: budget -= 6; Adc(Read<M::kIndirectX>()); break;
    case 0x71: budget -= 5; Adc(Read<M::kIndirectY>()); break;
    case 0xE9: budget -= 2; Sbc(Read<M::kImmediate>()); break;
    case 0xE5: budget -= 3; Sbc(Read<M::kZeroPage>()); break;
    case 0xF5: budget -= 4; Sbc(Read<M::kZeroPageX>()); break;
    case 0xED: budget -= 4; Sbc(Read<M::kAbsolute>()); break;
    case 0xFD: budget -= 4; Sbc(Read<M::kAbsoluteX>()); break;
    case 0xF9: budget -= 4; Sbc(Read<M::kAbsoluteY>()); break;
    case 0xE1: budget -= 6; Sbc(Read<M::kIndirectX>()); break;
    case 0xF1: budget -= 5; Sbc(Read<M::kIndirectY>()); break;

    // Comparisons and bit tests. CMP #imm costs 3 here.
    case 0xC9: budget -= 3; Compare(a, Read<M::kImmediate>()); break;
    case 0xC5: budget -= 3; Compare(a, Read<M::kZeroPage>()); break;
    case 0xD5: budget -= 4; Compare(a, Read<M::kZeroPageX>()); break;
    case 0xCD: budget -= 4; Compare(a, Read<M::kAbsolute>()); break;
    case 0xDD: budget -= 4; Compare(a, Read<M::kAbsoluteX>()); break;
    case 0xD9: budget -= 4; Compare(a, Read<M::kAbsoluteY>()); break;
    case 0xC1: budget -= 6; Compare(a, Read<M::kIndirectX>()); break;
    case 0xD1: budget -= 5; Compare(a, Read<M::kIndirectY>()); break;
    case 0xD2: budget -= 5; Compare(a, Read<M::kIndirectZeroPage>()); break;
    case 0xE0: budget -= 2; Compare(x, Read<M::kImmediate>()); break;
    case 0xE4: budget -= 3; Compare(x, Read<M::kZeroPage>()); break;
    case 0xEC: budget -= 4; Compare(x, Read<M::kAbsolute>()); break;
    case 0xC0: budget -= 2; Compare(y, Read<M::kImmediate>()); break;
    case 0xC4: budget -= 3; Compare(y, Read<M::kZeroPage>()); break;
    case 0xCC: budget -= 4; Compare(y, Read<M::kAbsolute>()); break;
    case 0x24: budget -= 3; Bit(Read<M::kZeroPage>()); break;
    case 0x2C: budget -= 4; Bit(Read<M::kAbsolute>()); break;
    case 0x34: budget -= 4; Bit(Read<M::kIndirectX>()); break;

    // Shifts, rotates, increments and decrements.
    case 0x0A: budget -= 2; a = Asl(a); break;
    case 0x06: budget -= 5; Modify<M::kZeroPage, &I::Asl>(); break;
    case 0x16: budget -= 6; Modify<M::kZeroPageX, &I::Asl>(); break;
    case 0x0E: budget -= 6; Modify<M::kAbsolute, &I::Asl>(); break;
    case 0x1E: budget -= 7; Modify<M::kAbsoluteX, &I::Asl>(); break;
    case 0x4A: budget -= 2; a = Lsr(a); break;
    case 0x46: budget -= 5; Modify<M::kZeroPage, &I::Lsr>(); break;
    case 0x56: budget -= 6; Modify<M::kZeroPageX, &I::Lsr>(); break;
    case 0x4E: budget -= 6; Modify<M::kAbsolute, &I::Lsr>(); break;
    case 0x5E: budget -= 7; Modify<M::kAbsoluteX, &I::Lsr>(); break;
    case 0x2A: budget -= 2; a = Rol(a); break;
    case 0x26: budget -= 5; Modify<M::kZeroPage, &I::Rol>(); break;
    case 0x36: budget -= 6; Modify<M::kZeroPageX, &I::Rol>(); break;
    case 0x2E: budget -= 6; Modify<M::kAbsolute, &I::Rol>(); break;
    case 0x3E: budget -= 7; Modify<M::kAbsoluteX, &I::Rol>(); break;
    case 0x6A: budget -= 2; a = Ror(a); break;
    case 0x66: budget -= 5; Modify<M::kZeroPage, &I::Ror>(); break;
    case 0x76: budget -= 6; Modify<M::kZeroPageX, &I::Ror>(); break;
    case 0x6E: budget -= 6; Modify<M::kAbsolute, &I::Ror>(); break;
    case 0x7E: budget -= 7; Modify<M::kAbsoluteX, &I::Ror>(); break;
    case 0xE6: budget -= 5; Modify<M::kZeroPage, &I::Increment>(); break;
    case 0xF6: budget -= 6; Modify<M::kZeroPageX, &I::Increment>(); break;
    case 0xEE: budget -= 6; Modify<M::kAbsolute, &I::Increment>(); break;
    case 0xFE: budget -= 7; Modify<M::kAbsoluteX, &I::Increment>(); break;
    case 0xC6: budget -= 5; Modify<M::kZeroPage, &I::Decrement>(); break;
    case 0xD6: budget -= 6; Modify<M::kZeroPageX, &I::Decrement>(); break;
    case 0xCE: budget -= 6; Modify<M::kAbsolute, &I::Decrement>(); break;
    case 0xDE: budget -= 7; Modify<M::kAbsoluteX, &I::Decrement>(); break;
    case 0x1A: budget -= 4; a = Increment(a); break;
    case 0xE8: budget -= 2; x = Increment(x); break;
    case 0xC8: budget -= 2; y = Increment(y); break;
    case 0xCA: budget -= 2; x = Decrement(x); break;
    case 0x88: budget -= 2; y = Decrement(y); break;

    // Branches cost 2 whether taken or not.
    case 0x10:
      if (ConditionalBranch(!flags.N()) == kIdleLoopOffset && AtIdleLoop()) {
        budget = -1;  // give up the rest of the line while the game polls for vblank
      }
      break;
    case 0x30: ConditionalBranch(flags.N()); break;
    case 0x50: ConditionalBranch(!flags.V()); break;
    case 0x70: ConditionalBranch(flags.V()); break;
    case 0x90: ConditionalBranch(!flags.C()); break;
    case 0xB0: ConditionalBranch(flags.C()); break;
    case 0xD0: ConditionalBranch(!flags.Z()); break;
    case 0xF0: ConditionalBranch(flags.Z()); break;

    // Jumps, calls and interrupts.
    case 0x4C: budget -= 3; JmpAbsolute(); break;
    case 0x6C: budget -= 5; JmpIndirect(); break;
    case 0x20: budget -= 6; Jsr(); break;
    case 0x60: budget -= 6; Rts(); break;
    case 0x40: budget -= 6; Rti(); break;
    case 0x00: budget -= 7; Brk(); break;

    // Stack.
    case 0x48: budget -= 3; Push(a); break;
    case 0x08: budget -= 3; Push(flags.Pack()); break;
    case 0x68: budget -= 4; Load(a, Pull()); break;
    case 0x28: budget -= 4; flags.Load(Pull()); DeferCartridgeIrq(); break;
    case 0xDA: budget -= 3; Push(x); break;

    // Flag instructions.
    case 0x18: budget -= 2; flags.SetC(false); break;
    case 0x38: budget -= 2; flags.SetC(true); break;
    case 0x58: budget -= 2; flags.SetI(false); DeferCartridgeIrq(); break;
    case 0x78: budget -= 2; flags.SetI(true); break;
    case 0xB8: budget -= 2; flags.ClearV(); break;
    case 0xD8: budget -= 2; flags.SetD(false); break;
    case 0xF8: budget -= 2; flags.SetD(true); break;

    // No-operations; the one-byte extras are free.
    case 0xEA: budget -= 2; break;
    case 0x03:
    case 0x04:
    case 0xF4:
      break;

    // Extras of the reference core only.
    case 0x5A:
      if constexpr (!kReference) return TakeBadOpcode();
      budget -= 3;
      Push(y);
      break;
    case 0x80:
      if constexpr (!kReference) return TakeBadOpcode();
      budget -= 3;
      Branch(true);
      break;
    case 0xD4:
      if constexpr (!kReference) return TakeBadOpcode();
      ++pc;  // skips one byte, free of charge
      break;
    case 0x02:
    case 0x14:
    case 0x89:
    case 0x8F:
    case 0x9B:
    case 0x9C:
    case 0xAB:
      if constexpr (!kReference) return TakeBadOpcode();
      break;

    // Extras of the second core only.
    case 0xFA:
      if constexpr (kReference) return TakeBadOpcode();
      budget -= 4;
      Load(x, Pull());
      break;

    default:
      return TakeBadOpcode();
  }
  // clang-format on
  return true;
}

}  // namespace wrenfold
