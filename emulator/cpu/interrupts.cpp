#include "emulator/cpu/interrupts.h"

#include "emulator/cart/board_table.h"
#include "emulator/cart/write_bus.h"
#include "emulator/cpu/read_bus.h"
#include "emulator/machine_state/io_registers.h"
#include "emulator/ppu/ppu_scroll.h"

namespace wrenfold {
namespace {

constexpr uint8_t kPowerOnFlags = kFlagBit5;
constexpr uint8_t kPowerOnStack = 0xFF;
constexpr uint8_t kPowerOnMask = 0x18;  // background and sprites shown from the start
constexpr uint8_t kPowerOnJoypadByte = 0x42;
// The reset sequence runs the three pushes of an interrupt with writes suppressed.
constexpr uint8_t kResetStackDrop = 3;

uint16_t ReadVector(MachineState& machine, uint16_t address) {
  const uint8_t low = CpuRead(machine, address);
  const uint8_t high = CpuRead(machine, static_cast<uint16_t>(address + 1));
  return static_cast<uint16_t>(low | (high << 8));
}

void Push(MachineState& machine, uint8_t value) {
  machine.cpuMem[kStackPage + machine.cpu.S] = value;
  --machine.cpu.S;  // wraps 0 -> 255
}

// Pushes PC and the flags byte, sets I. The entries cost no cycles.
void PushInterruptFrame(MachineState& machine, uint8_t pushedFlags) {
  Push(machine, static_cast<uint8_t>(machine.cpu.PC >> 8));
  Push(machine, static_cast<uint8_t>(machine.cpu.PC & 0xFF));
  Push(machine, pushedFlags);
  machine.cpu.P |= kFlagI;
}

}  // namespace

void BuildHexDigits(MachineState& machine) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  for (int i = 0; i < 16; ++i) machine.hexDigits[i] = kDigits[i];
}

void PowerOn(MachineState& machine) {
  BuildHexDigits(machine);
  machine.frameCounter = 0;
  machine.cpu.P = kPowerOnFlags;
  machine.cpu.S = kPowerOnStack;
  machine.cpuMem[kDmcLevel] = kDmcMidLevel;
  machine.cpuMem[kJoypad1] = kPowerOnJoypadByte;
  machine.cpuMem[kJoypad2] = kPowerOnJoypadByte;
  machine.cpuMem[kPpuMask] = kPowerOnMask;
  machine.ppu.vramAddrWritten = 1;
  SetVramAddr(machine.ppu, 0);
  machine.ppu.writeToggle = 0;
  machine.padReadIndex[0] = 0;
  machine.cpu.PC = ReadVector(machine, kResetVector);
}

void PressResetButton(MachineState& machine) {
  WriteBus(machine, kPpuCtrl, 0);
  WriteBus(machine, kPpuMask, 0);
  machine.ppu.writeToggle = 0;
  WriteBus(machine, kApuStatus, 0);

  CpuRegisters& cpu = machine.cpu;
  cpu.S = static_cast<uint8_t>(cpu.S - kResetStackDrop);
  cpu.P |= kFlagI;
  cpu.PC = ReadVector(machine, kResetVector);
}

void EnterNmi(MachineState& machine) {
  ++machine.frameCounter;
  if (!(machine.cpuMem[kPpuCtrl] & kCtrlNmiEnable)) return;
  // The NMI ignores the I flag and pushes P as it stands.
  PushInterruptFrame(machine, machine.cpu.P);
  machine.cpu.PC = ReadVector(machine, kNmiVector);
  // Boards whose trainer holds the NMI handler take the NMI where the loader put the trainer.
  if (machine.header.trainerFlag && BoardFor(machine.header.mapperNumber).trainerTakesNmi) {
    machine.cpu.PC = kTrainerAddress;
  }
}

void EnterIrq(MachineState& machine, uint8_t pushedFlags) {
  PushInterruptFrame(machine, pushedFlags);
  machine.cpu.PC = ReadVector(machine, kIrqVector);
}

}  // namespace wrenfold
