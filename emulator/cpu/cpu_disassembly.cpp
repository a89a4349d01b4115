#include "emulator/cpu/cpu_disassembly.h"

#include <array>
#include <cstdio>

namespace wrenfold {
namespace {

using Mode = OperandMode;

struct OpcodeEntry {
  uint8_t opcode;
  const char* mnemonic;
  Mode mode;
};

// clang-format off
constexpr OpcodeEntry kDocumentedOpcodes[] = {
    {0x69, "ADC", Mode::kImmediate}, {0x65, "ADC", Mode::kZeroPage},
    {0x75, "ADC", Mode::kZeroPageX}, {0x6D, "ADC", Mode::kAbsolute},
    {0x7D, "ADC", Mode::kAbsoluteX}, {0x79, "ADC", Mode::kAbsoluteY},
    {0x61, "ADC", Mode::kIndirectX}, {0x71, "ADC", Mode::kIndirectY},
    {0x29, "AND", Mode::kImmediate}, {0x25, "AND", Mode::kZeroPage},
    {0x35, "AND", Mode::kZeroPageX}, {0x2D, "AND", Mode::kAbsolute},
    {0x3D, "AND", Mode::kAbsoluteX}, {0x39, "AND", Mode::kAbsoluteY},
    {0x21, "AND", Mode::kIndirectX}, {0x31, "AND", Mode::kIndirectY},
    {0x0A, "ASL", Mode::kAccumulator}, {0x06, "ASL", Mode::kZeroPage},
    {0x16, "ASL", Mode::kZeroPageX}, {0x0E, "ASL", Mode::kAbsolute},
    {0x1E, "ASL", Mode::kAbsoluteX},
    {0x24, "BIT", Mode::kZeroPage}, {0x2C, "BIT", Mode::kAbsolute},
    {0x10, "BPL", Mode::kRelative}, {0x30, "BMI", Mode::kRelative},
    {0x50, "BVC", Mode::kRelative}, {0x70, "BVS", Mode::kRelative},
    {0x90, "BCC", Mode::kRelative}, {0xB0, "BCS", Mode::kRelative},
    {0xD0, "BNE", Mode::kRelative}, {0xF0, "BEQ", Mode::kRelative},
    {0x00, "BRK", Mode::kImplied},
    {0x18, "CLC", Mode::kImplied}, {0x38, "SEC", Mode::kImplied},
    {0x58, "CLI", Mode::kImplied}, {0x78, "SEI", Mode::kImplied},
    {0xB8, "CLV", Mode::kImplied}, {0xD8, "CLD", Mode::kImplied},
    {0xF8, "SED", Mode::kImplied},
    {0xC9, "CMP", Mode::kImmediate}, {0xC5, "CMP", Mode::kZeroPage},
    {0xD5, "CMP", Mode::kZeroPageX}, {0xCD, "CMP", Mode::kAbsolute},
    {0xDD, "CMP", Mode::kAbsoluteX}, {0xD9, "CMP", Mode::kAbsoluteY},
    {0xC1, "CMP", Mode::kIndirectX}, {0xD1, "CMP", Mode::kIndirectY},
    {0xE0, "CPX", Mode::kImmediate}, {0xE4, "CPX", Mode::kZeroPage},
    {0xEC, "CPX", Mode::kAbsolute},
    {0xC0, "CPY", Mode::kImmediate}, {0xC4, "CPY", Mode::kZeroPage},
    {0xCC, "CPY", Mode::kAbsolute},
    {0xC6, "DEC", Mode::kZeroPage}, {0xD6, "DEC", Mode::kZeroPageX},
    {0xCE, "DEC", Mode::kAbsolute}, {0xDE, "DEC", Mode::kAbsoluteX},
    {0xCA, "DEX", Mode::kImplied}, {0x88, "DEY", Mode::kImplied},
    {0x49, "EOR", Mode::kImmediate}, {0x45, "EOR", Mode::kZeroPage},
    {0x55, "EOR", Mode::kZeroPageX}, {0x4D, "EOR", Mode::kAbsolute},
    {0x5D, "EOR", Mode::kAbsoluteX}, {0x59, "EOR", Mode::kAbsoluteY},
    {0x41, "EOR", Mode::kIndirectX}, {0x51, "EOR", Mode::kIndirectY},
    {0xE6, "INC", Mode::kZeroPage}, {0xF6, "INC", Mode::kZeroPageX},
    {0xEE, "INC", Mode::kAbsolute}, {0xFE, "INC", Mode::kAbsoluteX},
    {0xE8, "INX", Mode::kImplied}, {0xC8, "INY", Mode::kImplied},
    {0x4C, "JMP", Mode::kAbsolute}, {0x6C, "JMP", Mode::kIndirect},
    {0x20, "JSR", Mode::kAbsolute},
    {0xA9, "LDA", Mode::kImmediate}, {0xA5, "LDA", Mode::kZeroPage},
    {0xB5, "LDA", Mode::kZeroPageX}, {0xAD, "LDA", Mode::kAbsolute},
    {0xBD, "LDA", Mode::kAbsoluteX}, {0xB9, "LDA", Mode::kAbsoluteY},
    {0xA1, "LDA", Mode::kIndirectX}, {0xB1, "LDA", Mode::kIndirectY},
    {0xA2, "LDX", Mode::kImmediate}, {0xA6, "LDX", Mode::kZeroPage},
    {0xB6, "LDX", Mode::kZeroPageY}, {0xAE, "LDX", Mode::kAbsolute},
    {0xBE, "LDX", Mode::kAbsoluteY},
    {0xA0, "LDY", Mode::kImmediate}, {0xA4, "LDY", Mode::kZeroPage},
    {0xB4, "LDY", Mode::kZeroPageX}, {0xAC, "LDY", Mode::kAbsolute},
    {0xBC, "LDY", Mode::kAbsoluteX},
    {0x4A, "LSR", Mode::kAccumulator}, {0x46, "LSR", Mode::kZeroPage},
    {0x56, "LSR", Mode::kZeroPageX}, {0x4E, "LSR", Mode::kAbsolute},
    {0x5E, "LSR", Mode::kAbsoluteX},
    {0xEA, "NOP", Mode::kImplied},
    {0x09, "ORA", Mode::kImmediate}, {0x05, "ORA", Mode::kZeroPage},
    {0x15, "ORA", Mode::kZeroPageX}, {0x0D, "ORA", Mode::kAbsolute},
    {0x1D, "ORA", Mode::kAbsoluteX}, {0x19, "ORA", Mode::kAbsoluteY},
    {0x01, "ORA", Mode::kIndirectX}, {0x11, "ORA", Mode::kIndirectY},
    {0x48, "PHA", Mode::kImplied}, {0x08, "PHP", Mode::kImplied},
    {0x68, "PLA", Mode::kImplied}, {0x28, "PLP", Mode::kImplied},
    {0x2A, "ROL", Mode::kAccumulator}, {0x26, "ROL", Mode::kZeroPage},
    {0x36, "ROL", Mode::kZeroPageX}, {0x2E, "ROL", Mode::kAbsolute},
    {0x3E, "ROL", Mode::kAbsoluteX},
    {0x6A, "ROR", Mode::kAccumulator}, {0x66, "ROR", Mode::kZeroPage},
    {0x76, "ROR", Mode::kZeroPageX}, {0x6E, "ROR", Mode::kAbsolute},
    {0x7E, "ROR", Mode::kAbsoluteX},
    {0x40, "RTI", Mode::kImplied}, {0x60, "RTS", Mode::kImplied},
    {0xE9, "SBC", Mode::kImmediate}, {0xE5, "SBC", Mode::kZeroPage},
    {0xF5, "SBC", Mode::kZeroPageX}, {0xED, "SBC", Mode::kAbsolute},
    {0xFD, "SBC", Mode::kAbsoluteX}, {0xF9, "SBC", Mode::kAbsoluteY},
    {0xE1, "SBC", Mode::kIndirectX}, {0xF1, "SBC", Mode::kIndirectY},
    {0x85, "STA", Mode::kZeroPage}, {0x95, "STA", Mode::kZeroPageX},
    {0x8D, "STA", Mode::kAbsolute}, {0x9D, "STA", Mode::kAbsoluteX},
    {0x99, "STA", Mode::kAbsoluteY}, {0x81, "STA", Mode::kIndirectX},
    {0x91, "STA", Mode::kIndirectY},
    {0x86, "STX", Mode::kZeroPage}, {0x96, "STX", Mode::kZeroPageY},
    {0x8E, "STX", Mode::kAbsolute},
    {0x84, "STY", Mode::kZeroPage}, {0x94, "STY", Mode::kZeroPageX},
    {0x8C, "STY", Mode::kAbsolute},
    {0xAA, "TAX", Mode::kImplied}, {0xA8, "TAY", Mode::kImplied},
    {0x8A, "TXA", Mode::kImplied}, {0x98, "TYA", Mode::kImplied},
    {0xBA, "TSX", Mode::kImplied}, {0x9A, "TXS", Mode::kImplied},
};

// Extra opcodes both cores accept.
constexpr OpcodeEntry kSharedExtraOpcodes[] = {
    {0x12, "ORA", Mode::kIndirectZeroPage}, {0x32, "AND", Mode::kIndirectZeroPage},
    {0x52, "EOR", Mode::kIndirectZeroPage}, {0xB2, "LDA", Mode::kIndirectZeroPage},
    {0xD2, "CMP", Mode::kIndirectZeroPage}, {0x92, "STA", Mode::kIndirectZeroPage},
    {0x1A, "INC", Mode::kAccumulator},      {0x34, "BIT", Mode::kIndirectX},
    {0xDA, "PHX", Mode::kImplied},          {0x03, "NOP", Mode::kImplied},
    {0x04, "NOP", Mode::kImplied},          {0xF4, "NOP", Mode::kImplied},
};

constexpr OpcodeEntry kReferenceOnlyOpcodes[] = {
    {0x5A, "PHY", Mode::kImplied}, {0x80, "BRA", Mode::kRelative},
    // D4 skips the byte after it; shown as its operand.
    {0xD4, "NOP", Mode::kZeroPage},
    {0x02, "NOP", Mode::kImplied}, {0x14, "NOP", Mode::kImplied},
    {0x89, "NOP", Mode::kImplied}, {0x8F, "NOP", Mode::kImplied},
    {0x9B, "NOP", Mode::kImplied}, {0x9C, "NOP", Mode::kImplied},
    {0xAB, "NOP", Mode::kImplied},
};

constexpr OpcodeEntry kSecondOnlyOpcodes[] = {
    {0xFA, "PLX", Mode::kImplied},
};

// The console's undocumented opcodes, as the full core runs them; the names the nestest log
// uses where it has them (ISB, SAX).
constexpr OpcodeEntry kConsoleExtraOpcodes[] = {
    {0x1A, "NOP", Mode::kImplied}, {0x3A, "NOP", Mode::kImplied},
    {0x5A, "NOP", Mode::kImplied}, {0x7A, "NOP", Mode::kImplied},
    {0xDA, "NOP", Mode::kImplied}, {0xFA, "NOP", Mode::kImplied},
    {0x80, "NOP", Mode::kImmediate}, {0x82, "NOP", Mode::kImmediate},
    {0x89, "NOP", Mode::kImmediate}, {0xC2, "NOP", Mode::kImmediate},
    {0xE2, "NOP", Mode::kImmediate},
    {0x04, "NOP", Mode::kZeroPage}, {0x44, "NOP", Mode::kZeroPage},
    {0x64, "NOP", Mode::kZeroPage},
    {0x14, "NOP", Mode::kZeroPageX}, {0x34, "NOP", Mode::kZeroPageX},
    {0x54, "NOP", Mode::kZeroPageX}, {0x74, "NOP", Mode::kZeroPageX},
    {0xD4, "NOP", Mode::kZeroPageX}, {0xF4, "NOP", Mode::kZeroPageX},
    {0x0C, "NOP", Mode::kAbsolute},
    {0x1C, "NOP", Mode::kAbsoluteX}, {0x3C, "NOP", Mode::kAbsoluteX},
    {0x5C, "NOP", Mode::kAbsoluteX}, {0x7C, "NOP", Mode::kAbsoluteX},
    {0xDC, "NOP", Mode::kAbsoluteX}, {0xFC, "NOP", Mode::kAbsoluteX},
    {0x07, "SLO", Mode::kZeroPage}, {0x17, "SLO", Mode::kZeroPageX},
    {0x0F, "SLO", Mode::kAbsolute}, {0x1F, "SLO", Mode::kAbsoluteX},
    {0x1B, "SLO", Mode::kAbsoluteY}, {0x03, "SLO", Mode::kIndirectX},
    {0x13, "SLO", Mode::kIndirectY},
    {0x27, "RLA", Mode::kZeroPage}, {0x37, "RLA", Mode::kZeroPageX},
    {0x2F, "RLA", Mode::kAbsolute}, {0x3F, "RLA", Mode::kAbsoluteX},
    {0x3B, "RLA", Mode::kAbsoluteY}, {0x23, "RLA", Mode::kIndirectX},
    {0x33, "RLA", Mode::kIndirectY},
    {0x47, "SRE", Mode::kZeroPage}, {0x57, "SRE", Mode::kZeroPageX},
    {0x4F, "SRE", Mode::kAbsolute}, {0x5F, "SRE", Mode::kAbsoluteX},
    {0x5B, "SRE", Mode::kAbsoluteY}, {0x43, "SRE", Mode::kIndirectX},
    {0x53, "SRE", Mode::kIndirectY},
    {0x67, "RRA", Mode::kZeroPage}, {0x77, "RRA", Mode::kZeroPageX},
    {0x6F, "RRA", Mode::kAbsolute}, {0x7F, "RRA", Mode::kAbsoluteX},
    {0x7B, "RRA", Mode::kAbsoluteY}, {0x63, "RRA", Mode::kIndirectX},
    {0x73, "RRA", Mode::kIndirectY},
    {0xC7, "DCP", Mode::kZeroPage}, {0xD7, "DCP", Mode::kZeroPageX},
    {0xCF, "DCP", Mode::kAbsolute}, {0xDF, "DCP", Mode::kAbsoluteX},
    {0xDB, "DCP", Mode::kAbsoluteY}, {0xC3, "DCP", Mode::kIndirectX},
    {0xD3, "DCP", Mode::kIndirectY},
    {0xE7, "ISB", Mode::kZeroPage}, {0xF7, "ISB", Mode::kZeroPageX},
    {0xEF, "ISB", Mode::kAbsolute}, {0xFF, "ISB", Mode::kAbsoluteX},
    {0xFB, "ISB", Mode::kAbsoluteY}, {0xE3, "ISB", Mode::kIndirectX},
    {0xF3, "ISB", Mode::kIndirectY},
    {0xA7, "LAX", Mode::kZeroPage}, {0xB7, "LAX", Mode::kZeroPageY},
    {0xAF, "LAX", Mode::kAbsolute}, {0xBF, "LAX", Mode::kAbsoluteY},
    {0xA3, "LAX", Mode::kIndirectX}, {0xB3, "LAX", Mode::kIndirectY},
    {0x87, "SAX", Mode::kZeroPage}, {0x97, "SAX", Mode::kZeroPageY},
    {0x8F, "SAX", Mode::kAbsolute}, {0x83, "SAX", Mode::kIndirectX},
    {0x0B, "ANC", Mode::kImmediate}, {0x2B, "ANC", Mode::kImmediate},
    {0x4B, "ALR", Mode::kImmediate}, {0x6B, "ARR", Mode::kImmediate},
    {0xCB, "AXS", Mode::kImmediate}, {0xEB, "SBC", Mode::kImmediate},
    {0x8B, "ANE", Mode::kImmediate}, {0xAB, "LXA", Mode::kImmediate},
    {0x93, "SHA", Mode::kIndirectY}, {0x9F, "SHA", Mode::kAbsoluteY},
    {0x9E, "SHX", Mode::kAbsoluteY}, {0x9C, "SHY", Mode::kAbsoluteX},
    {0x9B, "TAS", Mode::kAbsoluteY}, {0xBB, "LAS", Mode::kAbsoluteY},
};
// clang-format on

using OpcodeTable = std::array<OpcodeInfo, 256>;

template <std::size_t kCount>
constexpr void AddOpcodes(OpcodeTable& table, const OpcodeEntry (&entries)[kCount],
                          bool documented) {
  for (const OpcodeEntry& entry : entries) {
    table[entry.opcode] = {entry.mnemonic, entry.mode, documented};
  }
}

constexpr OpcodeTable BuildTable(CpuCoreKind core) {
  OpcodeTable table{};
  table.fill({nullptr, Mode::kImplied, false});
  AddOpcodes(table, kDocumentedOpcodes, true);
  switch (core) {
    case CpuCoreKind::Reference:
      AddOpcodes(table, kSharedExtraOpcodes, false);
      AddOpcodes(table, kReferenceOnlyOpcodes, false);
      break;
    case CpuCoreKind::Second:
      AddOpcodes(table, kSharedExtraOpcodes, false);
      AddOpcodes(table, kSecondOnlyOpcodes, false);
      break;
    case CpuCoreKind::Full:
      AddOpcodes(table, kConsoleExtraOpcodes, false);
      break;
  }
  return table;
}

constexpr OpcodeTable kReferenceTable = BuildTable(CpuCoreKind::Reference);
constexpr OpcodeTable kSecondTable = BuildTable(CpuCoreKind::Second);
constexpr OpcodeTable kFullTable = BuildTable(CpuCoreKind::Full);

}  // namespace

OpcodeInfo DescribeOpcode(CpuCoreKind core, uint8_t opcode) {
  switch (core) {
    case CpuCoreKind::Reference:
      return kReferenceTable[opcode];
    case CpuCoreKind::Second:
      return kSecondTable[opcode];
    case CpuCoreKind::Full:
      break;
  }
  return kFullTable[opcode];
}

std::size_t InstructionLength(OperandMode mode) {
  switch (mode) {
    case Mode::kImplied:
    case Mode::kAccumulator:
      return 1;
    case Mode::kAbsolute:
    case Mode::kAbsoluteX:
    case Mode::kAbsoluteY:
    case Mode::kIndirect:
      return 3;
    default:
      return 2;
  }
}

std::size_t FormatOperand(OperandMode mode, uint16_t pc, uint8_t low, uint8_t high, char* out) {
  const unsigned word = low | (high << 8);
  constexpr std::size_t kSize = 16;
  int length = 0;
  switch (mode) {
    case Mode::kImplied:
      break;
    case Mode::kAccumulator:
      length = std::snprintf(out, kSize, "A");
      break;
    case Mode::kImmediate:
      length = std::snprintf(out, kSize, "#$%02X", low);
      break;
    case Mode::kZeroPage:
      length = std::snprintf(out, kSize, "$%02X", low);
      break;
    case Mode::kZeroPageX:
      length = std::snprintf(out, kSize, "$%02X,X", low);
      break;
    case Mode::kZeroPageY:
      length = std::snprintf(out, kSize, "$%02X,Y", low);
      break;
    case Mode::kAbsolute:
      length = std::snprintf(out, kSize, "$%04X", word);
      break;
    case Mode::kAbsoluteX:
      length = std::snprintf(out, kSize, "$%04X,X", word);
      break;
    case Mode::kAbsoluteY:
      length = std::snprintf(out, kSize, "$%04X,Y", word);
      break;
    case Mode::kIndirect:
      length = std::snprintf(out, kSize, "($%04X)", word);
      break;
    case Mode::kIndirectX:
      length = std::snprintf(out, kSize, "($%02X,X)", low);
      break;
    case Mode::kIndirectY:
      length = std::snprintf(out, kSize, "($%02X),Y", low);
      break;
    case Mode::kIndirectZeroPage:
      length = std::snprintf(out, kSize, "($%02X)", low);
      break;
    case Mode::kRelative: {
      // The offset counts from the byte after the two-byte branch.
      const uint16_t target = static_cast<uint16_t>(pc + 2 + static_cast<int8_t>(low));
      length = std::snprintf(out, kSize, "$%04X", target);
      break;
    }
  }
  if (length <= 0) {
    out[0] = '\0';
    return 0;
  }
  return static_cast<std::size_t>(length);
}

}  // namespace wrenfold
