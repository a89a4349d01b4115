#include "tools/headless_runner/reset_button.h"

#include "emulator/cart/io_registers.h"
#include "emulator/cart/write_bus.h"
#include "emulator/cpu/read_bus.h"

namespace wrenfold::headless {
namespace {

constexpr uint16_t kResetVector = 0xFFFC;
// The reset sequence runs the three pushes of an interrupt with writes suppressed.
constexpr uint8_t kResetStackDrop = 3;

}  // namespace

void PressResetButton(MachineState& machine) {
  WriteBus(machine, kPpuCtrl, 0);
  WriteBus(machine, kPpuMask, 0);
  machine.ppu.writeToggle = 0;
  WriteBus(machine, kApuStatus, 0);

  CpuRegisters& cpu = machine.cpu;
  cpu.S = static_cast<uint8_t>(cpu.S - kResetStackDrop);
  cpu.P |= kFlagI;
  const uint8_t low = CpuRead(machine, kResetVector);
  const uint8_t high = CpuRead(machine, kResetVector + 1);
  cpu.PC = static_cast<uint16_t>(low | (high << 8));
}

}  // namespace wrenfold::headless
