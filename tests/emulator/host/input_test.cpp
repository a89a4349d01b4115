#include <gtest/gtest.h>

#include <vector>

#include "emulator/host/pad_input.h"
#include "platform/dik_codes.h"
#include "platform/headless/headless_input.h"

namespace wrenfold {
namespace {

constexpr uint8_t kPadBitA = 0x01;
constexpr uint8_t kPadBitB = 0x02;
constexpr uint8_t kPadBitUp = 0x10;
constexpr uint8_t kPadBitLeft = 0x40;

KeyEvent Press(uint8_t code) {
  return {code, kKeyPressed};
}
KeyEvent Release(uint8_t code) {
  return {code, 0};
}

// Arrows, Z / X for A / B, A / S for turbo, Right Shift / Enter for Select / Start.
HostSettings KeyboardSettings(PlayerDevice first, PlayerDevice second) {
  HostSettings settings;
  settings.playerDevice = {first, second};
  settings.keyboardScanCodes[kKeyUp] = kDikUp;
  settings.keyboardScanCodes[kKeyDown] = kDikDown;
  settings.keyboardScanCodes[kKeyLeft] = kDikLeft;
  settings.keyboardScanCodes[kKeyRight] = kDikRight;
  settings.keyboardScanCodes[kKeyA] = kDikZ;
  settings.keyboardScanCodes[kKeyB] = kDikX;
  settings.keyboardScanCodes[kKeyTurboA] = kDikA;
  settings.keyboardScanCodes[kKeyTurboB] = kDikS;
  settings.keyboardScanCodes[kKeySelect] = kDikRightShift;
  settings.keyboardScanCodes[kKeyStart] = kDikReturn;
  // Joystick: A 0, B 1, turbo A 2, turbo B 3, Select 8, Start 9.
  settings.joystickButtons = {0, 1, 2, 3, 8, 9};
  return settings;
}

class PadInputTest : public ::testing::Test {
 protected:
  void SetUpPlayers(PlayerDevice first, PlayerDevice second, uint8_t period = 0) {
    HostSettings settings = KeyboardSettings(first, second);
    settings.rapidFirePeriod = period;
    SetUpPlayerMaps(input, settings);
    ResetRapidFire(input);
  }

  // One frame with these key events and no joystick; returns player 1's pad byte.
  uint8_t Frame(std::initializer_list<KeyEvent> events = {}) {
    for (const KeyEvent& event : events) ApplyKeyEvent(input, event);
    UpdatePads(input, nullptr, pads);
    return pads[0];
  }

