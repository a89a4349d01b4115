#include "emulator/host/pad_input.h"

namespace wrenfold {
namespace {

// Where each slot of a keyboard map comes from in the settings.
constexpr std::array<KeySlot, kPlayerMapSize> kKeyboardSources = {
    kKeyUp,    kKeyDown, kKeyLeft, kKeyRight,  kKeySelect,
    kKeyStart, kKeyA,    kKeyB,    kKeyTurboA, kKeyTurboB,
};

struct JoystickSource {
  PlayerMapSlot slot;
  JoySlot button;
};

constexpr JoystickSource kJoystickSources[] = {
    {kMapSelect, kJoySelect}, {kMapStart, kJoyStart},   {kMapA, kJoyA},
    {kMapB, kJoyB},           {kMapTurboA, kJoyTurboA}, {kMapTurboB, kJoyTurboB},
};

constexpr uint8_t kTurboABit = 0x01;
constexpr uint8_t kTurboBBit = 0x02;

// Pad bit n is button byte n of the order A, B, Select, Start, Up, Down, Left, Right.
constexpr PadButton kPadBitOrder[8] = {kPadA,  kPadB,    kPadSelect, kPadStart,
                                       kPadUp, kPadDown, kPadLeft,   kPadRight};

uint8_t PadBit(PadButton button) {
  for (int bit = 0; bit < 8; ++bit) {
    if (kPadBitOrder[bit] == button) return static_cast<uint8_t>(1u << bit);
  }
  return 0;
}

void FillMap(PlayerInput& player, const HostSettings& settings) {
  player.map.fill(0);
  if (player.device == PlayerDevice::kKeyboard) {
    for (std::size_t slot = 0; slot < kPlayerMapSize; ++slot) {
      player.map[slot] = settings.keyboardScanCodes[kKeyboardSources[slot]];
    }
  } else if (player.device == PlayerDevice::kJoystick) {
    for (const JoystickSource& source : kJoystickSources) {
      const int32_t number = settings.joystickButtons[source.button];
      player.map[source.slot] =
          number >= 0 && number < kJoystickButtonLimit ? static_cast<uint8_t>(number) : 0;
    }
  }
}

void FillKeyToButton(PlayerInput& player) {
  player.keyToButton.fill(0);
  if (player.device == PlayerDevice::kKeyboard) {
    for (std::size_t slot = 0; slot < kPlayerMapSize; ++slot) {
      if (player.map[slot] == kNoKey) continue;
      player.keyToButton[player.map[slot]] = static_cast<uint8_t>(slot + 1);
    }
  }
  player.keyToButton[kZeroKeyScanCode] = kMapUp + 1;
}

uint8_t ButtonByte(const JoystickState& state, uint8_t number) {
  return number < std::size(state.buttons) ? state.buttons[number] : 0;
}

uint8_t Pressed(uint8_t value) {
  return value & kKeyPressed;
}

PlayerInput* KeyboardPlayer(InputState& input) {
  for (PlayerInput& player : input.players) {
    if (player.device == PlayerDevice::kKeyboard) return &player;
  }
  return nullptr;
}

}  // namespace

void SetUpPlayerMaps(InputState& input, const HostSettings& settings) {
  input.rapidFirePeriod = settings.rapidFirePeriod;
  for (std::size_t index = 0; index < kPlayerCount; ++index) {
    PlayerInput& player = input.players[index];
    player.buttons.fill(0);
    player.tappedPadBits = 0;
    player.device = settings.playerDevice[index];
    FillMap(player, settings);
    FillKeyToButton(player);
  }
}

void ResetRapidFire(InputState& input) {
  for (PlayerInput& player : input.players) {
    player.rapidFireCounter = 1;
    player.turboAHeld = 0;
    player.turboBHeld = 0;
    player.turboBits = 0;
    player.tappedPadBits = 0;
  }
}

void ApplyKeyEvent(InputState& input, const KeyEvent& event) {
  PlayerInput* player = KeyboardPlayer(input);
  if (player == nullptr) return;
  const uint8_t data = event.data;
  const uint8_t button = player->keyToButton[event.scanCode];
  switch (button) {
    case kMapUp + 1:
    case kMapDown + 1:
    case kMapLeft + 1:
    case kMapRight + 1:
    case kMapSelect + 1:
    case kMapStart + 1:
      // The map's first six slots are in pad-button order.
      player->buttons[button - 1] = Pressed(data);
      if (Pressed(data)) player->tappedPadBits |= PadBit(static_cast<PadButton>(button - 1));
      break;
    case kMapA + 1:
      player->aKeyHeld = Pressed(data);
      player->buttons[kPadA] = player->aKeyHeld;
      if (Pressed(data)) player->tappedPadBits |= PadBit(kPadA);
      break;
    case kMapB + 1:
      player->bKeyHeld = Pressed(data);
      player->buttons[kPadB] = player->bKeyHeld;
      if (Pressed(data)) player->tappedPadBits |= PadBit(kPadB);
      break;
    case kMapTurboA + 1:
      player->turboAHeld = data;
      player->turboBits =
          data != 0 ? (player->turboBits | kTurboABit) : (player->turboBits & ~kTurboABit);
      break;
    case kMapTurboB + 1:
      player->turboBHeld = data;
      player->turboBits =
          data != 0 ? (player->turboBits | kTurboBBit) : (player->turboBits & ~kTurboBBit);
      break;
    default:
      break;
  }
}

void ApplyKeyboardRapidFire(PlayerInput& player, uint8_t period) {
  if (player.turboBits == 0) {
    player.rapidFireCounter = 1;
    return;
  }
  --player.rapidFireCounter;
  if (player.rapidFireCounter != 0) {
    // Between turbo presses the button is up, unless its own key holds it down.
    if (player.aKeyHeld == 0) player.buttons[kPadA] = 0;
    if (player.bKeyHeld == 0) player.buttons[kPadB] = 0;
    return;
  }
  if (player.turboAHeld != 0) player.buttons[kPadA] = kKeyPressed;
  if (player.turboBHeld != 0) player.buttons[kPadB] = kKeyPressed;
  player.rapidFireCounter = period;
}

void ApplyJoystickState(PlayerInput& player, const JoystickState& state, uint8_t period,
                        bool secondPlayer) {
  player.buttons[kPadUp] = state.y < kStickLowThreshold ? kKeyPressed : 0;
  player.buttons[kPadDown] = state.y > kStickHighThreshold ? kKeyPressed : 0;
  player.buttons[kPadLeft] = state.x < kStickLowThreshold ? kKeyPressed : 0;
  player.buttons[kPadRight] = state.x > kStickHighThreshold ? kKeyPressed : 0;

  player.buttons[kPadSelect] = ButtonByte(state, player.map[kMapSelect]);
  player.buttons[kPadStart] = ButtonByte(state, player.map[kMapStart]);
  player.buttons[kPadA] = ButtonByte(state, player.map[kMapA]);
  player.buttons[kPadB] = ButtonByte(state, player.map[kMapB]);

  const uint8_t turboA = ButtonByte(state, player.map[kMapTurboA]);
  const uint8_t turboB = ButtonByte(state, player.map[kMapTurboB]);
  if (turboA != 0 || turboB != 0) {
    --player.rapidFireCounter;
    if (player.rapidFireCounter == 0) {
      if (turboA != 0) player.buttons[kPadA] |= kKeyPressed;
      if (turboB != 0) player.buttons[kPadB] |= kKeyPressed;
      player.rapidFireCounter = period;
    }
  } else {
    player.rapidFireCounter = 1;
  }

  if (secondPlayer) {
    player.buttons[kPadA] |= turboA;
    player.buttons[kPadB] |= turboB;
  }
}

uint8_t ComposePadState(const PlayerInput& player) {
  uint8_t pad = 0;
  for (int bit = 0; bit < 8; ++bit) {
    if (Pressed(player.buttons[kPadBitOrder[bit]])) pad |= static_cast<uint8_t>(1u << bit);
  }
  return pad;
}

void UpdatePads(InputState& input, Joystick* joystick, uint8_t (&padState)[kPlayerCount]) {
  for (PlayerInput& player : input.players) {
    if (player.device == PlayerDevice::kKeyboard) {
      ApplyKeyboardRapidFire(player, input.rapidFirePeriod);
    }
  }
  for (std::size_t index = 0; index < kPlayerCount; ++index) {
    PlayerInput& player = input.players[index];
    if (player.device != PlayerDevice::kJoystick || joystick == nullptr) continue;
    joystick->Poll();
    JoystickState state;
    if (InputFailed(joystick->GetState(&state))) continue;
    ApplyJoystickState(player, state, input.rapidFirePeriod, index == 1);
  }
  padState[0] = ComposePadState(input.players[0]) | input.players[0].tappedPadBits;
  if (input.players[1].device != PlayerDevice::kNone) {
    padState[1] = ComposePadState(input.players[1]) | input.players[1].tappedPadBits;
  }
  for (PlayerInput& player : input.players) player.tappedPadBits = 0;
}

}  // namespace wrenfold
