// What the save-state and movie keys do. The frame driver only calls through this record,
// so the save-state and movie code plugs itself in here; an entry left null makes its key
// do nothing.
#pragma once

#include <cstdint>

#include "emulator/host/host_settings.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// `context` is HotKeyActions::context; `saveSlot` is the slot the number keys chose (0-9).
using HotKeyAction = void (*)(void* context, MachineState& machine, const HostSettings& settings,
                              uint8_t saveSlot);

struct HotKeyActions {
  void* context = nullptr;
  HotKeyAction toggleRecording = nullptr;  // F1: stops the movie being recorded, or starts one
  HotKeyAction togglePlayback = nullptr;   // F2: stops the movie being played, or starts one
  HotKeyAction saveState = nullptr;        // F5
  HotKeyAction loadState = nullptr;        // F7
  // Once per frame after the pads are read: records machine.padState, or replaces it with
  // the movie's bytes.
  HotKeyAction stepMovie = nullptr;
};

}  // namespace wrenfold
