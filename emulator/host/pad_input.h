// The joypads: each player's key or joystick-button map, the button bytes that persist from
// frame to frame, the rapid-fire (turbo) counters, and the padState byte the CPU shifts out
// of $4016 / $4017.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "emulator/host/host_settings.h"
#include "platform/input.h"

namespace wrenfold {

inline constexpr std::size_t kPlayerCount = 2;

// Slots of a player map, in this order. For a keyboard player every slot holds a scan code;
// for a joystick player the slots from kMapSelect on hold zero-based button numbers and the
// directions come from the stick. Button number b of keyToButton is slot b - 1.
enum PlayerMapSlot : std::size_t {
  kMapUp,
  kMapDown,
  kMapLeft,
  kMapRight,
  kMapSelect,
  kMapStart,
  kMapA,
  kMapB,
  kMapTurboA,
  kMapTurboB,
  kPlayerMapSize
};

// The eight pad buttons, each kept as a byte: kKeyPressed (0x80) while pressed, else 0.
enum PadButton : std::size_t {
  kPadUp,
  kPadDown,
  kPadLeft,
  kPadRight,
  kPadSelect,
  kPadStart,
  kPadA,
  kPadB,
  kPadButtonCount
};

// The scan code of the 0 key: it presses Up for every player, whatever the maps say.
inline constexpr uint8_t kZeroKeyScanCode = 11;

// Joystick axes run 0-65535; beyond these the stick counts as pushed.
inline constexpr int32_t kStickLowThreshold = 0x4000;
inline constexpr int32_t kStickHighThreshold = 0xC000;

struct PlayerInput {
  PlayerDevice device = PlayerDevice::kNone;
  std::array<uint8_t, kPlayerMapSize> map{};
  std::array<uint8_t, 256> keyToButton{};  // scan code -> button number 1-10, 0 = none
  std::array<uint8_t, kPadButtonCount> buttons{};
  // Keyboard turbo state.
  uint8_t aKeyHeld = 0;
  uint8_t bKeyHeld = 0;
  uint8_t turboAHeld = 0;
  uint8_t turboBHeld = 0;
  uint8_t turboBits = 0;  // bit 0 turbo A key held, bit 1 turbo B key held
  // Frames until the next turbo press; 8-bit, so a period of 0 waits 256 frames.
  uint8_t rapidFireCounter = 1;
  // Pad bits of the keys pressed since the pad byte was last composed: a key pressed and
  // released between two frames still shows as pressed in one frame.
  uint8_t tappedPadBits = 0;
};

struct InputState {
  std::array<PlayerInput, kPlayerCount> players{};
  uint8_t rapidFirePeriod = 0;  // shared by both players
};

// Takes each player's device and map from the settings, releases every button and builds
// the keyToButton tables (a later map slot wins over an earlier one with the same key).
void SetUpPlayerMaps(InputState& input, const HostSettings& settings);

// Counters back to 1, turbo keys and turbo bits released, for both players.
void ResetRapidFire(InputState& input);

// One buffered key event for the keyboard player: player 1 when it uses the keyboard,
// else player 2 when it does. Only one player can be driven from the keyboard.
void ApplyKeyEvent(InputState& input, const KeyEvent& event);

// Once per frame after the key events: a held turbo key presses its button one frame in
// every rapidFirePeriod frames.
void ApplyKeyboardRapidFire(PlayerInput& player, uint8_t period);

// Once per frame for a joystick player, with the state just read. `secondPlayer` makes the
// turbo buttons also act as plain A and B.
void ApplyJoystickState(PlayerInput& player, const JoystickState& state, uint8_t period,
                        bool secondPlayer);

// bit 0 A, 1 B, 2 Select, 3 Start, 4 Up, 5 Down, 6 Left, 7 Right.
uint8_t ComposePadState(const PlayerInput& player);

// The per-frame input work after the key events: rapid fire for the keyboard players, then
// the joystick players (poll and read; a failed read keeps last frame's buttons), then the
// pad bytes, which also show the keys tapped since the last frame. Player 2's byte is left
// alone while player 2 has no device. `joystick` may be null (no joystick was found): its
// players keep their buttons.
void UpdatePads(InputState& input, Joystick* joystick, uint8_t (&padState)[kPlayerCount]);

}  // namespace wrenfold
