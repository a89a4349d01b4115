// Input on SDL: the keyboard through the platform's event pump (scan codes translated to
// DirectInput codes, usable while the emulator window has the focus), and the first
// joystick or game controller SDL can open, read by polling (platform/sdl/sdl_pad.h).
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
  int32_t CreateJoystickSlot(std::unique_ptr<Joystick>* joystick) override;

 private:
  bool StartJoysticks();

  SdlPlatform& platform;
};

}  // namespace wrenfold
