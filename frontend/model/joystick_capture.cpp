#include "frontend/model/joystick_capture.h"

#include <bit>

namespace wrenfold {

int JoystickButtonFromMask(uint32_t buttons) {
  return buttons == 0 ? 0 : std::bit_width(buttons);
}

JoystickCaptureStep NextJoystickCaptureStep(const JoystickPoll& poll) {
  JoystickCaptureStep step;
  switch (poll.result) {
    case kJoystickOk:
      break;
    case kJoystickUnplugged:
      step.outcome = JoystickCaptureOutcome::Failed;
      step.failureTitle = MessageId::JoystickFailTitle;
      step.failureText = MessageId::JoystickUnpluggedText;
      return step;
    default:  // no driver, or any other failure of the service
      step.outcome = JoystickCaptureOutcome::Failed;
      step.failureTitle = MessageId::JoystickFailTitle;
      step.failureText = MessageId::JoystickNoDriverText;
      return step;
  }
  step.button = JoystickButtonFromMask(poll.buttons);
  step.outcome =
      step.button == 0 ? JoystickCaptureOutcome::Waiting : JoystickCaptureOutcome::Captured;
  return step;
}

}  // namespace wrenfold
