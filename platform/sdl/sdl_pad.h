// A joystick on SDL: the first attached device, opened through SDL's game-controller mapping
// when SDL knows the device (buttons in the usual layout, the d-pad and the left stick as the
// stick), else as a plain joystick (buttons and axes as the device numbers them). Used by the
// emulator's joystick and by cartdesk's button capture, so both number the buttons alike.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>

#include "platform/input.h"

namespace wrenfold {

// The joystick button numbers (from 0) a mapped controller's buttons take, in this order:
// the face buttons south, east, west and north, then Back, Start, the left and right
// shoulders, the two stick presses and Guide. The triggers follow as buttons 11 and 12.
inline constexpr std::array<SDL_GameControllerButton, 11> kControllerButtonOrder = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_GUIDE};
inline constexpr int kLeftTriggerButton = 11;
inline constexpr int kRightTriggerButton = 12;

// What SDL reports of a mapped controller.
struct ControllerReading {
  std::array<bool, SDL_CONTROLLER_BUTTON_MAX> buttons{};
  std::array<int16_t, SDL_CONTROLLER_AXIS_MAX> axes{};
};

// The standard joystick record of a controller: the left stick as X and Y, a held d-pad
// direction pushing them to the end, the right stick as the X and Y rotations, the triggers
// as Z and Z rotation and as buttons once pressed halfway, the d-pad also as the first hat.
JoystickState JoystickStateFromController(const ControllerReading& reading);

class SdlPad {
 public:
  SdlPad() = default;
  ~SdlPad() { Close(); }
  SdlPad(const SdlPad&) = delete;
  SdlPad& operator=(const SdlPad&) = delete;

  // Keeps the open device while it is attached; else closes it and opens the first attached
  // one. Call after SDL has updated its devices (SDL_JoystickUpdate or the event pump). False
  // when no device is attached.
  bool Connect();
  bool Connected() const;
  bool IsController() const { return controller != nullptr; }
  void Close();

  // The state of the open device (a centred one when none is open).
  JoystickState Read() const;

 private:
  SDL_GameController* controller = nullptr;
  SDL_Joystick* joystick = nullptr;  // the plain joystick, or the controller's own
};

// A plain joystick into the standard record: axes 0-5 shifted to 0-65535, hats as directions
// in hundredths of a degree, buttons as 0x80.
void ReadJoystickState(SDL_Joystick* joystick, JoystickState* state);

}  // namespace wrenfold
