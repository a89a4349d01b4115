// The emulator's entry sequence and its one teardown.
#pragma once

#include <cstdint>

#include "emulator/host/host_state.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

enum class StartUpResult : uint8_t {
  kReady,     // the cartridge is loaded
  kRomError,  // the cartridge could not be loaded; "Error reading ROM" is in the log
};

// Starts the emulator in the working folder: empties the log, reads Wrenfold.CFG into
// host.settings, derives the display and timing values, builds the ROM path and loads the
// cartridge into `machine`. On failure everything acquired is already released.
StartUpResult StartUp(MachineState& machine, HostState& host);

// Releases everything start-up acquired, each item once; later calls find nothing to release.
void ReleaseAll(HostState& host);

}  // namespace wrenfold
