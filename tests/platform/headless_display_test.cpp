#include "platform/headless/headless_display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wrenfold {
namespace {

// Runs the set-up steps in order up to the display mode.
void OpenTo640x480(HeadlessDisplay& display) {
  ASSERT_EQ(display.Create(kDefaultDisplayDriver), kDisplayOk);
  ASSERT_EQ(display.OpenFullScreenWindow(kWindowTitle), kDisplayOk);
  ASSERT_EQ(display.SetDisplayMode(640, 480, 8), kDisplayOk);
}

TEST(HeadlessDisplayTest, DriverWalkStopsWhenTheVisitorSaysSo) {
  HeadlessDisplay display;
  display.SetDriverNames({"left", "middle", "right"});
  std::vector<DisplayDriverInfo> seen;
  display.EnumerateDrivers([&](const DisplayDriverInfo& driver) {
    seen.push_back(driver);
    return driver.name != "middle";
  });
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].id, 1);
  EXPECT_EQ(seen[1].description, "middle 0,0 1024x768");
}

TEST(HeadlessDisplayTest, UnknownDriverIdTakesTheDefaultDisplay) {
  HeadlessDisplay display;
  display.SetDriverNames({"a", "b"});
  ASSERT_EQ(display.Create(7), kDisplayOk);
  EXPECT_EQ(display.ChosenDriver(), 0);
  display.Release();
  ASSERT_EQ(display.Create(1), kDisplayOk);
  EXPECT_EQ(display.ChosenDriver(), 1);
}

TEST(HeadlessDisplayTest, StepsOutOfOrderAreRefused) {
  HeadlessDisplay display;
  Surface8* primary = nullptr;
  Surface8* back = nullptr;
  Surface8* offscreen = nullptr;
  EXPECT_EQ(display.OpenFullScreenWindow(kWindowTitle), kDisplayErrInvalidObject);
  EXPECT_EQ(display.SetDisplayMode(640, 480, 8), kDisplayErrInvalidObject);
  EXPECT_EQ(display.CreateOffscreenSurface(256, 240, &offscreen), kDisplayErrInvalidObject);
  EXPECT_EQ(display.Present(), kDisplayErrInvalidObject);
  ASSERT_EQ(display.Create(kDefaultDisplayDriver), kDisplayOk);
  EXPECT_EQ(display.Create(kDefaultDisplayDriver), kDisplayErrInvalidObject);
  EXPECT_EQ(display.SetDisplayMode(640, 480, 8), kDisplayErrInvalidObject);
  ASSERT_EQ(display.OpenFullScreenWindow(kWindowTitle), kDisplayOk);
  EXPECT_EQ(display.CreatePrimarySurface(&primary, &back), kDisplayErrInvalidObject);
  EXPECT_EQ(display.WindowTitle(), "Wrenfold 2000 b1");
}

struct Mode {
  int width;
  int height;
  int bits;
  bool supported;
};

class DisplayModeTest : public ::testing::TestWithParam<Mode> {};

TEST_P(DisplayModeTest, OnlyTheThreeEightBitModesAreOffered) {
  HeadlessDisplay display;
  ASSERT_EQ(display.Create(kDefaultDisplayDriver), kDisplayOk);
  ASSERT_EQ(display.OpenFullScreenWindow(kWindowTitle), kDisplayOk);
  const Mode& mode = GetParam();
  const int32_t result = display.SetDisplayMode(mode.width, mode.height, mode.bits);
  if (!mode.supported) {
    EXPECT_EQ(result, kDisplayErrInvalidMode);
    return;
  }
  ASSERT_EQ(result, kDisplayOk);
  Surface8* primary = nullptr;
  Surface8* back = nullptr;
  ASSERT_EQ(display.CreatePrimarySurface(&primary, &back), kDisplayOk);
  EXPECT_EQ(primary->Width(), mode.width);
  EXPECT_EQ(primary->Height(), mode.height);
  EXPECT_EQ(back->Width(), mode.width);
  EXPECT_NE(primary, back);
}

