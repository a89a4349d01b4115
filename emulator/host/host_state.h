// What the emulator host keeps for the whole run: the options, and the values start-up
// derives from them for the run loop and the display.
#pragma once

#include "emulator/host/display_geometry.h"
#include "emulator/host/frame_timing.h"
#include "emulator/host/host_settings.h"

namespace wrenfold {

struct HostState {
  HostSettings settings;
  FrameTiming timing = FrameTimingFor(VideoStandard::kNtsc);
  DisplayGeometry display = DisplayGeometryFor(1);
};

// The emulator's single host record. Tests may use their own HostState instead.
HostState& TheHost();

}  // namespace wrenfold
