#include "emulator/sound/mix_frame_sound.h"

#include "emulator/host/log.h"
#include "emulator/sound/apu_registers.h"
#include "emulator/sound/sound_output.h"

namespace wrenfold {
namespace {

// Playback starts once this many NMIs have been counted.
constexpr int32_t kNmisBeforePlayback = 2;

void LogUnlockFailure(int channel, SoundResult result) {
  if (!SoundFailed(result)) return;
  if (channel != kPulse1Channel) {
    LogText("Unlock fail\n");
  } else if (result == kSoundInvalidCall) {
    LogText("Invcall\n");
  } else if (result == kSoundInvalidParam) {
    LogText("Invpara\n");
  } else if (result == kSoundPriorityNeeded) {
    LogText("Prioneed\n");
  }
}

// Locks the channel's buffer, lets `render` fill the frame, copies it in at the write
// position and unlocks. A failed lock skips the channel for this frame.
template <typename Render>
void WriteChannelFrame(SoundOutput& output, int channel, Render&& render) {
  const SoundBufferHandle buffer = output.channels[channel];
  SoundLockedRegion region;
  const SoundResult locked = output.service->Lock(buffer, region);
  if (SoundFailed(locked)) {
    if (locked == kSoundInvalidParam) LogText("Lock fail\n");
    return;
  }
  output.channelSilent[channel] = false;
  render(output.frameSamples, output.samplesThisFrame);
  CopyFrameIntoBuffer(region, output.writePosition, output.frameSamples, output.samplesThisFrame);
  LogUnlockFailure(channel, output.service->Unlock(buffer));
}

bool ChannelEnabled(const MachineState& machine, int channel) {
  return (machine.cpuMem[kApuStatus] >> channel) & 1;
}

// Clearing a one-second buffer costs more than synthesising a frame, so a buffer that is
// still silent from the last clear is left alone.
void SilenceChannel(SoundOutput& output, int channel) {
  if (output.channelSilent[channel]) return;
  output.channelSilent[channel] = ClearSoundBuffer(*output.service, output.channels[channel]) != 0;
}

void MixPulse(MachineState& machine, SoundState& sound, int channel) {
  SoundOutput& output = sound.output;
  if (!ChannelEnabled(machine, channel)) {
    SilenceChannel(output, channel);
    return;
  }
  const bool second = channel == kPulse2Channel;
  const uint8_t* r = &machine.cpuMem[second ? kSq2Ctrl : kSq1Ctrl];
  const PulseRegisters regs{r[0], r[1], r[2], r[3]};
  ApuWriteFlags& flags = machine.apuFlags;
  PulseState& pulse = sound.apu.pulse[second ? 1 : 0];
  StartPulseFrame(pulse, regs,
                  second ? PulseChangeFlags{flags.sq2Written, flags.sq2SweepWritten}
                         : PulseChangeFlags{flags.sq1Written, flags.sq1SweepWritten});
  WriteChannelFrame(output, channel, [&](int16_t* out, uint32_t count) {
    RenderPulseFrame(pulse, regs, sound.tables, second, out, count);
  });
}

void MixTriangle(MachineState& machine, SoundState& sound) {
  SoundOutput& output = sound.output;
  if (!ChannelEnabled(machine, kTriangleChannel)) {
    SilenceChannel(output, kTriangleChannel);
    return;
  }
  const uint8_t* r = &machine.cpuMem[kTriCtrl];
  StartTriangleFrame(sound.apu.triangle, TriangleRegisters{r[0], r[1], r[2], r[3]},
                     machine.apuFlags.triWritten);
  WriteChannelFrame(output, kTriangleChannel, [&](int16_t* out, uint32_t count) {
    RenderTriangleFrame(sound.apu.triangle, sound.tables, out, count);
  });
}

void MixNoise(MachineState& machine, SoundState& sound) {
  SoundOutput& output = sound.output;
  if (!ChannelEnabled(machine, kNoiseChannel)) {
    SilenceChannel(output, kNoiseChannel);
    return;
  }
  const uint8_t* r = &machine.cpuMem[kNoiseCtrl];
  const NoiseRegisters regs{r[0], r[1], r[2], r[3]};
  ApuWriteFlags& flags = machine.apuFlags;
  const NoiseFramePlan plan =
      StartNoiseFrame(sound.apu.noise, regs, flags.noiseLengthCode, flags.noiseWritten);
  if (plan.clearBuffer) SilenceChannel(output, kNoiseChannel);
  if (!plan.render) return;
  WriteChannelFrame(output, kNoiseChannel, [&](int16_t* out, uint32_t count) {
    RenderNoiseFrame(sound.apu.noise, regs, sound.tables, flags.noiseWritten, out, count);
  });
}

void MixDmc(MachineState& machine, SoundState& sound) {
  SoundOutput& output = sound.output;
  if (!ChannelEnabled(machine, kDmcChannel)) {
    SilenceChannel(output, kDmcChannel);
    return;
  }
  StartDmcFrame(sound.apu.dmc, machine);
  WriteChannelFrame(output, kDmcChannel, [&](int16_t* out, uint32_t count) {
    RenderDmcFrame(sound.apu.dmc, machine, out, count);
  });
}

// The writing runs at a fixed pace of 367/368 samples a frame. When playback drifts out of the
// window between one and eight frames behind it (it caught up after a stall, or the writing ran
// far ahead), the writing continues three frames ahead of playback instead of leaving a gap or
// lapping it. A play position that has not moved (a paused or headless service) is left alone.
constexpr uint32_t kMinWriteLead = kSecondFrameSamples;
constexpr uint32_t kMaxWriteLead = 8 * kSecondFrameSamples;
constexpr uint32_t kResyncWriteLead = 3 * kSecondFrameSamples;

void FollowPlayback(SoundOutput& output) {
  const uint32_t play = output.service->CurrentPlayPosition() % kSoundBufferSamples;
  const bool moving = play != output.lastPlayPosition;
  output.lastPlayPosition = play;
  if (output.firstFrame || !moving) return;
  const uint32_t lead = (output.writePosition + kSoundBufferSamples - play) % kSoundBufferSamples;
  if (lead >= kMinWriteLead && lead <= kMaxWriteLead) return;
  output.writePosition = (play + kResyncWriteLead) % kSoundBufferSamples;
  output.service->ResyncWritePosition(output.writePosition);
}

// Every buffer starts from the shared play position, two frames behind the writing.
void StartPlayback(SoundState& sound) {
  SoundOutput& output = sound.output;
  SoundService& service = *output.service;
  service.PlayLooping(output.primary);
  for (SoundBufferHandle channel : output.channels) service.PlayLooping(channel);
  const ExpansionSound& expansion = sound.expansion;
  if (expansion.kind == ExpansionSoundKind::kVrc6) LogText("Start VRC6 Sound Channel\n");
  for (uint32_t i = 0; i < expansion.bufferCount && i < kMaxExpansionBuffers; ++i) {
    if (expansion.buffers[i] != kNoSoundBuffer) service.PlayLooping(expansion.buffers[i]);
  }
  output.firstFrame = false;
}

}  // namespace

void MixFrameSound(MachineState& machine, SoundState& sound) {
  SoundOutput& output = sound.output;
  if (!output.ready || output.service == nullptr) return;
  FollowPlayback(output);

  MixPulse(machine, sound, kPulse1Channel);
  MixPulse(machine, sound, kPulse2Channel);
  MixTriangle(machine, sound);
  MixNoise(machine, sound);
  MixDmc(machine, sound);

  // Two or more: a first call made after further NMIs must still start the sound.
  if (output.firstFrame && machine.frameCounter >= kNmisBeforePlayback) StartPlayback(sound);

  if (sound.expansion.mix != nullptr) {
    sound.expansion.mix(sound.expansion.context, machine, output);
  }

  output.writePosition = (output.writePosition + output.samplesThisFrame) % kSoundBufferSamples;
  output.samplesThisFrame =
      output.samplesThisFrame == kFirstFrameSamples ? kSecondFrameSamples : kFirstFrameSamples;
  output.service->ReportWritePosition(output.writePosition);
}

}  // namespace wrenfold
