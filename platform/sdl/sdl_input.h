// Input on SDL: the keyboard through the platform's event pump (scan codes translated to
// DirectInput codes, usable while the emulator window has the focus), and the first
// joystick SDL can open, read by polling.
#pragma once

#include <SDL.h>

#include <memory>

#include "platform/input.h"
#include "platform/sdl/sdl_platform.h"

namespace wrenfold {

class SdlInput final : public Input {
 public:
  explicit SdlInput(SdlPlatform& platform) : platform(platform) {}

  int32_t CreateKeyboard(std::unique_ptr<Keyboard>* keyboard) override;
  int32_t CreateFirstJoystick(std::unique_ptr<Joystick>* joystick) override;

 private:
  SdlPlatform& platform;
};

// Reads an opened SDL joystick into the standard state record: axes 0-5 shifted to 0-65535,
// hats as directions in hundredths of a degree, buttons as 0x80.
void ReadJoystickState(SDL_Joystick* joystick, JoystickState* state);

}  // namespace wrenfold