  InputState input;
  uint8_t pads[kPlayerCount] = {};
};

TEST_F(PadInputTest, KeyMapFollowsTheButtonOrderAndComposesThePadByte) {
  SetUpPlayers(PlayerDevice::kKeyboard, PlayerDevice::kNone);
  EXPECT_EQ(input.players[0].keyToButton[kDikUp], 1);
  EXPECT_EQ(input.players[0].keyToButton[kDikRightShift], 5);
  EXPECT_EQ(input.players[0].keyToButton[kDikReturn], 6);
  EXPECT_EQ(input.players[0].keyToButton[kDikZ], 7);
  EXPECT_EQ(input.players[0].keyToButton[kDikS], 10);

  EXPECT_EQ(Frame({Press(kDikZ)}), 0x01);
  EXPECT_EQ(Frame({Press(kDikX)}), 0x03);
  EXPECT_EQ(Frame({Press(kDikRightShift), Press(kDikReturn)}), 0x0F);
  EXPECT_EQ(Frame({Press(kDikUp), Press(kDikDown), Press(kDikLeft), Press(kDikRight)}), 0xFF);
  EXPECT_EQ(Frame({Release(kDikZ), Release(kDikLeft)}), 0xFF & ~0x01 & ~0x40);
  // Buttons persist without new events.
  EXPECT_EQ(Frame(), 0xBE);
}

// A key pressed and released between two frames counts for exactly one frame, for every
// button, on whichever player the keyboard drives, and whatever else is held.
TEST_F(PadInputTest, KeyTappedBetweenTwoFramesIsPressedForOneFrame) {
  const std::pair<uint8_t, uint8_t> kKeys[] = {
      {kDikZ, 0x01},  {kDikX, 0x02},    {kDikRightShift, 0x04}, {kDikReturn, 0x08},
      {kDikUp, 0x10}, {kDikDown, 0x20}, {kDikLeft, 0x40},       {kDikRight, 0x80}};
  for (const auto& [first, second] :
       {std::pair{PlayerDevice::kKeyboard, PlayerDevice::kNone},
        std::pair{PlayerDevice::kJoystick, PlayerDevice::kKeyboard}}) {
    SetUpPlayers(first, second);
    const int player = first == PlayerDevice::kKeyboard ? 0 : 1;
    for (const auto& [held, heldBit] : kKeys) {
      for (const auto& [tapped, tappedBit] : kKeys) {
        if (tapped == held) continue;
        Frame({Press(held)});
        Frame({Press(tapped), Release(tapped)});
        EXPECT_EQ(pads[player], heldBit | tappedBit) << int(tapped) << " with " << int(held);
        Frame();
        EXPECT_EQ(pads[player], heldBit) << int(tapped) << " lingers";
        Frame({Release(held)});
        EXPECT_EQ(pads[player], 0);
      }
    }
  }
}

TEST_F(PadInputTest, ALaterMapSlotWinsForASharedKey) {
  HostSettings settings = KeyboardSettings(PlayerDevice::kKeyboard, PlayerDevice::kNone);
  settings.keyboardScanCodes[kKeyB] = kDikZ;  // A and B both on Z: B comes later in the map
  SetUpPlayerMaps(input, settings);
  EXPECT_EQ(Frame({Press(kDikZ)}), kPadBitB);
}

TEST_F(PadInputTest, ZeroKeyPressesUpForEveryPlayer) {
  SetUpPlayers(PlayerDevice::kJoystick, PlayerDevice::kNone);
  EXPECT_EQ(input.players[0].keyToButton[kDik0], 1);
  EXPECT_EQ(input.players[1].keyToButton[kDik0], 1);
  SetUpPlayers(PlayerDevice::kKeyboard, PlayerDevice::kNone);
  EXPECT_EQ(Frame({Press(kDik0)}), kPadBitUp);
  EXPECT_EQ(Frame({Release(kDik0)}), 0);
}

TEST_F(PadInputTest, BothPlayersOnTheKeyboardOnlyPlayerOneGetsKeys) {
  SetUpPlayers(PlayerDevice::kKeyboard, PlayerDevice::kKeyboard);
  Frame({Press(kDikZ), Press(kDikLeft)});
  EXPECT_EQ(pads[0], kPadBitA | kPadBitLeft);
  EXPECT_EQ(pads[1], 0);
}

TEST_F(PadInputTest, KeyboardPlayerTwoGetsKeysWhenPlayerOneIsNotOnTheKeyboard) {
  SetUpPlayers(PlayerDevice::kNone, PlayerDevice::kKeyboard);
  Frame({Press(kDikX)});
  EXPECT_EQ(pads[0], 0);
  EXPECT_EQ(pads[1], kPadBitB);
}

TEST_F(PadInputTest, PlayerTwoWithoutDeviceKeepsItsLastByte) {
  SetUpPlayers(PlayerDevice::kKeyboard, PlayerDevice::kNone);
  pads[1] = 0x5A;  // e.g. left there by a movie
  Frame({Press(kDikZ)});
  EXPECT_EQ(pads[1], 0x5A);
}

// A held turbo key gives its button one frame in every `period`; period 0 wraps the 8-bit
// counter, so the press comes every 256 frames.
struct TurboCase {
  uint8_t period;
  int frames;
  std::vector<int> pressedFrames;  // frames (from 0) in which A is down
};

class KeyboardTurboTest : public PadInputTest, public ::testing::WithParamInterface<TurboCase> {};

TEST_P(KeyboardTurboTest, HeldTurboKeyPressesAOnceEveryPeriod) {
  const TurboCase& turbo = GetParam();
  SetUpPlayers(PlayerDevice::kKeyboard, PlayerDevice::kNone, turbo.period);
  std::vector<int> pressed;
  for (int frame = 0; frame < turbo.frames; ++frame) {
    const uint8_t pad = frame == 0 ? Frame({Press(kDikA)}) : Frame();
    if (pad & kPadBitA) pressed.push_back(frame);
    EXPECT_EQ(pad & kPadBitB, 0);
  }
  EXPECT_EQ(pressed, turbo.pressedFrames);
}

INSTANTIATE_TEST_SUITE_P(Periods, KeyboardTurboTest,
                         ::testing::Values(TurboCase{2, 6, {0, 2, 4}},
                                           TurboCase{1, 4, {0, 1, 2, 3}},
                                           TurboCase{3, 7, {0, 3, 6}},
                                           TurboCase{0, 514, {0, 256, 512}}));

TEST_F(PadInputTest, ReleasingTurboLeavesAAsTheLastFrameSetIt) {
  SetUpPlayers(PlayerDevice::kKeyboard, PlayerDevice::kNone, 2);
  EXPECT_EQ(Frame({Press(kDikA)}), kPadBitA);
  EXPECT_EQ(Frame({Release(kDikA)}), kPadBitA);  // no turbo key: nothing changes A
  EXPECT_EQ(Frame(), kPadBitA);
  EXPECT_EQ(input.players[0].rapidFireCounter, 1);
  EXPECT_EQ(Frame({Release(kDikZ)}), 0);
}

TEST_F(PadInputTest, HeldAKeyStaysDownBetweenTurboPresses) {
  SetUpPlayers(PlayerDevice::kKeyboard, PlayerDevice::kNone, 3);
  EXPECT_EQ(Frame({Press(kDikZ), Press(kDikS)}), kPadBitA | kPadBitB);
  EXPECT_EQ(Frame(), kPadBitA);  // turbo B releases B, A stays held by its own key
  EXPECT_EQ(Frame(), kPadBitA);
  EXPECT_EQ(Frame(), kPadBitA | kPadBitB);
}

JoystickState Stick(int32_t x, int32_t y) {
  JoystickState state = CentredJoystickState();
  state.x = x;
  state.y = y;
  return state;
}

struct StickCase {
  int32_t x;
  int32_t y;
  uint8_t directions;  // pad bits 4-7
};

class StickThresholdTest : public PadInputTest, public ::testing::WithParamInterface<StickCase> {};

TEST_P(StickThresholdTest, AxesBeyondAQuarterPressADirection) {
  SetUpPlayers(PlayerDevice::kJoystick, PlayerDevice::kNone);
  PlayerInput& player = input.players[0];
  ApplyJoystickState(player, Stick(GetParam().x, GetParam().y), 0, false);
  EXPECT_EQ(ComposePadState(player), GetParam().directions);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, StickThresholdTest,
                         ::testing::Values(StickCase{0x3FFF, 0x8000, 0x40},  // left
                                           StickCase{0x4000, 0x8000, 0x00},
                                           StickCase{0xC000, 0x8000, 0x00},
                                           StickCase{0xC001, 0x8000, 0x80},  // right
                                           StickCase{0x8000, 0x3FFF, 0x10},  // up
                                           StickCase{0x8000, 0x4000, 0x00},
                                           StickCase{0x8000, 0xC000, 0x00},
                                           StickCase{0x8000, 0xC001, 0x20},  // down
                                           StickCase{0, 65535, 0x60}));

class JoystickPadTest : public PadInputTest {
 protected:
  void SetUp() override {
    joystickInput.AttachJoystick(true);
    ASSERT_EQ(joystickInput.CreateFirstJoystick(&joystick), kInputOk);
    ASSERT_EQ(joystick->Acquire(), kInputOk);
  }
  void Hold(std::initializer_list<int> buttons) {
    JoystickState state = CentredJoystickState();
    for (int button : buttons) state.buttons[button] = kKeyPressed;
    joystickInput.SetJoystickState(state);
  }
  void JoystickFrame() { UpdatePads(input, joystick.get(), pads); }

