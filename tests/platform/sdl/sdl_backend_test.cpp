// The SDL backends on SDL's windowless "dummy" video driver: no window system is needed,
// and nothing is shown or waited for.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_platform.h"

namespace wrenfold {
namespace {

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!platform->StartSubsystems(SDL_INIT_VIDEO)) {
      GTEST_SKIP() << "SDL's dummy video driver is not available";
    }
  }

  std::unique_ptr<SdlPlatform> platform = std::make_unique<SdlPlatform>();
};

TEST_F(SdlBackendTest, DriversAreTheDisplaysWithNameAndBounds) {
  SdlDisplay display(*platform);
  std::vector<DisplayDriverInfo> drivers;
  display.EnumerateDrivers([&](const DisplayDriverInfo& driver) {
    drivers.push_back(driver);
    return true;
  });
  ASSERT_FALSE(drivers.empty());
  EXPECT_EQ(drivers[0].id, 0);
  EXPECT_FALSE(drivers[0].name.empty());
  SDL_Rect bounds{};
  ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
  EXPECT_EQ(drivers[0].description, DisplayDescription(drivers[0].name, bounds));
}

TEST_F(SdlBackendTest, FullSetUpPresentsAndReleases) {
  SdlDisplay display(*platform);
  ASSERT_EQ(display.Create(99), kDisplayOk);  // no such display: the default one
  ASSERT_EQ(display.OpenFullScreenWindow(kWindowTitle), kDisplayOk);
  ASSERT_NE(platform->Window(), nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(platform->Window()), "Wrenfold 2000 b1");
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  ASSERT_EQ(display.SetDisplayMode(1024, 768, 8), kDisplayOk);
  Surface8* primary = nullptr;
  Surface8* back = nullptr;
  ASSERT_EQ(display.CreatePrimarySurface(&primary, &back), kDisplayOk);
  DisplayPalette palette{};
  palette[120] = {0, 0, 0};
  palette[1] = {255, 0, 0};
  ASSERT_EQ(display.SetPalette(palette), kDisplayOk);
  FillSurface(*primary, 1);
  EXPECT_EQ(display.Present(), kDisplayOk);
  WindowEvent event;
  while (display.PollWindowEvent(&event)) {
  }
  display.Release();
  EXPECT_EQ(platform->Window(), nullptr);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  display.Release();
}

TEST_F(SdlBackendTest, KeyboardFollowsTheWindowFocus) {
  SdlInput input(*platform);
  std::unique_ptr<Keyboard> keyboard;
  ASSERT_EQ(input.CreateKeyboard(&keyboard), kInputOk);
  // Without an emulator window nothing has the keyboard.
  EXPECT_EQ(keyboard->Acquire(), kInputErrOtherAppHasPriority);
  KeyEvent events[32];
  int count = -1;
  EXPECT_EQ(keyboard->FetchEvents(events, 32, &count), kInputErrInputLost);
  EXPECT_EQ(count, 0);
}

TEST_F(SdlBackendTest, KeyEventsFromTheQueueBecomeScanCodesAndEscapeAlsoReachesTheWindow) {
  SDL_Event press{};
  press.type = SDL_KEYDOWN;
  press.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
  SDL_Event repeat = press;
  repeat.key.repeat = 1;
  SDL_Event release = press;
  release.type = SDL_KEYUP;
  ASSERT_EQ(SDL_PushEvent(&press), 1);
  ASSERT_EQ(SDL_PushEvent(&repeat), 1);
  ASSERT_EQ(SDL_PushEvent(&release), 1);
  platform->PumpEvents();
  KeyEvent events[4];
  ASSERT_EQ(platform->Keys().Take(events, 4), 2);
  EXPECT_EQ(events[0].scanCode, 1);
  EXPECT_EQ(events[0].data, 0x80);
  EXPECT_EQ(events[1].data, 0);
  WindowEvent event;
  ASSERT_TRUE(platform->PopWindowEvent(&event));
  EXPECT_EQ(event.type, WindowEventType::kEscapePressed);
  EXPECT_FALSE(platform->PopWindowEvent(&event));
}

TEST_F(SdlBackendTest, QuitRequestBecomesACloseEvent) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&quit), 1);
  SdlDisplay display(*platform);
  WindowEvent event;
  ASSERT_TRUE(display.PollWindowEvent(&event));
  EXPECT_EQ(event.type, WindowEventType::kClose);
}

TEST_F(SdlBackendTest, MessageBoxWithoutAWindowSystemGoesToStandardError) {
  EXPECT_FALSE(MessageBoxCanBeShown());
  SdlMessageBox box(*platform);
  testing::internal::CaptureStderr();
  box.Show("Error!", "Fail to initialize DirectInput");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error!: Fail to initialize DirectInput\n");
}

TEST_F(SdlBackendTest, ClockCountsMilliseconds) {
  SdlClock clock(*platform);
  const uint32_t start = clock.Milliseconds();
  clock.Sleep(2);
  EXPECT_GE(clock.Milliseconds() - start, 2u);
}

}  // namespace
}  // namespace wrenfold
