// wrenfold: takes every option from Wrenfold.CFG in the working folder; there is no command line.
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
  return StartUp(TheMachine(), TheHost(), TheSoundState(), platform);
}
