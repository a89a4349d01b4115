#include "platform/headless/headless_input.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "platform/dik_codes.h"

namespace wrenfold {
namespace {

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(input.CreateKeyboard(&keyboard), kInputOk);
    ASSERT_EQ(keyboard->Acquire(), kInputOk);
  }

  // Fetches with room for 64 events; returns the count, or -1 when the fetch fails.
  int Fetch() {
    int count = 0;
    if (keyboard->FetchEvents(events.data(), static_cast<int>(events.size()), &count) != kInputOk) {
      return -1;
    }
    return count;
  }

  HeadlessInput input;
  std::unique_ptr<Keyboard> keyboard;
  std::array<KeyEvent, 64> events{};
};

TEST_F(KeyboardTest, EventsCarryScanCodeAndPressByteInOrder) {
  input.PressKey(kDikF5);
  input.PressKey(kDikA);
  input.ReleaseKey(kDikF5);
  ASSERT_EQ(Fetch(), 3);
  EXPECT_EQ(events[0].scanCode, 63);
  EXPECT_EQ(events[0].data, 0x80);
  EXPECT_EQ(events[1].scanCode, 30);
  EXPECT_EQ(events[2].scanCode, 63);
  EXPECT_EQ(events[2].data, 0);
  EXPECT_EQ(Fetch(), 0);
}

TEST_F(KeyboardTest, OneFetchReturnsAtMost32AndTheRestWait) {
  for (int i = 0; i < 20; ++i) {
    input.PressKey(kDikQ);
    input.ReleaseKey(kDikQ);
  }
  EXPECT_EQ(Fetch(), 32);
  EXPECT_EQ(Fetch(), 8);
  EXPECT_EQ(Fetch(), 0);
}

TEST_F(KeyboardTest, SmallerBufferSizeOrCapacityCapsTheFetch) {
  for (uint8_t code = kDik1; code <= kDik9; ++code) input.PressKey(code);
  ASSERT_EQ(keyboard->SetBufferSize(4), kInputOk);
  EXPECT_EQ(Fetch(), 4);
  int count = -1;
  ASSERT_EQ(keyboard->FetchEvents(events.data(), 2, &count), kInputOk);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(events[0].scanCode, kDik5);
  EXPECT_EQ(keyboard->SetBufferSize(0), kInputErrInvalidParam);
  EXPECT_EQ(keyboard->SetBufferSize(33), kInputErrInvalidParam);
}

TEST_F(KeyboardTest, AutoRepeatAndRepeatedPressesAreDropped) {
  input.PressKey(kDikUp);
  input.InjectKey(kDikUp, true, /*autoRepeat=*/true);
  input.PressKey(kDikUp);  // a second press without a release in between
  input.ReleaseKey(kDikUp);
  input.PressKey(kDikUp);
  ASSERT_EQ(Fetch(), 3);
  EXPECT_EQ(events[0].data, kKeyPressed);
  EXPECT_EQ(events[1].data, 0);
  EXPECT_EQ(events[2].data, kKeyPressed);
}

TEST_F(KeyboardTest, KeysWithoutAScanCodeAreDropped) {
  input.PressKey(0);
  EXPECT_EQ(Fetch(), 0);
}

TEST_F(KeyboardTest, FetchFailsWithoutFocusUntilReacquired) {
  input.PressKey(kDikEscape);
  input.SetFocus(false);
  EXPECT_EQ(Fetch(), -1);
  int count = 0;
  EXPECT_EQ(keyboard->FetchEvents(events.data(), 32, &count), kInputErrInputLost);
  EXPECT_EQ(keyboard->Acquire(), kInputErrOtherAppHasPriority);
  input.SetFocus(true);
  // The device was taken away with the focus: it must be acquired again.
  EXPECT_EQ(keyboard->FetchEvents(events.data(), 32, &count), kInputErrNotAcquired);
  ASSERT_EQ(keyboard->Acquire(), kInputOk);
  ASSERT_EQ(Fetch(), 1);
  EXPECT_EQ(events[0].scanCode, kDikEscape);
}

