#include "platform/sdl/sdl_input.h"

#include "platform/sdl/sdl_pad.h"

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

// The first attached device, picked up again when one is plugged in after the last was
// pulled out; with none attached it reads as a stick at rest with no button held.
class SdlJoystick final : public Joystick {
 public:
  explicit SdlJoystick(std::unique_ptr<SdlPad> pad) : pad(std::move(pad)) {}

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
    // Updating also notices devices plugged in or pulled out.
    SDL_JoystickUpdate();
    pad->Connect();
    return kInputOk;
  }
  int32_t GetState(JoystickState* state) override {
    if (state == nullptr) return kInputErrInvalidParam;
    if (!acquired) return kInputErrNotAcquired;
    *state = pad->Read();
    return kInputOk;
  }

 private:
  std::unique_ptr<SdlPad> pad;
  bool acquired = false;
};

}  // namespace

int32_t SdlInput::CreateKeyboard(std::unique_ptr<Keyboard>* keyboard) {
  if (keyboard == nullptr) return kInputErrInvalidParam;
  if (!platform.StartSubsystems(SDL_INIT_VIDEO)) return kInputErrNotInitialized;
  *keyboard = std::make_unique<SdlKeyboard>(platform);
  return kInputOk;
}

bool SdlInput::StartJoysticks() {
  if (!platform.StartSubsystems(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER)) return false;
  // The state is read by polling, so device events would only fill the queue.
  SDL_JoystickEventState(SDL_IGNORE);
  SDL_GameControllerEventState(SDL_IGNORE);
  return true;
}

int32_t SdlInput::CreateFirstJoystick(std::unique_ptr<Joystick>* joystick) {
  if (joystick == nullptr) return kInputErrInvalidParam;
  if (!StartJoysticks()) return kInputErrNotInitialized;
  auto pad = std::make_unique<SdlPad>();
  if (!pad->Connect()) return kInputErrNotFound;
  *joystick = std::make_unique<SdlJoystick>(std::move(pad));
  return kInputOk;
}

int32_t SdlInput::CreateJoystickSlot(std::unique_ptr<Joystick>* joystick) {
  if (joystick == nullptr) return kInputErrInvalidParam;
  if (!StartJoysticks()) return kInputErrNotInitialized;
  *joystick = std::make_unique<SdlJoystick>(std::make_unique<SdlPad>());
  return kInputOk;
}

}  // namespace wrenfold
