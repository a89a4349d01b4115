// Input without a window system: the caller scripts key transitions, the window focus and
// the joystick, and the devices created here read them as the real ones read theirs.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/common/buffered_keyboard.h"
#include "platform/input.h"

namespace wrenfold {

class HeadlessInput final : public Input {
 public:
  int32_t CreateKeyboard(std::unique_ptr<Keyboard>* keyboard) override;
  int32_t CreateFirstJoystick(std::unique_ptr<Joystick>* joystick) override;
  // Reads whatever AttachJoystick says at each poll, attached now or not.
  int32_t CreateJoystickSlot(std::unique_ptr<Joystick>* joystick) override;

  // A key transition as the window system would deliver it (auto-repeat included).
  void InjectKey(uint8_t scanCode, bool pressed, bool autoRepeat = false) {
    keys.Push(scanCode, pressed, autoRepeat);
  }
  void PressKey(uint8_t scanCode) { InjectKey(scanCode, true); }
  void ReleaseKey(uint8_t scanCode) { InjectKey(scanCode, false); }
  std::size_t PendingKeys() const { return keys.Pending(); }

  // Whether the emulator window has the keyboard (it has from the start).
  void SetFocus(bool focused) { focus = focused; }
  bool HasFocus() const { return focus; }

  // No joystick is attached until the caller attaches one.
  void AttachJoystick(bool attached) { joystickAttached = attached; }
  bool JoystickAttached() const { return joystickAttached; }
  // The state the next Poll picks up.
  void SetJoystickState(const JoystickState& state) { joystickState = state; }
  const JoystickState& ScriptedJoystickState() const { return joystickState; }

 private:
  KeyEventBuffer keys;
  bool focus = true;
  bool joystickAttached = false;
  JoystickState joystickState = CentredJoystickState();
};

}  // namespace wrenfold
