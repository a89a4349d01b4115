#include "emulator/cpu/cpu_trace.h"

#include <cstdio>
#include <cstring>

#include "emulator/cpu/cpu_disassembly.h"

namespace wrenfold {
namespace {

constexpr std::size_t kBytesColumn = 6;
constexpr std::size_t kMarkerColumn = 15;
constexpr std::size_t kDisassemblyColumn = 16;
constexpr std::size_t kRegistersColumn = 48;

// The byte the CPU would fetch, without the side effects of a bus read: the 2 KB of RAM
// appear four times below $2000, everything else is read from the image as stored.
uint8_t PeekInstructionByte(const MachineState& machine, uint16_t address) {
  if (address < 0x2000) {
    return machine.cpuMem[address & 0x07FF];
  }
  return machine.cpuMem[address];
}

void PadTo(char* line, std::size_t& length, std::size_t column) {
  while (length < column) {
    line[length++] = ' ';
  }
}

}  // namespace

CpuTrace& TheCpuTrace() {
  static CpuTrace trace;
  return trace;
}

std::size_t FormatCpuTraceLine(const MachineState& machine, CpuCoreKind core,
                               const CpuTraceRegisters& registers,
                               char (&line)[kCpuTraceLineCapacity]) {
  uint8_t bytes[3];
  for (int i = 0; i < 3; ++i) {
    bytes[i] = PeekInstructionByte(machine, static_cast<uint16_t>(registers.pc + i));
  }
  const OpcodeInfo info = DescribeOpcode(core, bytes[0]);
  const std::size_t instructionLength = info.mnemonic ? InstructionLength(info.mode) : 1;

  std::size_t length = static_cast<std::size_t>(
      std::snprintf(line, kCpuTraceLineCapacity, "%04X", static_cast<unsigned>(registers.pc)));
  PadTo(line, length, kBytesColumn);
  for (std::size_t i = 0; i < instructionLength; ++i) {
    length += static_cast<std::size_t>(
        std::snprintf(line + length, kCpuTraceLineCapacity - length, "%02X ", bytes[i]));
  }
  PadTo(line, length, kMarkerColumn);
  line[length++] = info.documented ? ' ' : '*';
  PadTo(line, length, kDisassemblyColumn);

  const char* mnemonic = info.mnemonic ? info.mnemonic : "???";
  std::memcpy(line + length, mnemonic, 3);
  length += 3;
  if (info.mnemonic) {
    char operand[16];
    const std::size_t operandLength =
        FormatOperand(info.mode, registers.pc, bytes[1], bytes[2], operand);
    if (operandLength > 0) {
      line[length++] = ' ';
      std::memcpy(line + length, operand, operandLength);
      length += operandLength;
    }
  }
  PadTo(line, length, kRegistersColumn);

  length += static_cast<std::size_t>(std::snprintf(
      line + length, kCpuTraceLineCapacity - length, "A:%02X X:%02X Y:%02X P:%02X SP:%02X",
      registers.a, registers.x, registers.y, registers.p, registers.s));
  return length;
}

void EmitCpuTraceLine(const CpuTraceSink& sink, const MachineState& machine, CpuCoreKind core,
                      const CpuTraceRegisters& registers) {
  char line[kCpuTraceLineCapacity];
  const std::size_t length = FormatCpuTraceLine(machine, core, registers, line);
  sink.writeLine(sink.context, std::string_view(line, length));
}

}  // namespace wrenfold