INSTANTIATE_TEST_SUITE_P(Modes, DisplayModeTest,
                         ::testing::Values(Mode{640, 480, 8, true}, Mode{800, 600, 8, true},
                                           Mode{1024, 768, 8, true}, Mode{640, 480, 16, false},
                                           Mode{320, 240, 8, false}, Mode{1024, 600, 8, false}));

TEST(HeadlessDisplayTest, ScreenBufferSizeIsFixedOnceItExists) {
  HeadlessDisplay display;
  OpenTo640x480(display);
  Surface8* primary = nullptr;
  Surface8* back = nullptr;
  ASSERT_EQ(display.CreatePrimarySurface(&primary, &back), kDisplayOk);
  EXPECT_EQ(display.SetDisplayMode(800, 600, 8), kDisplayErrInvalidObject);
  EXPECT_EQ(display.CreatePrimarySurface(&primary, &back), kDisplayErrInvalidObject);
}

TEST(HeadlessDisplayTest, OffscreenSurfacesAreSeparateAndLimited) {
  HeadlessDisplay display;
  ASSERT_EQ(display.Create(kDefaultDisplayDriver), kDisplayOk);
  Surface8* overlay = nullptr;
  Surface8* frame = nullptr;
  ASSERT_EQ(display.CreateOffscreenSurface(256, 240, &overlay), kDisplayOk);
  ASSERT_EQ(display.CreateOffscreenSurface(256, 240, &frame), kDisplayOk);
  EXPECT_NE(overlay, frame);
  EXPECT_EQ(overlay->Pitch(), frame->Pitch());
  EXPECT_EQ(display.CreateOffscreenSurface(0, 240, &frame), kDisplayErrInvalidParams);
  Surface8* extra = nullptr;
  for (std::size_t i = 2; i < kMaxOffscreenSurfaces; ++i) {
    ASSERT_EQ(display.CreateOffscreenSurface(8, 8, &extra), kDisplayOk);
  }
  EXPECT_EQ(display.CreateOffscreenSurface(8, 8, &extra), kDisplayErrOutOfMemory);
}

TEST(HeadlessDisplayTest, PresentKeepsTheScreenBufferAndThePalette) {
  HeadlessDisplay display;
  OpenTo640x480(display);
  Surface8* primary = nullptr;
  Surface8* back = nullptr;
  ASSERT_EQ(display.CreatePrimarySurface(&primary, &back), kDisplayOk);
  DisplayPalette palette{};
  palette[7] = {10, 20, 30};
  ASSERT_EQ(display.SetPalette(palette), kDisplayOk);
  FillSurface(*primary, 120);
  primary->Row(479)[639] = 7;
  FillSurface(*back, 7);  // never shown
  ASSERT_EQ(display.Present(), kDisplayOk);
  EXPECT_EQ(display.PresentCount(), 1);
  ASSERT_EQ(display.PresentedPixels().size(), 640u * 480u);
  EXPECT_EQ(display.PresentedPixels()[0], 120);
  EXPECT_EQ(display.PresentedPixels()[640 * 480 - 1], 7);
  EXPECT_EQ(display.PresentedArgb()[640 * 480 - 1], 0xFF0A141Eu);
  EXPECT_EQ(display.PresentedArgb()[0], 0xFF000000u);

  // A later change of the buffer shows only at the next present.
  FillSurface(*primary, 7);
  EXPECT_EQ(display.PresentedPixels()[0], 120);

  // Without the copy a present still counts and takes the palette.
  display.KeepPresentedPixels(false);
  palette[7] = {1, 2, 3};
  ASSERT_EQ(display.SetPalette(palette), kDisplayOk);
  ASSERT_EQ(display.Present(), kDisplayOk);
  EXPECT_EQ(display.PresentCount(), 2);
  EXPECT_TRUE(display.PresentedPixels().empty());
  EXPECT_EQ(display.PresentedPalette()[7].blue, 3);
}

