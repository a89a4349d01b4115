#include "platform/sdl/sdl_input.h"

#include <cstdio>

namespace wrenfold {

namespace {

class SdlKeyboard final : public ForegroundKeyboard {
 public:
  explicit SdlKeyboard(SdlPlatform& platform)
      : ForegroundKeyboard(platform.Keys()), platform(platform) {}

 protected:
  void PumpEvents() override { platform.PumpEvents(); }
  bool WindowHasFocus() override { return platform.WindowHasKeyboardFocus(); }

 private:
  SdlPlatform& platform;
};

class SdlJoystick final : public Joystick {
 public:
  explicit SdlJoystick(SDL_Joystick* joystick) : joystick(joystick) {}
  ~SdlJoystick() override { SDL_JoystickClose(joystick); }
  SdlJoystick(const SdlJoystick&) = delete;
  SdlJoystick& operator=(const SdlJoystick&) = delete;

  int32_t Acquire() override {
    acquired = true;
    return kInputOk;
  }
  int32_t Unacquire() override {
    acquired = false;
    return kInputOk;
  }
  int32_t Poll() override {
    if (!acquired) return kInputErrNotAcquired;
    SDL_JoystickUpdate();
    return SDL_JoystickGetAttached(joystick) ? kInputOk : kInputErrInputLost;
  }
  int32_t GetState(JoystickState* state) override {
    if (state == nullptr) return kInputErrInvalidParam;
    if (!acquired) return kInputErrNotAcquired;
    if (!SDL_JoystickGetAttached(joystick)) return kInputErrInputLost;
    ReadJoystickState(joystick, state);
    return kInputOk;
  }

 private:
  SDL_Joystick* joystick;
  bool acquired = false;
};

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

}  // namespace

void ReadJoystickState(SDL_Joystick* joystick, JoystickState* state) {
  *state = CentredJoystickState();
  int32_t* axes[] = {&state->x,         &state->y,         &state->z,
                     &state->rotationX, &state->rotationY, &state->rotationZ};
  const int axisCount = SDL_JoystickNumAxes(joystick);
  for (int axis = 0; axis < axisCount && axis < 6; ++axis) {
    *axes[axis] = SDL_JoystickGetAxis(joystick, axis) + kJoystickAxisCentre;
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

int32_t SdlInput::CreateKeyboard(std::unique_ptr<Keyboard>* keyboard) {
  if (keyboard == nullptr) return kInputErrInvalidParam;
  if (!platform.StartSubsystems(SDL_INIT_VIDEO)) return kInputErrNotInitialized;
  *keyboard = std::make_unique<SdlKeyboard>(platform);
  return kInputOk;
}

int32_t SdlInput::CreateFirstJoystick(std::unique_ptr<Joystick>* joystick) {
  if (joystick == nullptr) return kInputErrInvalidParam;
  if (!platform.StartSubsystems(SDL_INIT_JOYSTICK)) return kInputErrNotInitialized;
  // The state is read by polling, so joystick events would only fill the queue.
  SDL_JoystickEventState(SDL_IGNORE);
  const int count = SDL_NumJoysticks();
  for (int index = 0; index < count; ++index) {
    if (SDL_Joystick* opened = SDL_JoystickOpen(index)) {
      *joystick = std::make_unique<SdlJoystick>(opened);
      return kInputOk;
    }
  }
  return kInputErrNotFound;
}

}  // namespace wrenfold
