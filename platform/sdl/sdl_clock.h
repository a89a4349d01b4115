// The millisecond clock on SDL's tick counter.
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/sdl/sdl_platform.h"

namespace wrenfold {

class SdlClock final : public Clock {
 public:
  explicit SdlClock(SdlPlatform& platform) { platform.StartSubsystems(SDL_INIT_TIMER); }

  uint32_t Milliseconds() override { return SDL_GetTicks(); }
  void Sleep(uint32_t milliseconds) override { SDL_Delay(milliseconds); }
};

}  // namespace wrenfold
