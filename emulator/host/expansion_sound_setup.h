// Creating the extra sound channels of the Namco 106 (mapper 19) and VRC6 (mapper 24)
// cartridges once the cartridge is loaded. The entries start as the real set-up; a test may
// put its own in, and a null entry makes that cartridge play without its extra channels.
#pragma once

#include "emulator/machine_state/machine_state.h"
#include "emulator/sound/namco_sound.h"
#include "emulator/sound/sound_state.h"
#include "emulator/sound/vrc6_sound.h"

namespace wrenfold {

// Returns 1 when the channels were created; start-up goes on either way.
using CreateExpansionChannels = int (*)(MachineState& machine, SoundState& sound);

struct ExpansionSoundSetup {
  CreateExpansionChannels createNamcoChannels = CreateNamcoChannels;
  CreateExpansionChannels createVrc6Channels = CreateVrc6Channels;
};

}  // namespace wrenfold
