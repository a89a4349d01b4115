#include "emulator/sound/sound_output.h"

#include <algorithm>
#include <cstring>

#include "emulator/host/log.h"

namespace wrenfold {
namespace {

int CreateChannelBuffers(SoundOutput& output, const SoundSettings& settings) {
  SoundBufferDescription description;
  description.bytes = kSoundBufferBytes;
  description.controlVolume = true;
  description.controlPan = settings.stereo;
  description.staticBuffer = true;
  for (int channel = 0; channel < kApuChannelCount; ++channel) {
    // Once set for buffer number hardwareBuffers + 1 the hint stays for the later ones.
    if (channel >= settings.hardwareBuffers) description.forceSoftware = true;
    if (SoundFailed(output.service->CreateBuffer(description, kSoundWaveFormat,
                                                 output.channels[channel]))) {
      return 0;
    }
  }
  return 1;
}

}  // namespace

int InitSound(MachineState& machine, SoundState& sound, SoundService& service,
              const SoundSettings& settings) {
  ResetSoundState(sound);
  machine.apuFlags.triWritten = 1;  // the triangle loads its registers on the first frame
  if (!settings.enabled) return 1;

  SoundOutput& output = sound.output;
  if (SoundFailed(service.Open())) return 0;
  output.service = &service;
  LogText("Direct Sound Object Created\n");

  if (SoundFailed(service.CreatePrimaryBuffer(output.primary)) ||
      SoundFailed(service.SetFormat(output.primary, kSoundWaveFormat))) {
    return 0;
  }
  LogText("Primary Buffer Established\n");
  LogText("Buffer Size:");
  LogNumber(static_cast<int32_t>(kSoundBufferBytes));

  if (!CreateChannelBuffers(output, settings)) return 0;

  // From here on failures are not fatal: the buffers exist and will play what they can.
  for (SoundBufferHandle channel : output.channels) service.Stop(channel);
  LogText("NES Sound Channels Created\n");
  for (SoundBufferHandle channel : output.channels) service.SetVolume(channel, kSoundVolumeMax);
  service.SetVolume(output.primary, kSoundVolumeMax);
  int cleared = 0;
  for (SoundBufferHandle channel : output.channels) {
    service.SetPlayPosition(channel, 0);
    cleared = ClearSoundBuffer(service, channel);
  }
  LogText(cleared ? "OK!" : "Sound Output Start\n");

  if (settings.stereo) {
    LogText("Initialize stereo sound output\n");
    service.SetPan(output.channels[kPulse1Channel], kPulse1StereoPan);
    service.SetPan(output.channels[kPulse2Channel], kPulse2StereoPan);
  } else {
    LogText("Mono sound output\n");
  }

  output.writePosition = 0;
  BuildSamplesPerPeriod(sound.tables);
  BuildNoiseTable(sound.tables);
  sound.apu.pulse[0].lengthCounter = 0;
  sound.apu.pulse[1].lengthCounter = 0;
  sound.apu.triangle.lengthCounter = 0;
  machine.apuFlags.noiseLengthCode = 0;
  output.ready = true;
  return 1;
}

int ClearSoundBuffer(SoundService& service, SoundBufferHandle buffer) {
  SoundWaveFormat format{};
  if (SoundFailed(service.GetFormat(buffer, format))) return 0;
  SoundLockedRegion region;
  if (SoundFailed(service.Lock(buffer, region))) return 0;
  std::memset(region.data, format.bitsPerSample == 8 ? 0x80 : 0, region.bytes);
  service.Unlock(buffer);
  return 1;
}

void ReleaseSound(SoundState& sound) {
  SoundOutput& output = sound.output;
  SoundService* service = output.service;
  output.ready = false;
  if (service == nullptr) return;
  if (output.primary != kNoSoundBuffer) {
    service->Stop(output.primary);
    service->Release(output.primary);
    output.primary = kNoSoundBuffer;
  }
  for (SoundBufferHandle& channel : output.channels) {
    if (channel == kNoSoundBuffer) continue;
    service->Release(channel);
    channel = kNoSoundBuffer;
  }
  ExpansionSound& expansion = sound.expansion;
  for (SoundBufferHandle& buffer : expansion.buffers) {
    if (buffer == kNoSoundBuffer) continue;
    service->Stop(buffer);
    service->Release(buffer);
    buffer = kNoSoundBuffer;
  }
  expansion.bufferCount = 0;
  expansion.mix = nullptr;
  expansion.kind = ExpansionSoundKind::kNone;
  service->Close();
  output.service = nullptr;
}

void CopyFrameIntoBuffer(const SoundLockedRegion& region, uint32_t writePosition,
                         const int16_t* samples, uint32_t count) {
  const uint32_t capacity = region.SampleCount();
  if (capacity == 0) return;
  int16_t* buffer = region.Samples();
  uint32_t position = writePosition % capacity;
  while (count > 0) {
    const uint32_t run = std::min(count, capacity - position);
    std::memcpy(buffer + position, samples, run * sizeof(int16_t));
    samples += run;
    count -= run;
    position = 0;
  }
}

}  // namespace wrenfold
