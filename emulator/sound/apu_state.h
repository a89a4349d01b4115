// The synthesis state of the five APU channels. It is not part of a save state: after a
// load the channels go on from where they are with the loaded registers.
#pragma once

#include "emulator/sound/dmc_channel.h"
#include "emulator/sound/noise_channel.h"
#include "emulator/sound/pulse_channel.h"
#include "emulator/sound/triangle_channel.h"

namespace wrenfold {

struct ApuState {
  PulseState pulse[2];
  TriangleState triangle;
  NoiseState noise;
  DmcState dmc;
};

}  // namespace wrenfold