TEST(HeadlessDisplayTest, LockedScreenBufferCannotBePresented) {
  HeadlessDisplay display;
  OpenTo640x480(display);
  Surface8* primary = nullptr;
  Surface8* back = nullptr;
  ASSERT_EQ(display.CreatePrimarySurface(&primary, &back), kDisplayOk);
  SurfaceLock lock;
  primary->Lock(&lock);
  EXPECT_EQ(display.Present(), kDisplayErrSurfaceBusy);
  primary->Unlock();
  EXPECT_EQ(display.Present(), kDisplayOk);
}

TEST(HeadlessDisplayTest, InjectedFailureHitsOnlyTheNextCallOfItsStep) {
  HeadlessDisplay display;
  display.FailStep(HeadlessDisplayStep::kSetDisplayMode, kDisplayErrInvalidMode);
  ASSERT_EQ(display.Create(kDefaultDisplayDriver), kDisplayOk);
  ASSERT_EQ(display.OpenFullScreenWindow(kWindowTitle), kDisplayOk);
  EXPECT_EQ(display.SetDisplayMode(640, 480, 8), kDisplayErrInvalidMode);
  EXPECT_EQ(display.ModeWidth(), 0);
  EXPECT_EQ(display.SetDisplayMode(640, 480, 8), kDisplayOk);

  display.FailStep(HeadlessDisplayStep::kCreateOffscreen, kDisplayErrOutOfMemory);
  Surface8* surface = nullptr;
  EXPECT_EQ(display.CreateOffscreenSurface(256, 240, &surface), kDisplayErrOutOfMemory);
  EXPECT_EQ(surface, nullptr);
}

TEST(HeadlessDisplayTest, ReleaseClosesEverythingAndCanBeRepeated) {
  HeadlessDisplay display;
  OpenTo640x480(display);
  Surface8* primary = nullptr;
  Surface8* back = nullptr;
  ASSERT_EQ(display.CreatePrimarySurface(&primary, &back), kDisplayOk);
  display.PushWindowEvent({WindowEventType::kFocusLost});
  display.Release();
  display.Release();
  EXPECT_FALSE(display.WindowOpen());
  EXPECT_EQ(display.Present(), kDisplayErrInvalidObject);
  WindowEvent event;
  EXPECT_FALSE(display.PollWindowEvent(&event));
  // A released display can be opened again.
  OpenTo640x480(display);
}

TEST(HeadlessDisplayTest, WindowEventsComeOutInOrder) {
  HeadlessDisplay display;
  display.PushWindowEvent({WindowEventType::kFocusLost});
  display.PushWindowEvent({WindowEventType::kClose});
  WindowEvent event;
  ASSERT_TRUE(display.PollWindowEvent(&event));
  EXPECT_EQ(event.type, WindowEventType::kFocusLost);
  ASSERT_TRUE(display.PollWindowEvent(&event));
  EXPECT_EQ(event.type, WindowEventType::kClose);
  EXPECT_FALSE(display.PollWindowEvent(&event));
}

// A window opens at the largest whole multiple of the picture that fits, never below 1.
TEST(WholeWindowScaleTest, LargestMultipleThatFits) {
  EXPECT_EQ(WholeWindowScale({192, 128, 256, 240}, 1216, 736), 3);
  EXPECT_EQ(WholeWindowScale({192, 128, 256, 240}, 768, 720), 3);
  EXPECT_EQ(WholeWindowScale({192, 128, 256, 240}, 767, 720), 2);
  EXPECT_EQ(WholeWindowScale({64, 0, 512, 480}, 1216, 736), 1);
  EXPECT_EQ(WholeWindowScale({64, 0, 512, 480}, 300, 200), 1);
  EXPECT_EQ(WholeWindowScale({0, 0, 0, 0}, 1216, 736), 1);
}

}  // namespace
}  // namespace wrenfold