  HeadlessInput joystickInput;
  std::unique_ptr<Joystick> joystick;
};

TEST_F(JoystickPadTest, MappedButtonsGiveTheirPadBits) {
  SetUpPlayers(PlayerDevice::kJoystick, PlayerDevice::kNone);
  Hold({0, 8, 9});
  JoystickFrame();
  EXPECT_EQ(pads[0], 0x01 | 0x04 | 0x08);
}

TEST_F(JoystickPadTest, BothPlayersReadTheSameDeviceAndPlayerTwoTurboActsAsAB) {
  SetUpPlayers(PlayerDevice::kJoystick, PlayerDevice::kJoystick, 2);
  Hold({2});  // turbo A
  std::vector<uint8_t> first;
  std::vector<uint8_t> second;
  for (int frame = 0; frame < 4; ++frame) {
    JoystickFrame();
    first.push_back(pads[0]);
    second.push_back(pads[1]);
  }
  EXPECT_EQ(first, (std::vector<uint8_t>{kPadBitA, 0, kPadBitA, 0}));
  EXPECT_EQ(second, (std::vector<uint8_t>{kPadBitA, kPadBitA, kPadBitA, kPadBitA}));
}

TEST_F(JoystickPadTest, FailedReadKeepsLastFramesButtons) {
  SetUpPlayers(PlayerDevice::kJoystick, PlayerDevice::kNone);
  JoystickState state = Stick(0, 0x8000);
  state.buttons[1] = kKeyPressed;
  joystickInput.SetJoystickState(state);
  JoystickFrame();
  EXPECT_EQ(pads[0], kPadBitB | kPadBitLeft);
  joystickInput.AttachJoystick(false);
  JoystickFrame();
  EXPECT_EQ(pads[0], kPadBitB | kPadBitLeft);
}

TEST_F(JoystickPadTest, JoystickPlayerWithoutDeviceHasNoInput) {
  SetUpPlayers(PlayerDevice::kJoystick, PlayerDevice::kNone);
  Hold({0});
  UpdatePads(input, nullptr, pads);
  EXPECT_EQ(pads[0], 0);
}

}  // namespace
}  // namespace wrenfold
