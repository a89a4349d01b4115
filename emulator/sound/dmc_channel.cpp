#include "emulator/sound/dmc_channel.h"

#include "emulator/host/log.h"
#include "emulator/sound/apu_registers.h"
#include "emulator/sound/apu_tables.h"

namespace wrenfold {
namespace {

constexpr uint8_t kMaxLevel = 30;
constexpr uint8_t kCentreLevel = 15;

void RestartSample(DmcState& dmc, const MachineState& machine) {
  dmc.bytePosition = 0;
  dmc.bitMask = 1;
  dmc.currentByte = ReadDmcSampleByte(machine, dmc.startAddress, 0);
  dmc.ended = false;
}

void StepBit(DmcState& dmc, const MachineState& machine) {
  if (dmc.bitMask == 0) {
    dmc.bitMask = 1;
    ++dmc.bytePosition;
    dmc.currentByte = ReadDmcSampleByte(machine, dmc.startAddress, dmc.bytePosition);
  }
  if (dmc.currentByte & dmc.bitMask) {
    ++dmc.level;
  } else if (dmc.level > 0) {
    --dmc.level;
  }
  dmc.bitMask = static_cast<uint8_t>(dmc.bitMask << 1);
  if (dmc.level > kMaxLevel) dmc.level = kMaxLevel;
}

// Stores the current output for as many samples as the owed cycles pay for.
uint32_t PayOwedSamples(DmcState& dmc, int16_t* out, uint32_t n, uint32_t count) {
  while (dmc.cycleAccumulator > 0 && n < count) {
    out[n++] = dmc.output;
    dmc.cycleAccumulator = static_cast<int16_t>(dmc.cycleAccumulator - kCpuCyclesPerSample);
  }
  return n;
}

}  // namespace

uint8_t ReadDmcSampleByte(const MachineState& machine, uint16_t start, uint32_t offset) {
  return machine.cpuMem[0x8000 | ((start + offset) & 0x7FFF)];
}

void StartDmcFrame(DmcState& dmc, MachineState& machine) {
  dmc.level = (machine.cpuMem[kDmcLevel] >> 2) & 31;
  int32_t& written = machine.apuFlags.dmcWritten;
  if (!written) return;
  const uint8_t* regs = &machine.cpuMem[kDmcCtrl];
  dmc.startAddress = static_cast<uint16_t>(0xC000 + regs[2] * 64);
  dmc.sampleLength = static_cast<uint16_t>(regs[3] * 16 + 1);
  dmc.level = kCentreLevel;
  RestartSample(dmc, machine);
  written = 0;
}

void RenderDmcFrame(DmcState& dmc, MachineState& machine, int16_t* out, uint32_t count) {
  const uint8_t control = machine.cpuMem[kDmcCtrl];
  const int16_t rate = static_cast<int16_t>(kDmcRateTable[control & 0x0F]);
  uint32_t n = PayOwedSamples(dmc, out, 0, count);
  while (n < count) {
    if (dmc.bytePosition < dmc.sampleLength) {
      StepBit(dmc, machine);
    } else if (control & kDmcLoop) {
      RestartSample(dmc, machine);
      StepBit(dmc, machine);
    } else {
      dmc.level = kCentreLevel;
      // Once per ending: logging on every step would write the file hundreds of times a frame.
      if ((control & kDmcIrqEnable) && !dmc.ended) LogText("I");
      dmc.ended = true;
    }
    dmc.output = static_cast<int16_t>((kCentreLevel - dmc.level) * 256);
    dmc.cycleAccumulator = static_cast<int16_t>(dmc.cycleAccumulator + rate);
    n = PayOwedSamples(dmc, out, n, count);
  }
  machine.cpuMem[kDmcLevel] = static_cast<uint8_t>(dmc.level * 4 | 0x80);
}

}  // namespace wrenfold
