#include "emulator/sound/vrc6_sound.h"

#include "emulator/host/log.h"
#include "emulator/sound/dmc_channel.h"
#include "emulator/sound/expansion_buffers.h"

namespace wrenfold {
namespace {

constexpr int kVrc6SawChannel = 2;
constexpr int kRegisterGroupStride = 4;
constexpr uint8_t kPeriodHighMask = 0x0F;
constexpr uint8_t kPulseDutyMask = 0x70;  // duty 0-7, already x 16
constexpr uint8_t kPulseVolumeMask = 0x0F;
constexpr uint8_t kSawRateMask = 0x3F;
constexpr int32_t kPulseCyclesPerPeriodStep = 16;
constexpr uint8_t kSawStepsPerCycle = 7;

int32_t Period(const Vrc6Registers& regs) {
  return regs.periodLow | ((regs.periodHigh & kPeriodHighMask) << 8);
}

void MixVrc6Context(void* context, MachineState& machine, SoundOutput&) {
  MixVrc6Frame(machine, *static_cast<SoundState*>(context));
}

void MixPulse(MachineState& machine, SoundState& sound, int channel) {
  const Vrc6Registers regs = Vrc6ChannelRegisters(machine, channel);
  Vrc6PulseState& pulse = sound.expansion.vrc6.pulse[channel];
  const bool constant = (regs.control & kVrc6ConstantOutput) != 0;
  if (!(regs.periodHigh & kVrc6ChannelEnable)) {
    pulse.constantLogged = false;
    SilenceExpansionBuffer(sound, channel);
    return;
  }
  if (!constant) pulse.constantLogged = false;
  WriteExpansionFrame(sound, channel, "VRC6 Lock Fail\n", [&](int16_t* out, uint32_t count) {
    if (constant && !pulse.constantLogged) {
      LogText("D");
      pulse.constantLogged = true;
    }
    RenderVrc6PulseFrame(pulse, regs, out, count);
  });
}

}  // namespace

Vrc6Registers Vrc6ChannelRegisters(const MachineState& machine, int channel) {
  const uint8_t* group = &machine.mapper.vrc6SoundRegs[channel * kRegisterGroupStride];
  return {group[0], group[1], group[2]};
}

void RenderVrc6PulseFrame(Vrc6PulseState& pulse, const Vrc6Registers& regs, int16_t* out,
                          uint32_t count) {
  const int16_t high = static_cast<int16_t>((regs.control & kPulseVolumeMask) * 256);
  if (regs.control & kVrc6ConstantOutput) {
    // The chip outputs the volume as is. The frame must be written all the same: left alone,
    // the looping buffer would replay what it held a second ago.
    for (uint32_t n = 0; n < count; ++n) out[n] = high;
    return;
  }
  const int32_t reload = Period(regs) * kPulseCyclesPerPeriodStep;
  const int32_t dutyScale = (regs.control & kPulseDutyMask) + 16;
  for (uint32_t n = 0; n < count; ++n) {
    pulse.counter -= kCpuCyclesPerSample;
    if (pulse.counter < 0) {
      pulse.counter += reload;
      if (pulse.counter < 0) {
        // A period shorter than one output sample is far above hearing: silent. The counter
        // is held so that it cannot run down without end.
        pulse.counter = 0;
        pulse.threshold = 0;
        pulse.output = 0;
      } else {
        pulse.threshold = pulse.counter * dutyScale / 256;
        pulse.output = high;
      }
    }
    if (pulse.counter < pulse.threshold) {
      pulse.threshold = 0;
      pulse.output = 0;
    }
    out[n] = pulse.output;
  }
}

void RenderVrc6SawFrame(Vrc6SawState& saw, const Vrc6Registers& regs, int16_t* out,
                        uint32_t count) {
  // The accumulator takes a step on every second clock of the period divider.
  const int32_t stepCycles = 2 * Period(regs);
  const uint8_t rate = regs.control & kSawRateMask;
  for (uint32_t n = 0; n < count; ++n) {
    saw.counter -= kCpuCyclesPerSample;
    if (saw.counter < 0) {
      saw.counter += stepCycles;
      // A step shorter than one output sample steps once per sample; holding the counter
      // keeps it from running down without end.
      if (saw.counter < 0) saw.counter = 0;
      saw.accumulator = static_cast<uint8_t>(saw.accumulator + rate);
      if (++saw.step == kSawStepsPerCycle) {
        saw.step = 0;
        saw.accumulator = 0;
      }
      saw.output = static_cast<int16_t>((saw.accumulator >> 3) * 256);
    }
    out[n] = saw.output;
  }
}

int CreateVrc6Channels(MachineState&, SoundState& sound) {
  if (!CreateExpansionBuffers(sound, kVrc6ChannelCount)) return 0;
  ExpansionSound& expansion = sound.expansion;
  expansion.kind = ExpansionSoundKind::kVrc6;
  expansion.mix = MixVrc6Context;
  expansion.context = &sound;
  LogText("VRC6 Extened Sound Channel Created\n");
  return 1;
}

void MixVrc6Frame(MachineState& machine, SoundState& sound) {
  for (int channel = 0; channel < kVrc6PulseCount; ++channel) MixPulse(machine, sound, channel);
  const Vrc6Registers saw = Vrc6ChannelRegisters(machine, kVrc6SawChannel);
  if (!(saw.periodHigh & kVrc6ChannelEnable)) {
    SilenceExpansionBuffer(sound, kVrc6SawChannel);
    return;
  }
  WriteExpansionFrame(sound, kVrc6SawChannel, "VRC6 Lock Fail\n",
                      [&](int16_t* out, uint32_t count) {
                        RenderVrc6SawFrame(sound.expansion.vrc6.saw, saw, out, count);
                      });
}

}  // namespace wrenfold
