// Game controllers through SDL's mapping: the layout they take in the standard joystick record,
// and a virtual controller plugged in and pulled out while the emulator's joystick is read.
#include "platform/sdl/sdl_pad.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_platform.h"

namespace wrenfold {
namespace {

// Each mapped button alone lands on its joystick number and nowhere else; the d-pad moves the
// stick and the hat instead.
TEST(ControllerLayoutTest, EveryButtonHasItsNumberAndTheDpadIsTheStick) {
  for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
    ControllerReading reading;
    reading.buttons[button] = true;
    const JoystickState state = JoystickStateFromController(reading);
    int expectedNumber = -1;
    for (std::size_t number = 0; number < kControllerButtonOrder.size(); ++number) {
      if (kControllerButtonOrder[number] == button) expectedNumber = static_cast<int>(number);
    }
    for (int number = 0; number < 32; ++number) {
      EXPECT_EQ(state.buttons[number], number == expectedNumber ? kKeyPressed : 0)
          << "controller button " << button << ", joystick button " << number;
    }
    const bool dpad =
        button >= SDL_CONTROLLER_BUTTON_DPAD_UP && button <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
    EXPECT_EQ(expectedNumber < 0, dpad || button > SDL_CONTROLLER_BUTTON_DPAD_RIGHT) << button;
    const int32_t x = button == SDL_CONTROLLER_BUTTON_DPAD_LEFT    ? 0
                      : button == SDL_CONTROLLER_BUTTON_DPAD_RIGHT ? 65535
                                                                   : kJoystickAxisCentre;
    const int32_t y = button == SDL_CONTROLLER_BUTTON_DPAD_UP     ? 0
                      : button == SDL_CONTROLLER_BUTTON_DPAD_DOWN ? 65535
                                                                  : kJoystickAxisCentre;
    EXPECT_EQ(state.x, x) << button;
    EXPECT_EQ(state.y, y) << button;
    EXPECT_EQ(state.povs[0] == kPovCentred, !dpad) << button;
  }
}

TEST(ControllerLayoutTest, SticksAndTriggers) {
  ControllerReading reading;
  reading.axes[SDL_CONTROLLER_AXIS_LEFTX] = -32768;
  reading.axes[SDL_CONTROLLER_AXIS_LEFTY] = 32767;
  reading.axes[SDL_CONTROLLER_AXIS_TRIGGERLEFT] = 16383;
  reading.axes[SDL_CONTROLLER_AXIS_TRIGGERRIGHT] = 16384;
  const JoystickState state = JoystickStateFromController(reading);
  EXPECT_EQ(state.x, 0);
  EXPECT_EQ(state.y, 65535);
  EXPECT_EQ(state.buttons[kLeftTriggerButton], 0);
  EXPECT_EQ(state.buttons[kRightTriggerButton], kKeyPressed);
  // The d-pad wins over the stick; both directions at once leave the stick alone.
  reading.buttons[SDL_CONTROLLER_BUTTON_DPAD_RIGHT] = true;
  reading.buttons[SDL_CONTROLLER_BUTTON_DPAD_UP] = true;
  reading.buttons[SDL_CONTROLLER_BUTTON_DPAD_DOWN] = true;
  const JoystickState pushed = JoystickStateFromController(reading);
  EXPECT_EQ(pushed.x, 65535);
  EXPECT_EQ(pushed.y, 65535);
  EXPECT_EQ(pushed.povs[0], 9000u);
}

class VirtualControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (!platform->StartSubsystems(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER)) {
      GTEST_SKIP() << "SDL's joystick support is not available";
    }
  }
  void TearDown() override { Unplug(); }

  // A controller SDL maps itself, with every standard button and axis.
  int PlugIn() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "Test Pad";
    deviceIndex = SDL_JoystickAttachVirtualEx(&desc);
    return deviceIndex;
  }
  void Unplug() {
    if (deviceIndex >= 0) SDL_JoystickDetachVirtual(deviceIndex);
    deviceIndex = -1;
  }

  std::unique_ptr<SdlPlatform> platform = std::make_unique<SdlPlatform>();
  int deviceIndex = -1;
};

// The joystick made while nothing is attached takes a controller plugged in later, in its
// mapped layout, reads as released once it is pulled out, and takes the next one.
TEST_F(VirtualControllerTest, PluggedInWhileRunningAndKeepsTheLayout) {
  SdlInput input(*platform);
  std::unique_ptr<Joystick> joystick;
  ASSERT_EQ(input.CreateFirstJoystick(&joystick), kInputErrNotFound);
  ASSERT_EQ(input.CreateJoystickSlot(&joystick), kInputOk);
  ASSERT_EQ(joystick->Acquire(), kInputOk);
  JoystickState state;
  ASSERT_EQ(joystick->Poll(), kInputOk);
  ASSERT_EQ(joystick->GetState(&state), kInputOk);
  EXPECT_EQ(state.buttons[0], 0);

  for (int plug = 0; plug < 2; ++plug) {
    ASSERT_GE(PlugIn(), 0) << SDL_GetError();
    SDL_Joystick* device = SDL_JoystickOpen(deviceIndex);  // to set its buttons
    ASSERT_NE(device, nullptr);
    SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_START, 1);
    SDL_JoystickSetVirtualButton(device, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    ASSERT_EQ(joystick->Poll(), kInputOk);
    ASSERT_EQ(joystick->GetState(&state), kInputOk);
    EXPECT_EQ(state.buttons[5], kKeyPressed) << "Start is button 6, counted from 1";
    EXPECT_EQ(state.buttons[0], 0);
    EXPECT_EQ(state.x, 0);
    SDL_JoystickClose(device);
    Unplug();
    ASSERT_EQ(joystick->Poll(), kInputOk);
    ASSERT_EQ(joystick->GetState(&state), kInputOk);
    EXPECT_EQ(state.buttons[5], 0);
    EXPECT_EQ(state.x, kJoystickAxisCentre);
  }
}

}  // namespace
}  // namespace wrenfold
