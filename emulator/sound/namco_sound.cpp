#include "emulator/sound/namco_sound.h"

#include <algorithm>

#include "emulator/host/log.h"
#include "emulator/sound/dmc_channel.h"
#include "emulator/sound/expansion_buffers.h"

namespace wrenfold {
namespace {

// CPU cycles per wave step at frequency 1; the step length is this divided by the frequency.
constexpr uint32_t kStepCyclesAtFrequencyOne = 8064090;
// Frequencies below 124 would step more slowly than this; they are held at it, so a change to
// a higher frequency is heard within at most this many cycles (about 37 ms).
constexpr uint32_t kMaxStepCycles = 0xFFFF;
constexpr uint8_t kNamcoRamMask = 0x7F;
constexpr uint8_t kWaveStartMask = 0x3E;
constexpr uint8_t kVolumeMask = 0x0F;
constexpr uint8_t kFrequencyTopMask = 0x03;
constexpr int kLengthCodeShift = 2;
constexpr uint8_t kLengthCodeMask = 0x07;

void MixNamcoContext(void* context, MachineState& machine, SoundOutput&) {
  MixNamcoFrame(machine, *static_cast<SoundState*>(context));
}

}  // namespace

NamcoVoice DecodeNamcoVoice(const uint8_t (&namcoRam)[128], int channel) {
  const uint8_t* regs = &namcoRam[kNamcoRegisterBase + channel * kNamcoRegistersPerChannel];
  NamcoVoice voice{};
  voice.frequency = regs[0] | (regs[2] << 8) | ((regs[4] & kFrequencyTopMask) << 16);
  voice.volume = regs[7] & kVolumeMask;
  voice.waveStart = regs[6] & kWaveStartMask;
  const int lengthCode = (regs[4] >> kLengthCodeShift) & kLengthCodeMask;
  voice.waveLength = static_cast<uint8_t>((8 - lengthCode) * 2);
  if (voice.frequency != 0) {
    voice.stepCycles =
        static_cast<int32_t>(std::min(kStepCyclesAtFrequencyOne / voice.frequency, kMaxStepCycles));
  }
  return voice;
}

void RenderNamcoFrame(NamcoChannelState& channel, const NamcoVoice& voice,
                      const uint8_t (&namcoRam)[128], int16_t* out, uint32_t count) {
  if (voice.stepCycles <= 0 || voice.waveLength == 0) {
    std::fill(out, out + count, int16_t{0});
    return;
  }
  for (uint32_t n = 0; n < count; ++n) {
    channel.counter -= kCpuCyclesPerSample;
    // stepCycles is at least 30 (the highest frequency), so this runs at most three times.
    while (channel.counter < 0) {
      channel.counter += voice.stepCycles;
      // A wave shortened while playing past its new end starts over rather than running on.
      if (++channel.position >= voice.waveLength) channel.position = 0;
      const uint8_t wave = namcoRam[(voice.waveStart + channel.position) & kNamcoRamMask];
      channel.output = static_cast<int16_t>(voice.volume * wave);
    }
    out[n] = channel.output;
  }
}

int CreateNamcoChannels(MachineState&, SoundState& sound) {
  if (!CreateExpansionBuffers(sound, kNamcoChannelCount)) return 0;
  ExpansionSound& expansion = sound.expansion;
  expansion.kind = ExpansionSoundKind::kNamco;
  expansion.mix = MixNamcoContext;
  expansion.context = &sound;
  LogText("Namco Extened Sound Channel Created\n");
  return 1;
}

void MixNamcoFrame(MachineState& machine, SoundState& sound) {
  for (int c = 0; c < kNamcoChannelCount; ++c) {
    const NamcoVoice voice = DecodeNamcoVoice(machine.namcoRam, c);
    if (voice.volume == 0 || voice.frequency == 0) {
      SilenceExpansionBuffer(sound, c);
      continue;
    }
    WriteExpansionFrame(sound, c, "Nam Fail\n", [&](int16_t* out, uint32_t count) {
      RenderNamcoFrame(sound.expansion.namco.channels[c], voice, machine.namcoRam, out, count);
    });
  }
}

}  // namespace wrenfold
