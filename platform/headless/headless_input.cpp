#include "platform/headless/headless_input.h"

namespace wrenfold {

namespace {

class HeadlessKeyboard final : public ForegroundKeyboard {
 public:
  HeadlessKeyboard(HeadlessInput& input, KeyEventBuffer& keys)
      : ForegroundKeyboard(keys), input(input) {}

 protected:
  void PumpEvents() override {}
  bool WindowHasFocus() override { return input.HasFocus(); }

 private:
  HeadlessInput& input;
};

class HeadlessJoystick final : public Joystick {
 public:
  explicit HeadlessJoystick(const HeadlessInput& input) : input(input) {}

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
    if (!input.JoystickAttached()) return kInputErrInputLost;
    polled = input.ScriptedJoystickState();
    return kInputOk;
  }
  int32_t GetState(JoystickState* state) override {
    if (state == nullptr) return kInputErrInvalidParam;
    if (!acquired) return kInputErrNotAcquired;
    if (!input.JoystickAttached()) return kInputErrInputLost;
    *state = polled;
    return kInputOk;
  }

 private:
  const HeadlessInput& input;
  bool acquired = false;
  JoystickState polled = CentredJoystickState();
};

}  // namespace

int32_t HeadlessInput::CreateKeyboard(std::unique_ptr<Keyboard>* keyboard) {
  if (keyboard == nullptr) return kInputErrInvalidParam;
  *keyboard = std::make_unique<HeadlessKeyboard>(*this, keys);
  return kInputOk;
}

int32_t HeadlessInput::CreateFirstJoystick(std::unique_ptr<Joystick>* joystick) {
  if (joystick == nullptr) return kInputErrInvalidParam;
  if (!joystickAttached) return kInputErrNotFound;
  *joystick = std::make_unique<HeadlessJoystick>(*this);
  return kInputOk;
}

int32_t HeadlessInput::CreateJoystickSlot(std::unique_ptr<Joystick>* joystick) {
  if (joystick == nullptr) return kInputErrInvalidParam;
  *joystick = std::make_unique<HeadlessJoystick>(*this);
  return kInputOk;
}

}  // namespace wrenfold
