// Per-standard frame shape and the pacing table of the run loop.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "emulator/host/host_settings.h"

namespace wrenfold {

// Frames run 60 a second for NTSC and PAL alike.
inline constexpr std::size_t kFramesPerSecond = 60;

struct FrameTiming {
  uint16_t scanlinesPerFrame;  // 262 NTSC, 290 PAL
  uint16_t renderedLines;      // lines drawn per frame: 232 NTSC, 240 PAL (F10 swaps them)
  uint16_t visibleLineLimit;   // lines 0-239 are rendering lines
  uint16_t vblankLine;         // the line that raises vblank and the NMI
  // Millisecond deadline of each frame within one second: entry i = (i + 1) * 1000 / 60.
  std::array<uint16_t, kFramesPerSecond> frameDeadlines;
};

FrameTiming FrameTimingFor(VideoStandard standard);

}  // namespace wrenfold
