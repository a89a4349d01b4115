// What the save-state, movie and battery-RAM code keeps while a game runs, and where it joins
// the host: start-up attaches it to the hot keys, the end of the run closes it.
#pragma once

#include "emulator/host/battery_ram.h"
#include "emulator/host/movie.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

struct HostState;

struct SaveFiles {
  MovieState movie;
  BatteryRam battery;
};

// After the cartridge is loaded: F5, F7, F1, F2 and the per-frame movie step act through this
// code on the files beside the ROM, and a battery cartridge's RAM file is looked for (it is
// read after power-on, by BeginRun).
void AttachSaveFiles(const MachineState& machine, HostState& host);

// The normal end of a run, after the exit request or the runner's last frame: a recording is
// kept, playback ends and battery RAM is written back.
void CloseSaveFiles(const MachineState& machine, HostState& host);

}  // namespace wrenfold
