#include "emulator/cpu/bad_opcode.h"

#include <cstdint>
#include <string_view>

#include "emulator/cpu/read_bus.h"
#include "emulator/host/log.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

void LogEntry(std::string_view text, int32_t value) {
  LogText(text);
  LogNumber(value);
}

int32_t VectorAt(const MachineState& machine, uint16_t address) {
  return machine.cpuMem[address] | (machine.cpuMem[address + 1] << 8);
}

}  // namespace

void ReportBadOpcode(MachineState& machine, CpuCoreKind core) {
  const uint16_t opcodeAddress = static_cast<uint16_t>(machine.cpu.PC - 1);
  const uint8_t opcode = CpuRead(machine, opcodeAddress);
  LogEntry("Bad opcode:", opcode);
  LogEntry("At:", opcodeAddress);
  LogEntry("Frame:", machine.frameCounter);
  LogEntry("NMI vector:", VectorAt(machine, kNmiVector));
  LogEntry("IRQ vector:", VectorAt(machine, kIrqVector));
  // Only the first halt counts: later ones run from after the bad byte and say little.
  if (machine.haltRequested == 0 && core != CpuCoreKind::Full && !JamsConsole(opcode)) {
    machine.needsFullCore = 1;
  }
  machine.haltRequested = 1;
}

}  // namespace wrenfold
