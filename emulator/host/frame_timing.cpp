#include "emulator/host/frame_timing.h"

namespace wrenfold {

FrameTiming FrameTimingFor(VideoStandard standard) {
  const bool pal = standard == VideoStandard::kPal;
  FrameTiming timing{};
  timing.scanlinesPerFrame = pal ? 290 : 262;
  timing.renderedLines = pal ? 240 : 232;
  timing.visibleLineLimit = 240;
  timing.vblankLine = 243;
  for (std::size_t i = 0; i < kFramesPerSecond; ++i) {
    timing.frameDeadlines[i] = static_cast<uint16_t>((i + 1) * 1000 / kFramesPerSecond);
  }
  return timing;
}

}  // namespace wrenfold
