#include "emulator/host/input_devices.h"

#include <string>

#include "emulator/host/failure_messages.h"
#include "emulator/host/log.h"

namespace wrenfold {

int32_t SetUpKeyboard(InputDevices& devices, Input& input) {
  std::unique_ptr<Keyboard> keyboard;
  if (const int32_t result = input.CreateKeyboard(&keyboard); InputFailed(result)) return result;
  if (const int32_t result = keyboard->SetBufferSize(kKeyboardFetchLimit); InputFailed(result)) {
    LogText("DirectInput fail");
    return result;
  }
  keyboard->Acquire();
  devices.keyboard = std::move(keyboard);
  LogText("Keyboard initialized\n");
  return kInputOk;
}

void SetUpJoystick(InputDevices& devices, Input& input, MessageBox& messageBox) {
  std::unique_ptr<Joystick> joystick;
  if (InputFailed(input.CreateFirstJoystick(&joystick)) || joystick == nullptr) {
    LogText("Fail to initialize joystick\n");
    messageBox.Show("Error!",
                    std::string("Fail to initialize DirectInput") + kJoystickMissingAdvice);
    // A joystick plugged in while the game runs is taken all the same.
    joystick.reset();
    if (InputFailed(input.CreateJoystickSlot(&joystick)) || joystick == nullptr) return;
    joystick->Acquire();
    devices.joystick = std::move(joystick);
    return;
  }
  if (const int32_t result = joystick->Acquire(); InputFailed(result)) {
    LogDirectInputError(static_cast<uint32_t>(result));
  } else {
    LogText("Joystick successfully initialized\n");
  }
  devices.joystick = std::move(joystick);
}

void ReleaseInputDevices(InputDevices& devices) {
  if (devices.keyboard) {
    devices.keyboard->Unacquire();
    devices.keyboard.reset();
  }
  if (devices.joystick) {
    devices.joystick->Unacquire();
    devices.joystick.reset();
  }
}

}  // namespace wrenfold
