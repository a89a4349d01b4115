// wrenfold: takes every option from Wrenfold.CFG in the working folder; there is no command line.
#include <cstdio>
#include <cstdlib>

#include "emulator/host/startup.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_sound.h"

int main() {
  using namespace wrenfold;
  // The SDL owner is made first and so outlives every service built on it.
  SdlPlatform sdl;
  SdlDisplay display(sdl);
  SdlInput input(sdl);
  SdlClock clock(sdl);
  SdlMessageBox messageBox(sdl);
  SdlSoundService sound;
  Platform platform{display, input, clock, messageBox, sound};
  const int status = StartUp(TheMachine(), TheHost(), TheSoundState(), platform);
  // Moments the play position overtook the written sound or the writing lapped it: audible
  // dropouts, reported on request for measuring long runs.
  if (std::getenv("WRENFOLD_SOUND_STATS") != nullptr) {
    std::fprintf(stderr, "wrenfold: sound glitches: %u\n", sound.GlitchCount());
  }
  return status;
}
