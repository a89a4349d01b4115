// The services of the machine the front-end runs on, gathered so that tests can stand in for
// them: the folders, the display list offered for DDEVICE= and the joystick polled by the
// button capture.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "frontend/model/joystick_capture.h"

namespace wrenfold {

struct DisplayDevice {
  QString description;  // shown in the display list
  QString id;           // written as DDEVICE=; the emulator matches it against its driver names
};

class JoystickSource {
 public:
  virtual ~JoystickSource() = default;
  // One poll of joystick 0: the result code and the buttons held down.
  virtual JoystickPoll Poll() = 0;
  // The capture is over; the device may be closed.
  virtual void Release() {}
};

struct FrontendServices {
  QString workingFolder;  // the current folder at start
  QString programFolder;  // where cartdesk, wrenfold and libsumtab20.so lie
  std::function<std::vector<DisplayDevice>()> enumerateDisplays;
  std::shared_ptr<JoystickSource> joystick;
};

// The current folder, the executable's folder, SDL's displays and SDL's joystick 0.
FrontendServices DefaultFrontendServices();

}  // namespace wrenfold