TEST_F(KeyboardTest, UnacquiredKeyboardDeliversNothing) {
  input.PressKey(kDikSpace);
  ASSERT_EQ(keyboard->Unacquire(), kInputOk);
  EXPECT_EQ(Fetch(), -1);
  ASSERT_EQ(keyboard->Acquire(), kInputOk);
  EXPECT_EQ(Fetch(), 1);
}

TEST_F(KeyboardTest, BadFetchArgumentsAreRefused) {
  int count = 0;
  EXPECT_EQ(keyboard->FetchEvents(nullptr, 4, &count), kInputErrInvalidParam);
  EXPECT_EQ(keyboard->FetchEvents(events.data(), -1, &count), kInputErrInvalidParam);
  EXPECT_EQ(keyboard->FetchEvents(events.data(), 4, nullptr), kInputErrInvalidParam);
  EXPECT_EQ(keyboard->FetchEvents(nullptr, 0, &count), kInputOk);
}

TEST(KeyEventBufferTest, FullQueueDropsNewEventsAndKeepsTheOldest) {
  KeyEventBuffer buffer;
  for (std::size_t i = 0; i < KeyEventBuffer::kCapacity + 10; ++i) {
    buffer.Push(static_cast<uint8_t>(1 + i % 200), (i / 200) % 2 == 0);
  }
  EXPECT_EQ(buffer.Pending(), KeyEventBuffer::kCapacity);
  KeyEvent first;
  ASSERT_EQ(buffer.Take(&first, 1), 1);
  EXPECT_EQ(first.scanCode, 1);
  buffer.Clear();
  EXPECT_EQ(buffer.Pending(), 0u);
}

TEST(HeadlessJoystickTest, NoneAttachedMeansNotFound) {
  HeadlessInput input;
  std::unique_ptr<Joystick> joystick;
  EXPECT_EQ(input.CreateFirstJoystick(&joystick), kInputErrNotFound);
  EXPECT_EQ(joystick, nullptr);
}

TEST(HeadlessJoystickTest, PollPicksUpTheScriptedState) {
  HeadlessInput input;
  input.AttachJoystick(true);
  std::unique_ptr<Joystick> joystick;
  ASSERT_EQ(input.CreateFirstJoystick(&joystick), kInputOk);
  JoystickState state;
  EXPECT_EQ(joystick->GetState(&state), kInputErrNotAcquired);
  ASSERT_EQ(joystick->Acquire(), kInputOk);

  JoystickState scripted = CentredJoystickState();
  scripted.x = 0;
  scripted.y = 65535;
  scripted.buttons[3] = kKeyPressed;
  input.SetJoystickState(scripted);
  ASSERT_EQ(joystick->GetState(&state), kInputOk);
  EXPECT_EQ(state.x, kJoystickAxisCentre);  // not polled yet
  ASSERT_EQ(joystick->Poll(), kInputOk);
  ASSERT_EQ(joystick->GetState(&state), kInputOk);
  EXPECT_EQ(state.x, 0);
  EXPECT_EQ(state.y, 65535);
  EXPECT_EQ(state.buttons[3], 0x80);
  EXPECT_EQ(state.povs[0], kPovCentred);
}

TEST(HeadlessJoystickTest, ReadFailsAndLeavesTheStateWhenUnplugged) {
  HeadlessInput input;
  input.AttachJoystick(true);
  std::unique_ptr<Joystick> joystick;
  ASSERT_EQ(input.CreateFirstJoystick(&joystick), kInputOk);
  ASSERT_EQ(joystick->Acquire(), kInputOk);
  input.AttachJoystick(false);
  JoystickState state;
  state.x = 1234;
  EXPECT_EQ(joystick->Poll(), kInputErrInputLost);
  EXPECT_EQ(joystick->GetState(&state), kInputErrInputLost);
  EXPECT_EQ(state.x, 1234);
}

}  // namespace
}  // namespace wrenfold
