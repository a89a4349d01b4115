// Instruction trace of the CPU cores: one line per instruction, written before it runs, in the
// layout of the well-known nestest log:
//
//   C000  4C F5 C5  JMP $C5F5                       A:00 X:00 Y:00 P:24 SP:FD
//
// Columns 0-3 the address, 6-13 the instruction bytes, 15 a '*' for opcodes outside the
// documented set, 16-47 the disassembly, then A, X, Y, P and SP. Address, bytes, mnemonic and
// registers compare with such logs column for column; the disassembly leaves out the memory
// values those logs append ("= 00", "@ 0200"), and there are no PPU or cycle columns. The
// second core has no bit 5 in its flags, so its P column never shows $20; the full core shows
// P as the console does, bit 5 set and B clear.
//
// Tracing costs nothing while it is off: each call of a core looks at the sink once and runs
// an instantiation with or without the trace code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "emulator/cpu/cpu_core.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// Receives each trace line, without a line end. Called on the emulation thread.
struct CpuTraceSink {
  void (*writeLine)(void* context, std::string_view line);
  void* context;
};

// Where the cores send their trace; a null sink turns tracing off.
struct CpuTrace {
  const CpuTraceSink* sink = nullptr;
};

CpuTrace& TheCpuTrace();

// Registers as they stand before the traced instruction.
struct CpuTraceRegisters {
  uint16_t pc;
  uint8_t a;
  uint8_t x;
  uint8_t y;
  uint8_t p;
  uint8_t s;
};

inline constexpr std::size_t kCpuTraceLineCapacity = 96;

// Formats the line of the instruction at registers.pc into `line` and returns its length. The
// instruction bytes are peeked from cpuMem, so tracing has no bus side effects.
std::size_t FormatCpuTraceLine(const MachineState& machine, CpuCoreKind core,
                               const CpuTraceRegisters& registers,
                               char (&line)[kCpuTraceLineCapacity]);

// Formats the line and hands it to the sink.
void EmitCpuTraceLine(const CpuTraceSink& sink, const MachineState& machine, CpuCoreKind core,
                      const CpuTraceRegisters& registers);

}  // namespace wrenfold
