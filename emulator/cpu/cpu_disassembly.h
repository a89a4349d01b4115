// Mnemonics and operand layouts of the opcodes each core accepts, for the instruction trace.
#pragma once

#include <cstddef>
#include <cstdint>

#include "emulator/cpu/cpu_core.h"

namespace wrenfold {

enum class OperandMode : uint8_t {
  kImplied,
  kAccumulator,
  kImmediate,
  kZeroPage,
  kZeroPageX,
  kZeroPageY,
  kAbsolute,
  kAbsoluteX,
  kAbsoluteY,
  kIndirect,          // JMP ($nnnn)
  kIndirectX,         // ($nn,X)
  kIndirectY,         // ($nn),Y
  kIndirectZeroPage,  // ($nn)
  kRelative,
};

struct OpcodeInfo {
  const char* mnemonic;  // nullptr: the core halts on this opcode
  OperandMode mode;
  bool documented;  // false for the core's extra opcodes
};

OpcodeInfo DescribeOpcode(CpuCoreKind core, uint8_t opcode);

// Bytes of the instruction including the opcode: 1 to 3.
std::size_t InstructionLength(OperandMode mode);

// Writes the operand text ("#$00", "($44),Y", "$C72A" for a branch at `pc`) into `out`, which
// holds at least 16 characters, and returns its length.
std::size_t FormatOperand(OperandMode mode, uint16_t pc, uint8_t low, uint8_t high, char* out);

}  // namespace wrenfold
