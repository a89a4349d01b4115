#include "emulator/sound/expansion_buffers.h"

#include <algorithm>

namespace wrenfold {

int CreateExpansionBuffers(SoundState& sound, uint32_t count) {
  SoundOutput& output = sound.output;
  ExpansionSound& expansion = sound.expansion;
  if (output.service == nullptr || !output.ready) return 0;
  SoundService& service = *output.service;
  // The extra channels are always mixed in software; they are never panned.
  SoundBufferDescription description;
  description.bytes = kSoundBufferBytes;
  description.controlVolume = true;
  description.staticBuffer = true;
  description.forceSoftware = true;
  count = std::min<uint32_t>(count, kMaxExpansionBuffers);
  for (uint32_t i = 0; i < count; ++i) {
    SoundBufferHandle& buffer = expansion.buffers[i];
    if (SoundFailed(service.CreateBuffer(description, kSoundWaveFormat, buffer))) return 0;
    expansion.bufferCount = i + 1;
    service.Stop(buffer);
    service.SetPlayPosition(buffer, 0);
    service.SetVolume(buffer, kSoundVolumeMax);
    expansion.bufferSilent[i] = ClearSoundBuffer(service, buffer) != 0;
  }
  return 1;
}

void SilenceExpansionBuffer(SoundState& sound, int index) {
  ExpansionSound& expansion = sound.expansion;
  if (expansion.bufferSilent[index]) return;
  expansion.bufferSilent[index] =
      ClearSoundBuffer(*sound.output.service, expansion.buffers[index]) != 0;
}

}  // namespace wrenfold
