// The looping buffers of the cartridge's extra sound channels: one per channel, made like the
// APU channels' buffers, started with them and written at the same common write position.
#pragma once

#include <cstdint>

#include "emulator/host/log.h"
#include "emulator/sound/sound_output.h"
#include "emulator/sound/sound_state.h"

namespace wrenfold {

// Creates `count` (at most kMaxExpansionBuffers) buffers in sound.expansion, each stopped, at
// play position 0, at full volume and cleared. Returns 0 as soon as one cannot be created
// (those made so far are released with the others by ReleaseSound), or when sound output is
// not set up; 1 otherwise. Mixing is not switched on here.
int CreateExpansionBuffers(SoundState& sound, uint32_t count);

// Clears the buffer of a channel that is silent this frame; one that is still silent from
// the last clear is left alone.
void SilenceExpansionBuffer(SoundState& sound, int index);

// Locks the channel's buffer, lets `render` (int16_t* out, uint32_t count) fill the frame,
// copies it in at the write position and unlocks. A failed lock logs `lockFailure` and skips
// the channel for this frame.
template <typename Render>
void WriteExpansionFrame(SoundState& sound, int index, const char* lockFailure, Render&& render) {
  SoundOutput& output = sound.output;
  ExpansionSound& expansion = sound.expansion;
  const SoundBufferHandle buffer = expansion.buffers[index];
  SoundLockedRegion region;
  if (SoundFailed(output.service->Lock(buffer, region))) {
    LogText(lockFailure);
    return;
  }
  expansion.bufferSilent[index] = false;
  render(output.frameSamples, output.samplesThisFrame);
  CopyFrameIntoBuffer(region, output.writePosition, output.frameSamples, output.samplesThisFrame);
  output.service->Unlock(buffer);
}

}  // namespace wrenfold
