// The full core's instruction set: all 256 opcodes as the console's 2A03 decodes them, with
// its cycle counts. A read through abs,X, abs,Y or ($nn),Y that crosses a page costs one cycle
// more, a taken branch one more (two across a page); stores and read-modify-writes cost the
// same either way. The twelve opcodes that jam the console take the bad-opcode path.
//
// Included by the translation units that run the full core; the other cores never see it.
#pragma once

#include "emulator/cpu/cpu_interpreter.h"

namespace wrenfold {

template <CpuCoreKind kCore, bool kTraced>
[[gnu::always_inline]] inline bool Interpreter<kCore, kTraced>::ExecuteConsoleOpcode(
    uint8_t opcode) {
  static_assert(kFull);
  using M = AddressMode;
  using I = Interpreter;
  // clang-format off
  switch (opcode) {
    // Loads and stores.
    case 0xA9: budget -= 2; Load(a, Read<M::kImmediate>()); break;
    case 0xA5: budget -= 3; Load(a, Read<M::kZeroPage>()); break;
    case 0xB5: budget -= 4; Load(a, Read<M::kZeroPageX>()); break;
    case 0xAD: budget -= 4; Load(a, Read<M::kAbsolute>()); break;
    case 0xBD: budget -= 4; Load(a, ReadWithPageCross<M::kAbsoluteX>()); break;
    case 0xB9: budget -= 4; Load(a, ReadWithPageCross<M::kAbsoluteY>()); break;
    case 0xA1: budget -= 6; Load(a, Read<M::kIndirectX>()); break;
    case 0xB1: budget -= 5; Load(a, ReadWithPageCross<M::kIndirectY>()); break;
    case 0xA2: budget -= 2; Load(x, Read<M::kImmediate>()); break;
    case 0xA6: budget -= 3; Load(x, Read<M::kZeroPage>()); break;
    case 0xB6: budget -= 4; Load(x, Read<M::kZeroPageY>()); break;
    case 0xAE: budget -= 4; Load(x, Read<M::kAbsolute>()); break;
    case 0xBE: budget -= 4; Load(x, ReadWithPageCross<M::kAbsoluteY>()); break;
    case 0xA0: budget -= 2; Load(y, Read<M::kImmediate>()); break;
    case 0xA4: budget -= 3; Load(y, Read<M::kZeroPage>()); break;
    case 0xB4: budget -= 4; Load(y, Read<M::kZeroPageX>()); break;
    case 0xAC: budget -= 4; Load(y, Read<M::kAbsolute>()); break;
    case 0xBC: budget -= 4; Load(y, ReadWithPageCross<M::kAbsoluteX>()); break;
    case 0x85: budget -= 3; Write<M::kZeroPage>(a); break;
    case 0x95: budget -= 4; Write<M::kZeroPageX>(a); break;
    case 0x8D: budget -= 4; Write<M::kAbsolute>(a); break;
    case 0x9D: budget -= 5; Write<M::kAbsoluteX>(a); break;
    case 0x99: budget -= 5; Write<M::kAbsoluteY>(a); break;
    case 0x81: budget -= 6; Write<M::kIndirectX>(a); break;
    case 0x91: budget -= 6; Write<M::kIndirectY>(a); break;
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

    // Logic and arithmetic; $EB is a second SBC #imm.
    case 0x09: budget -= 2; Ora(Read<M::kImmediate>()); break;
    case 0x05: budget -= 3; Ora(Read<M::kZeroPage>()); break;
    case 0x15: budget -= 4; Ora(Read<M::kZeroPageX>()); break;
    case 0x0D: budget -= 4; Ora(Read<M::kAbsolute>()); break;
    case 0x1D: budget -= 4; Ora(ReadWithPageCross<M::kAbsoluteX>()); break;
    case 0x19: budget -= 4; Ora(ReadWithPageCross<M::kAbsoluteY>()); break;
    case 0x01: budget -= 6; Ora(Read<M::kIndirectX>()); break;
    case 0x11: budget -= 5; Ora(ReadWithPageCross<M::kIndirectY>()); break;
    case 0x29: budget -= 2; And(Read<M::kImmediate>()); break;
    case 0x25: budget -= 3; And(Read<M::kZeroPage>()); break;
    case 0x35: budget -= 4; And(Read<M::kZeroPageX>()); break;
    case 0x2D: budget -= 4; And(Read<M::kAbsolute>()); break;
    case 0x3D: budget -= 4; And(ReadWithPageCross<M::kAbsoluteX>()); break;
    case 0x39: budget -= 4; And(ReadWithPageCross<M::kAbsoluteY>()); break;
    case 0x21: budget -= 6; And(Read<M::kIndirectX>()); break;
    case 0x31: budget -= 5; And(ReadWithPageCross<M::kIndirectY>()); break;
    case 0x49: budget -= 2; Eor(Read<M::kImmediate>()); break;
    case 0x45: budget -= 3; Eor(Read<M::kZeroPage>()); break;
    case 0x55: budget -= 4; Eor(Read<M::kZeroPageX>()); break;
    case 0x4D: budget -= 4; Eor(Read<M::kAbsolute>()); break;
    case 0x5D: budget -= 4; Eor(ReadWithPageCross<M::kAbsoluteX>()); break;
    case 0x59: budget -= 4; Eor(ReadWithPageCross<M::kAbsoluteY>()); break;
    case 0x41: budget -= 6; Eor(Read<M::kIndirectX>()); break;
    case 0x51: budget -= 5; Eor(ReadWithPageCross<M::kIndirectY>()); break;
    case 0x69: budget -= 2; Adc(Read<M::kImmediate>()); break;
    case 0x65: budget -= 3; Adc(Read<M::kZeroPage>()); break;
    case 0x75: budget -= 4; Adc(Read<M::kZeroPageX>()); break;
    case 0x6D: budget -= 4; Adc(Read<M::kAbsolute>()); break;
    case 0x7D: budget -= 4; Adc(ReadWithPageCross<M::kAbsoluteX>()); break;
    case 0x79: budget -= 4; Adc(ReadWithPageCross<M::kAbsoluteY>()); break;
    case 0x61: budget -= 6; Adc(Read<M::kIndirectX>()); break;
    case 0x71: budget -= 5; Adc(ReadWithPageCross<M::kIndirectY>()); break;
    case 0xE9:
    case 0xEB: budget -= 2; Sbc(Read<M::kImmediate>()); break;
    case 0xE5: budget -= 3; Sbc(Read<M::kZeroPage>()); break;
    case 0xF5: budget -= 4; Sbc(Read<M::kZeroPageX>()); break;
    case 0xED: budget -= 4; Sbc(Read<M::kAbsolute>()); break;
    case 0xFD: budget -= 4; Sbc(ReadWithPageCross<M::kAbsoluteX>()); break;
    case 0xF9: budget -= 4; Sbc(ReadWithPageCross<M::kAbsoluteY>()); break;
    case 0xE1: budget -= 6; Sbc(Read<M::kIndirectX>()); break;
    case 0xF1: budget -= 5; Sbc(ReadWithPageCross<M::kIndirectY>()); break;

    // Comparisons and bit tests.
    case 0xC9: budget -= 2; Compare(a, Read<M::kImmediate>()); break;
    case 0xC5: budget -= 3; Compare(a, Read<M::kZeroPage>()); break;
    case 0xD5: budget -= 4; Compare(a, Read<M::kZeroPageX>()); break;
    case 0xCD: budget -= 4; Compare(a, Read<M::kAbsolute>()); break;
    case 0xDD: budget -= 4; Compare(a, ReadWithPageCross<M::kAbsoluteX>()); break;
    case 0xD9: budget -= 4; Compare(a, ReadWithPageCross<M::kAbsoluteY>()); break;
    case 0xC1: budget -= 6; Compare(a, Read<M::kIndirectX>()); break;
    case 0xD1: budget -= 5; Compare(a, ReadWithPageCross<M::kIndirectY>()); break;
    case 0xE0: budget -= 2; Compare(x, Read<M::kImmediate>()); break;
    case 0xE4: budget -= 3; Compare(x, Read<M::kZeroPage>()); break;
    case 0xEC: budget -= 4; Compare(x, Read<M::kAbsolute>()); break;
    case 0xC0: budget -= 2; Compare(y, Read<M::kImmediate>()); break;
    case 0xC4: budget -= 3; Compare(y, Read<M::kZeroPage>()); break;
    case 0xCC: budget -= 4; Compare(y, Read<M::kAbsolute>()); break;
    case 0x24: budget -= 3; Bit(Read<M::kZeroPage>()); break;
    case 0x2C: budget -= 4; Bit(Read<M::kAbsolute>()); break;

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
    case 0xE8: budget -= 2; x = Increment(x); break;
    case 0xC8: budget -= 2; y = Increment(y); break;
    case 0xCA: budget -= 2; x = Decrement(x); break;
    case 0x88: budget -= 2; y = Decrement(y); break;

    // Branches: 2 cycles, 3 when taken, 4 when taken into another page.
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

    // Stack. PHP pushes B and bit 5 set, as BRK does.
    case 0x48: budget -= 3; Push(a); break;
    case 0x08: budget -= 3; Push(flags.Pack() | kFlagB); break;
    case 0x68: budget -= 4; Load(a, Pull()); break;
    case 0x28: budget -= 4; flags.Load(Pull()); break;

    // Flag instructions. D is kept, but the console has no decimal arithmetic.
    case 0x18: budget -= 2; flags.SetC(false); break;
    case 0x38: budget -= 2; flags.SetC(true); break;
    case 0x58: budget -= 2; flags.SetI(false); break;
    case 0x78: budget -= 2; flags.SetI(true); break;
    case 0xB8: budget -= 2; flags.ClearV(); break;
    case 0xD8: budget -= 2; flags.SetD(false); break;
    case 0xF8: budget -= 2; flags.SetD(true); break;

    // No-operations of one, two and three bytes. Their reads still reach the bus.
    case 0xEA: case 0x1A: case 0x3A: case 0x5A: case 0x7A: case 0xDA: case 0xFA:
      budget -= 2;
      break;
    case 0x80: case 0x82: case 0x89: case 0xC2: case 0xE2:
      budget -= 2; static_cast<void>(Read<M::kImmediate>()); break;
    case 0x04: case 0x44: case 0x64:
      budget -= 3; static_cast<void>(Read<M::kZeroPage>()); break;
    case 0x14: case 0x34: case 0x54: case 0x74: case 0xD4: case 0xF4:
      budget -= 4; static_cast<void>(Read<M::kZeroPageX>()); break;
    case 0x0C: budget -= 4; static_cast<void>(Read<M::kAbsolute>()); break;
    case 0x1C: case 0x3C: case 0x5C: case 0x7C: case 0xDC: case 0xFC:
      budget -= 4; static_cast<void>(ReadWithPageCross<M::kAbsoluteX>()); break;

    // SLO: ASL memory, then ORA.
    case 0x07: budget -= 5; Modify<M::kZeroPage, &I::Slo>(); break;
    case 0x17: budget -= 6; Modify<M::kZeroPageX, &I::Slo>(); break;
    case 0x0F: budget -= 6; Modify<M::kAbsolute, &I::Slo>(); break;
    case 0x1F: budget -= 7; Modify<M::kAbsoluteX, &I::Slo>(); break;
    case 0x1B: budget -= 7; Modify<M::kAbsoluteY, &I::Slo>(); break;
    case 0x03: budget -= 8; Modify<M::kIndirectX, &I::Slo>(); break;
    case 0x13: budget -= 8; Modify<M::kIndirectY, &I::Slo>(); break;
    // RLA: ROL memory, then AND.
    case 0x27: budget -= 5; Modify<M::kZeroPage, &I::Rla>(); break;
    case 0x37: budget -= 6; Modify<M::kZeroPageX, &I::Rla>(); break;
    case 0x2F: budget -= 6; Modify<M::kAbsolute, &I::Rla>(); break;
    case 0x3F: budget -= 7; Modify<M::kAbsoluteX, &I::Rla>(); break;
    case 0x3B: budget -= 7; Modify<M::kAbsoluteY, &I::Rla>(); break;
    case 0x23: budget -= 8; Modify<M::kIndirectX, &I::Rla>(); break;
    case 0x33: budget -= 8; Modify<M::kIndirectY, &I::Rla>(); break;
    // SRE: LSR memory, then EOR.
    case 0x47: budget -= 5; Modify<M::kZeroPage, &I::Sre>(); break;
    case 0x57: budget -= 6; Modify<M::kZeroPageX, &I::Sre>(); break;
    case 0x4F: budget -= 6; Modify<M::kAbsolute, &I::Sre>(); break;
    case 0x5F: budget -= 7; Modify<M::kAbsoluteX, &I::Sre>(); break;
    case 0x5B: budget -= 7; Modify<M::kAbsoluteY, &I::Sre>(); break;
    case 0x43: budget -= 8; Modify<M::kIndirectX, &I::Sre>(); break;
    case 0x53: budget -= 8; Modify<M::kIndirectY, &I::Sre>(); break;
    // RRA: ROR memory, then ADC.
    case 0x67: budget -= 5; Modify<M::kZeroPage, &I::Rra>(); break;
    case 0x77: budget -= 6; Modify<M::kZeroPageX, &I::Rra>(); break;
    case 0x6F: budget -= 6; Modify<M::kAbsolute, &I::Rra>(); break;
    case 0x7F: budget -= 7; Modify<M::kAbsoluteX, &I::Rra>(); break;
    case 0x7B: budget -= 7; Modify<M::kAbsoluteY, &I::Rra>(); break;
    case 0x63: budget -= 8; Modify<M::kIndirectX, &I::Rra>(); break;
    case 0x73: budget -= 8; Modify<M::kIndirectY, &I::Rra>(); break;
    // DCP: DEC memory, then CMP.
    case 0xC7: budget -= 5; Modify<M::kZeroPage, &I::Dcp>(); break;
    case 0xD7: budget -= 6; Modify<M::kZeroPageX, &I::Dcp>(); break;
    case 0xCF: budget -= 6; Modify<M::kAbsolute, &I::Dcp>(); break;
    case 0xDF: budget -= 7; Modify<M::kAbsoluteX, &I::Dcp>(); break;
    case 0xDB: budget -= 7; Modify<M::kAbsoluteY, &I::Dcp>(); break;
    case 0xC3: budget -= 8; Modify<M::kIndirectX, &I::Dcp>(); break;
    case 0xD3: budget -= 8; Modify<M::kIndirectY, &I::Dcp>(); break;
    // ISC: INC memory, then SBC.
    case 0xE7: budget -= 5; Modify<M::kZeroPage, &I::Isc>(); break;
    case 0xF7: budget -= 6; Modify<M::kZeroPageX, &I::Isc>(); break;
    case 0xEF: budget -= 6; Modify<M::kAbsolute, &I::Isc>(); break;
    case 0xFF: budget -= 7; Modify<M::kAbsoluteX, &I::Isc>(); break;
    case 0xFB: budget -= 7; Modify<M::kAbsoluteY, &I::Isc>(); break;
    case 0xE3: budget -= 8; Modify<M::kIndirectX, &I::Isc>(); break;
    case 0xF3: budget -= 8; Modify<M::kIndirectY, &I::Isc>(); break;

    // LAX: LDA and LDX at once. SAX: store A AND X.
    case 0xA7: budget -= 3; Lax(Read<M::kZeroPage>()); break;
    case 0xB7: budget -= 4; Lax(Read<M::kZeroPageY>()); break;
    case 0xAF: budget -= 4; Lax(Read<M::kAbsolute>()); break;
    case 0xBF: budget -= 4; Lax(ReadWithPageCross<M::kAbsoluteY>()); break;
    case 0xA3: budget -= 6; Lax(Read<M::kIndirectX>()); break;
    case 0xB3: budget -= 5; Lax(ReadWithPageCross<M::kIndirectY>()); break;
    case 0x87: budget -= 3; Write<M::kZeroPage>(a & x); break;
    case 0x97: budget -= 4; Write<M::kZeroPageY>(a & x); break;
    case 0x8F: budget -= 4; Write<M::kAbsolute>(a & x); break;
    case 0x83: budget -= 6; Write<M::kIndirectX>(a & x); break;

    // Immediate combinations.
    case 0x0B:
    case 0x2B: budget -= 2; Anc(Read<M::kImmediate>()); break;
    case 0x4B: budget -= 2; Alr(Read<M::kImmediate>()); break;
    case 0x6B: budget -= 2; Arr(Read<M::kImmediate>()); break;
    case 0xCB: budget -= 2; Axs(Read<M::kImmediate>()); break;
    case 0x8B: budget -= 2; Ane(Read<M::kImmediate>()); break;
    case 0xAB: budget -= 2; Lxa(Read<M::kImmediate>()); break;

    // The stores that AND with the address's high byte + 1, and LAS.
    case 0x93: budget -= 6; StoreAndHigh<M::kIndirectY>(a & x); break;                // SHA
    case 0x9F: budget -= 5; StoreAndHigh<M::kAbsoluteY>(a & x); break;                // SHA
    case 0x9E: budget -= 5; StoreAndHigh<M::kAbsoluteY>(x); break;                    // SHX
    case 0x9C: budget -= 5; StoreAndHigh<M::kAbsoluteX>(y); break;                    // SHY
    case 0x9B: budget -= 5; s = a & x; StoreAndHigh<M::kAbsoluteY>(s); break;         // TAS
    case 0xBB: budget -= 4; Las(ReadWithPageCross<M::kAbsoluteY>()); break;

    // $02, $12, ... $F2 jam the console: it stops until reset.
    default:
      return TakeBadOpcode();
  }
  // clang-format on
  return true;
}

}  // namespace wrenfold
