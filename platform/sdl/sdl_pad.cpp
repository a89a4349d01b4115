#include "platform/sdl/sdl_pad.h"

namespace wrenfold {
namespace {

// A trigger counts as a button past half its travel.
constexpr int16_t kTriggerPressed = 16384;
constexpr int32_t kAxisMaximum = 65535;

uint32_t PovFromHat(uint8_t hat) {
  switch (hat) {
    case SDL_HAT_UP:
      return 0;
    case SDL_HAT_RIGHTUP:
      return 4500;
    case SDL_HAT_RIGHT:
      return 9000;
    case SDL_HAT_RIGHTDOWN:
      return 13500;
    case SDL_HAT_DOWN:
      return 18000;
    case SDL_HAT_LEFTDOWN:
      return 22500;
    case SDL_HAT_LEFT:
      return 27000;
    case SDL_HAT_LEFTUP:
      return 31500;
    default:
      return kPovCentred;
  }
}

int32_t AxisValue(int16_t sdlValue) {
  return int32_t{sdlValue} + kJoystickAxisCentre;
}

}  // namespace

JoystickState JoystickStateFromController(const ControllerReading& reading) {
  JoystickState state = CentredJoystickState();
  state.x = AxisValue(reading.axes[SDL_CONTROLLER_AXIS_LEFTX]);
  state.y = AxisValue(reading.axes[SDL_CONTROLLER_AXIS_LEFTY]);
  state.rotationX = AxisValue(reading.axes[SDL_CONTROLLER_AXIS_RIGHTX]);
  state.rotationY = AxisValue(reading.axes[SDL_CONTROLLER_AXIS_RIGHTY]);
  state.z = AxisValue(reading.axes[SDL_CONTROLLER_AXIS_TRIGGERLEFT]);
  state.rotationZ = AxisValue(reading.axes[SDL_CONTROLLER_AXIS_TRIGGERRIGHT]);

  const bool up = reading.buttons[SDL_CONTROLLER_BUTTON_DPAD_UP];
  const bool down = reading.buttons[SDL_CONTROLLER_BUTTON_DPAD_DOWN];
  const bool left = reading.buttons[SDL_CONTROLLER_BUTTON_DPAD_LEFT];
  const bool right = reading.buttons[SDL_CONTROLLER_BUTTON_DPAD_RIGHT];
  if (up != down) state.y = up ? 0 : kAxisMaximum;
  if (left != right) state.x = left ? 0 : kAxisMaximum;
  uint8_t hat = SDL_HAT_CENTERED;
  if (up && !down) hat |= SDL_HAT_UP;
  if (down && !up) hat |= SDL_HAT_DOWN;
  if (left && !right) hat |= SDL_HAT_LEFT;
  if (right && !left) hat |= SDL_HAT_RIGHT;
  state.povs[0] = PovFromHat(hat);

  for (std::size_t number = 0; number < kControllerButtonOrder.size(); ++number) {
    if (reading.buttons[kControllerButtonOrder[number]]) state.buttons[number] = kKeyPressed;
  }
  if (reading.axes[SDL_CONTROLLER_AXIS_TRIGGERLEFT] >= kTriggerPressed) {
    state.buttons[kLeftTriggerButton] = kKeyPressed;
  }
  if (reading.axes[SDL_CONTROLLER_AXIS_TRIGGERRIGHT] >= kTriggerPressed) {
    state.buttons[kRightTriggerButton] = kKeyPressed;
  }
  return state;
}

void ReadJoystickState(SDL_Joystick* joystick, JoystickState* state) {
  *state = CentredJoystickState();
  int32_t* axes[] = {&state->x,         &state->y,         &state->z,
                     &state->rotationX, &state->rotationY, &state->rotationZ};
  const int axisCount = SDL_JoystickNumAxes(joystick);
  for (int axis = 0; axis < axisCount && axis < 6; ++axis) {
    *axes[axis] = AxisValue(SDL_JoystickGetAxis(joystick, axis));
  }
  const int hatCount = SDL_JoystickNumHats(joystick);
  for (int hat = 0; hat < hatCount && hat < 4; ++hat) {
    state->povs[hat] = PovFromHat(SDL_JoystickGetHat(joystick, hat));
  }
  const int buttonCount = SDL_JoystickNumButtons(joystick);
  for (int button = 0; button < buttonCount && button < 32; ++button) {
    state->buttons[button] = SDL_JoystickGetButton(joystick, button) ? kKeyPressed : 0;
  }
}

bool SdlPad::Connected() const {
  return joystick != nullptr && SDL_JoystickGetAttached(joystick);
}

bool SdlPad::Connect() {
  if (Connected()) return true;
  Close();
  const int count = SDL_NumJoysticks();
  for (int index = 0; index < count; ++index) {
    if (SDL_IsGameController(index)) {
      controller = SDL_GameControllerOpen(index);
      if (controller != nullptr) {
        joystick = SDL_GameControllerGetJoystick(controller);
        return true;
      }
    }
    joystick = SDL_JoystickOpen(index);
    if (joystick != nullptr) return true;
  }
  return false;
}

void SdlPad::Close() {
  if (controller != nullptr) {
    SDL_GameControllerClose(controller);
  } else if (joystick != nullptr) {
    SDL_JoystickClose(joystick);
  }
  controller = nullptr;
  joystick = nullptr;
}

JoystickState SdlPad::Read() const {
  if (!Connected()) return CentredJoystickState();
  if (controller == nullptr) {
    JoystickState state;
    ReadJoystickState(joystick, &state);
    return state;
  }
  ControllerReading reading;
  for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
    reading.buttons[button] =
        SDL_GameControllerGetButton(controller, static_cast<SDL_GameControllerButton>(button)) != 0;
  }
  for (int axis = 0; axis < SDL_CONTROLLER_AXIS_MAX; ++axis) {
    reading.axes[axis] =
        SDL_GameControllerGetAxis(controller, static_cast<SDL_GameControllerAxis>(axis));
  }
  return JoystickStateFromController(reading);
}

}  // namespace wrenfold
