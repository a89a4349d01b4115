// The joystick button capture of the control panel's joystick boxes: what one poll of joystick 0
// means for the box being filled.
#pragma once

#include <cstdint>

#include "frontend/model/ui_text.h"

namespace wrenfold {

// Results of a joystick poll, numbered as the multimedia joystick call numbers them.
inline constexpr int kJoystickOk = 0;
inline constexpr int kJoystickNoDriver = 6;     // the joystick service cannot start
inline constexpr int kJoystickUnplugged = 167;  // no joystick attached

struct JoystickPoll {
  int result = kJoystickOk;
  uint32_t buttons = 0;  // bit k set: button k + 1 is down
};

enum class JoystickCaptureOutcome {
  Waiting,   // no button down yet: poll again
  Captured,  // `button` is the number to store
  Failed,    // show `failureTitle` / `failureText` and give up
};

struct JoystickCaptureStep {
  JoystickCaptureOutcome outcome = JoystickCaptureOutcome::Waiting;
  int button = 0;
  MessageId failureTitle = MessageId::Count;
  MessageId failureText = MessageId::Count;
};

// The number of the highest button held down (bit k gives k + 1); 0 for none. With several
// buttons down, a button that is really held is taken rather than a number between them.
int JoystickButtonFromMask(uint32_t buttons);

JoystickCaptureStep NextJoystickCaptureStep(const JoystickPoll& poll);

}  // namespace wrenfold
