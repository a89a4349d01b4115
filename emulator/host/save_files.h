// What the save-state and movie code keeps while a game runs, and where it joins
// the host: start-up attaches it to the hot keys, the end of the run closes it.
#pragma once

#include "emulator/host/movie.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

struct HostState;

struct SaveFiles {
  MovieState movie;
};

// After the cartridge is loaded: F5, F7, F1, F2 and the per-frame movie step act through this
// code on the files beside the ROM.
void AttachSaveFiles(const MachineState& machine, HostState& host);

// The normal end of a run, after the exit request: a recording is kept and playback ends.
void CloseSaveFiles(const MachineState& machine, HostState& host);

}  // namespace wrenfold
