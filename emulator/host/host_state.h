// What the emulator host keeps for the whole run: the options, the values start-up derives
// from them, the services it was given, and the video, input and run-loop records.
#pragma once

#include "emulator/host/display_geometry.h"
#include "emulator/host/expansion_sound_setup.h"
#include "emulator/host/frame_timing.h"
#include "emulator/host/host_platform.h"
#include "emulator/host/host_settings.h"
#include "emulator/host/hot_key_actions.h"
#include "emulator/host/input_devices.h"
#include "emulator/host/pad_input.h"
#include "emulator/host/run_state.h"
#include "emulator/host/save_files.h"
#include "emulator/host/video_output.h"
#include "emulator/sound/sound_state.h"

namespace wrenfold {

struct HostState {
  HostSettings settings;
  FrameTiming timing = FrameTimingFor(VideoStandard::kNtsc);
  DisplayGeometry display = DisplayGeometryFor(1);

  Platform* platform = nullptr;  // the services start-up was given
  SoundState* sound = nullptr;   // the sound record start-up set up

  VideoState video;
  InputState input;
  InputDevices inputDevices;
  RunState run;

  // Filled in by the save-state / movie and expansion-sound code; null entries do nothing.
  HotKeyActions hotKeys;
  ExpansionSoundSetup expansionSound;
  // The movie being recorded or played and the battery RAM file (AttachSaveFiles).
  SaveFiles saveFiles;
};

// The emulator's single host record. Tests may use their own HostState instead.
HostState& TheHost();

}  // namespace wrenfold
