// One frame of APU sound: each channel's samples go into its own looping buffer at the
// common write position; the sound service mixes the buffers as they play.
#pragma once

#include "emulator/machine_state/machine_state.h"
#include "emulator/sound/sound_state.h"

namespace wrenfold {

// Call once per frame, at the frame's start before the scanlines run, while sound is
// enabled (it does nothing before InitSound has succeeded). Reads the register images
// $4000-$4015 and the change flags in machine.apuFlags, clears the flags it takes, and
// writes the delta-modulation level back into the $4011 image. Playback starts in the first
// call that sees machine.frameCounter (the NMI count, see EnterNmi) at 2 or more, so two
// frames are written ahead of playback. Then it advances the write position by this frame's
// 367 or 368 samples and reports it to the service.
void MixFrameSound(MachineState& machine, SoundState& sound);

}  // namespace wrenfold
