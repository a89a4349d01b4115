// The keyboard and joystick devices the emulator reads, created at start-up from the
// input service and released once by ReleaseAll.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/input.h"
#include "platform/message_box.h"

namespace wrenfold {

struct InputDevices {
  std::unique_ptr<Keyboard> keyboard;
  std::unique_ptr<Joystick> joystick;
};

// Creates the buffered system keyboard with a buffer of 32 events and acquires it, logging
// "Keyboard initialized". A failure code comes back for the caller to report; a refused
// acquire is no failure (the frame driver acquires again while the window lacks the focus).
int32_t SetUpKeyboard(InputDevices& devices, Input& input);

// Takes the first attached joystick and acquires it. Without one the log gets "Fail to
// initialize joystick" and a message box says so; the emulator runs on and takes a joystick
// plugged in later where the input service can.
void SetUpJoystick(InputDevices& devices, Input& input, MessageBox& messageBox);

// Unacquires and releases the keyboard, then the joystick; safe to repeat.
void ReleaseInputDevices(InputDevices& devices);

}  // namespace wrenfold
