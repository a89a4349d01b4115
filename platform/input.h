// The input service: a buffered keyboard reporting DirectInput (PC set-1) scan codes, and
// the first attached joystick read by polling. Devices are owned by the caller; destroying
// one releases it. The Input object must outlive the devices it created.
#pragma once

#include <cstdint>
#include <memory>

namespace wrenfold {

// Result codes of the input service: 0 success, failures negative, with the values the
// classic input library uses so LogDirectInputError can name them.
inline constexpr int32_t kInputOk = 0;
inline constexpr int32_t kInputErrGeneric = static_cast<int32_t>(0x80004005u);
inline constexpr int32_t kInputErrNotFound = static_cast<int32_t>(0x80070002u);
// Acquire refused: another window has the keyboard.
inline constexpr int32_t kInputErrOtherAppHasPriority = static_cast<int32_t>(0x80070005u);
inline constexpr int32_t kInputErrNotAcquired = static_cast<int32_t>(0x8007000Cu);
inline constexpr int32_t kInputErrNotInitialized = static_cast<int32_t>(0x80070015u);
// The device was taken away (focus lost, joystick unplugged); acquire again.
inline constexpr int32_t kInputErrInputLost = static_cast<int32_t>(0x8007001Eu);
inline constexpr int32_t kInputErrInvalidParam = static_cast<int32_t>(0x80070057u);

inline constexpr bool InputFailed(int32_t result) {
  return result < 0;
}

// One buffered key transition.
struct KeyEvent {
  uint8_t scanCode = 0;  // DirectInput scan code (platform/dik_codes.h)
  uint8_t data = 0;      // kKeyPressed for a press, 0 for a release
};
inline constexpr uint8_t kKeyPressed = 0x80;

// The most events one fetch returns; the others wait for the next fetch.
inline constexpr int kKeyboardFetchLimit = 32;

class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // Caps the events one fetch returns, 1 to kKeyboardFetchLimit (default the limit).
  virtual int32_t SetBufferSize(int events) = 0;
  // Fails with kInputErrOtherAppHasPriority while the window does not have the keyboard.
  virtual int32_t Acquire() = 0;
  virtual int32_t Unacquire() = 0;
  // Moves up to min(capacity, buffer size) pending events, oldest first, into `events` and
  // stores their number in *count. Fails with kInputErrInputLost while the window does not
  // have the keyboard (the device then needs Acquire again), kInputErrNotAcquired before
  // Acquire. Key auto-repeat is never reported.
  virtual int32_t FetchEvents(KeyEvent* events, int capacity, int* count) = 0;
};

// The standard 80-byte joystick state record.
struct JoystickState {
  int32_t x = 0;  // axes 0 (left / up) to 65535 (right / down), 32768 centred
  int32_t y = 0;
  int32_t z = 0;
  int32_t rotationX = 0;
  int32_t rotationY = 0;
  int32_t rotationZ = 0;
  int32_t sliders[2] = {};
  uint32_t povs[4] = {};     // hundredths of a degree clockwise from up; kPovCentred at rest
  uint8_t buttons[32] = {};  // kKeyPressed while held
};
static_assert(sizeof(JoystickState) == 80, "the joystick record is the standard 80 bytes");
inline constexpr uint32_t kPovCentred = 0xFFFFFFFFu;
inline constexpr int32_t kJoystickAxisCentre = 32768;

// A joystick at rest: stick centred, hats centred, no button held.
inline JoystickState CentredJoystickState() {
  JoystickState state;
  state.x = state.y = state.z = kJoystickAxisCentre;
  state.rotationX = state.rotationY = state.rotationZ = kJoystickAxisCentre;
  for (uint32_t& pov : state.povs) pov = kPovCentred;
  return state;
}

class Joystick {
 public:
  virtual ~Joystick() = default;
  virtual int32_t Acquire() = 0;
  virtual int32_t Unacquire() = 0;
  // Refreshes the state that GetState reports.
  virtual int32_t Poll() = 0;
  // Fails (state untouched) when the device is gone or not acquired.
  virtual int32_t GetState(JoystickState* state) = 0;
};

class Input {
 public:
  virtual ~Input() = default;
  // The system keyboard, buffered, foreground and non-exclusive on the emulator window.
  virtual int32_t CreateKeyboard(std::unique_ptr<Keyboard>* keyboard) = 0;
  // The first joystick that can be opened; kInputErrNotFound when none is attached.
  virtual int32_t CreateFirstJoystick(std::unique_ptr<Joystick>* joystick) = 0;
  // A joystick that takes the first device plugged in later (and another after that one is
  // pulled out); kInputErrNotFound where no device can come while the program runs.
  virtual int32_t CreateJoystickSlot(std::unique_ptr<Joystick>* /*joystick*/) {
    return kInputErrNotFound;
  }
};

}  // namespace wrenfold
