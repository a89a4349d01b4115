// Creating the extra sound channels of the Namco 106 (mapper 19) and VRC6 (mapper 24)
// cartridges once the cartridge is loaded. The expansion-sound code plugs its set-up in
// here; while an entry is null that cartridge plays without its extra channels.
#pragma once

#include "emulator/machine_state/machine_state.h"
#include "emulator/sound/sound_state.h"

namespace wrenfold {

using CreateExpansionChannels = void (*)(MachineState& machine, SoundState& sound);

struct ExpansionSoundSetup {
  CreateExpansionChannels createNamcoChannels = nullptr;
  CreateExpansionChannels createVrc6Channels = nullptr;
};

}  // namespace wrenfold
