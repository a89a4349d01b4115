#include "emulator/sound/sound_state.h"

#include <cstring>
#include <type_traits>

namespace wrenfold {

static_assert(std::is_trivially_copyable_v<SoundState>, "the sound record is reset as bytes");

void ResetSoundState(SoundState& sound) {
  std::memset(&sound, 0, sizeof sound);
  sound.output.samplesThisFrame = kFirstFrameSamples;
  sound.output.firstFrame = true;
}

SoundState& TheSoundState() {
  static SoundState sound = [] {
    SoundState initial;
    ResetSoundState(initial);
    return initial;
  }();
  return sound;
}

}  // namespace wrenfold
