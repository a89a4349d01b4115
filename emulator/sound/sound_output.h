// Setting up and tearing down the sound output: the service's primary buffer and one looping
// one-second buffer per APU channel, and the tables the synthesis uses.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"
#include "emulator/sound/sound_state.h"
#include "platform/sound_service.h"

namespace wrenfold {

// The sound choices of the configuration.
struct SoundSettings {
  bool enabled = true;  // SOUND=None turns sound off
  bool stereo = false;  // SOUND=Stereo
  // HARDBUF: channel buffers from number hardwareBuffers + 1 on are asked for software mixing.
  int32_t hardwareBuffers = 5;
};

// Pulse 1 is heard to the right and pulse 2 to the left in stereo (hundredths of a dB).
inline constexpr int32_t kPulse1StereoPan = 400;
inline constexpr int32_t kPulse2StereoPan = -400;

// Sets up sound output on `service` and fills the synthesis tables. With sound disabled
// nothing is created and the result is 1; MixFrameSound then does nothing. Returns 0 when
// the device, the primary buffer or a channel buffer cannot be had: the caller logs
// "Fail to initialize Direct Sound\n", calls ReleaseSound and goes on without sound.
// `service` must outlive the sound record's use of it.
int InitSound(MachineState& machine, SoundState& sound, SoundService& service,
              const SoundSettings& settings);

// Fills the buffer with silence (0, or 0x80 for 8-bit samples). Returns 1, or 0 when its
// format cannot be read or it cannot be locked.
int ClearSoundBuffer(SoundService& service, SoundBufferHandle buffer);

// Stops and releases every sound object (the primary buffer, the channel buffers, the
// expansion buffers, then the service itself) and clears each reference. Safe to repeat.
void ReleaseSound(SoundState& sound);

// Copies one frame's samples into a locked buffer from `writePosition` on, wrapping at the
// buffer's end.
void CopyFrameIntoBuffer(const SoundLockedRegion& region, uint32_t writePosition,
                         const int16_t* samples, uint32_t count);

}  // namespace wrenfold
