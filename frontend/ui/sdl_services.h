// The SDL side of the front-end: the displays the emulator can be shown on, named as the
// emulator names its display drivers, and joystick 0 for the button capture.
#pragma once

#include <memory>
#include <vector>

#include "frontend/ui/frontend_services.h"

namespace wrenfold {

class SdlPad;

std::vector<DisplayDevice> EnumerateSdlDisplays();

// The first joystick or game controller, its buttons numbered as the emulator reads them.
class SdlJoystickSource final : public JoystickSource {
 public:
  SdlJoystickSource();
  ~SdlJoystickSource() override;
  JoystickPoll Poll() override;
  void Release() override;

 private:
  bool subsystemStarted = false;
  std::unique_ptr<SdlPad> pad;
};

}  // namespace wrenfold
