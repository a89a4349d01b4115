// The SDL side of the front-end: the displays the emulator can be shown on, named as the
// emulator names its display drivers, and joystick 0 for the button capture.
#pragma once

#include <vector>

#include "frontend/ui/frontend_services.h"

struct _SDL_Joystick;

namespace wrenfold {

std::vector<DisplayDevice> EnumerateSdlDisplays();

class SdlJoystickSource final : public JoystickSource {
 public:
  ~SdlJoystickSource() override { Release(); }
  JoystickPoll Poll() override;
  void Release() override;

 private:
  bool subsystemStarted = false;
  _SDL_Joystick* joystick = nullptr;
};

}  // namespace wrenfold
