#include "frontend/model/joystick_capture.h"

#include <gtest/gtest.h>

namespace wrenfold {
namespace {

struct MaskCase {
  uint32_t buttons;
  int expected;
};

class JoystickButtonTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(JoystickButtonTest, HighestHeldButtonCountedFromOne) {
  EXPECT_EQ(JoystickButtonFromMask(GetParam().buttons), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, JoystickButtonTest,
    ::testing::Values(MaskCase{0, 0}, MaskCase{0x1, 1}, MaskCase{0x4, 3},
                      // Two buttons: a held one, never the rounded logarithm's 3.
                      MaskCase{0x3, 2}, MaskCase{0x5, 3}, MaskCase{0x80000000u, 32},
                      MaskCase{0xFFFFFFFFu, 32}));

TEST(JoystickCaptureTest, NoButtonKeepsWaiting) {
  const JoystickCaptureStep step = NextJoystickCaptureStep({kJoystickOk, 0});
  EXPECT_EQ(step.outcome, JoystickCaptureOutcome::Waiting);
  EXPECT_EQ(step.button, 0);
}

TEST(JoystickCaptureTest, ButtonIsCaptured) {
  const JoystickCaptureStep step = NextJoystickCaptureStep({kJoystickOk, 0x8});
  EXPECT_EQ(step.outcome, JoystickCaptureOutcome::Captured);
  EXPECT_EQ(step.button, 4);
}

TEST(JoystickCaptureTest, MissingDriverAndUnpluggedStickHaveTheirOwnTexts) {
  const JoystickCaptureStep noDriver = NextJoystickCaptureStep({kJoystickNoDriver, 0x1});
  EXPECT_EQ(noDriver.outcome, JoystickCaptureOutcome::Failed);
  EXPECT_EQ(noDriver.failureText, MessageId::JoystickNoDriverText);
  const JoystickCaptureStep unplugged = NextJoystickCaptureStep({kJoystickUnplugged, 0});
  EXPECT_EQ(unplugged.outcome, JoystickCaptureOutcome::Failed);
  EXPECT_EQ(unplugged.failureTitle, MessageId::JoystickFailTitle);
  EXPECT_EQ(unplugged.failureText, MessageId::JoystickUnpluggedText);
  EXPECT_EQ(MessageText(unplugged.failureText, kLanguageChinese), "游戏杆没有正确连接到接口上！");
  EXPECT_EQ(MessageText(unplugged.failureText, kLanguageEnglish),
            "No joystick connected! Plug one in and click the box again.");
}

TEST(JoystickCaptureTest, UnknownFailureIsReportedNotWaitedOn) {
  EXPECT_EQ(NextJoystickCaptureStep({-1, 0}).outcome, JoystickCaptureOutcome::Failed);
}

}  // namespace
}  // namespace wrenfold
