#include "emulator/host/video_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "emulator/host/display_geometry.h"
#include "emulator/host/log.h"
#include "platform/headless/headless_display.h"
#include "tests/emulator/host/temp_folder.h"

namespace wrenfold {
namespace {

// What the screen holds before a frame is presented; the picture never uses it.
constexpr uint8_t kUntouched = 200;

uint8_t PicturePixel(int x, int y) {
  return static_cast<uint8_t>((x + 3 * y) % 100 + 1);
}

// Presents one frame of a known picture with the given options and reads the screen back.
class PresentFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    previousLogPath = LogPath();
    SetLogPath((folder.path() / kDefaultLogPath).string());
  }
  void TearDown() override {
    ReleaseVideo(video);
    SetLogPath(previousLogPath);
  }

  void Present(int resolution, bool doubleSize, bool scanlines) {
    settings.resolution = static_cast<uint8_t>(resolution);
    settings.doubleSize = doubleSize;
    settings.scanlineMode = scanlines;
    geometry = DisplayGeometryFor(resolution);
    ASSERT_EQ(OpenVideo(video, display, settings, geometry), kDisplayOk);
    for (int y = 0; y < kFrameSurfaceHeight; ++y) {
      for (int x = 0; x < kFrameSurfaceWidth; ++x)
        video.frameSurface->Row(y)[x] = PicturePixel(x, y);
    }
    FillSurface(*video.primarySurface, kUntouched);
    PresentFrame(video, settings, geometry);
    ASSERT_EQ(display.PresentCount(), 1);
  }

  uint8_t Screen(int x, int y) const {
    return display.PresentedPixels()[static_cast<std::size_t>(y) * geometry.modeWidth + x];
  }

  // Every screen pixel: inside `rect` it shows picture pixel (x / xScale, y / yScale) of the
  // rectangle's own coordinates, outside it is untouched.
  void ExpectScaledPictureIn(const PictureRect& rect, int xScale, int yScale) const {
    for (int y = 0; y < geometry.modeHeight; ++y) {
      for (int x = 0; x < geometry.modeWidth; ++x) {
        const bool inside = x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
        const uint8_t expected =
            inside ? PicturePixel((x - rect.left) / xScale, (y - rect.top) / yScale) : kUntouched;
        ASSERT_EQ(Screen(x, y), expected) << "at " << x << "," << y;
      }
    }
  }

  test::TempFolder folder;
  std::string previousLogPath;
  HeadlessDisplay display;
  VideoState video;
  HostSettings settings;
  DisplayGeometry geometry{};
};

class NaturalSizeTest : public PresentFrameTest, public ::testing::WithParamInterface<int> {};

TEST_P(NaturalSizeTest, PictureLandsAt192By128WhateverTheResolution) {
  Present(GetParam(), false, false);
  ExpectScaledPictureIn({192, 128, 447, 367}, 1, 1);
}

TEST_P(NaturalSizeTest, ScanlineModeWithoutDoubleSizeHasNoEffect) {
  Present(GetParam(), false, true);
  ExpectScaledPictureIn({192, 128, 447, 367}, 1, 1);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, NaturalSizeTest, ::testing::Values(1, 2, 3),
                         ::testing::PrintToStringParamName());

struct DoubleSizeCase {
  int resolution;
  PictureRect target;
  int scale;
};

class DoubleSizeTest : public PresentFrameTest,
                       public ::testing::WithParamInterface<DoubleSizeCase> {};

TEST_P(DoubleSizeTest, PictureIsStretchedIntoTheResolutionsRectangle) {
  Present(GetParam().resolution, true, false);
  ExpectScaledPictureIn(GetParam().target, GetParam().scale, GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, DoubleSizeTest,
                         ::testing::Values(DoubleSizeCase{1, {64, 0, 575, 479}, 2},
                                           DoubleSizeCase{2, {148, 60, 659, 539}, 2},
                                           // 256 x 240 becomes 768 x 720 at (128, 0).
                                           DoubleSizeCase{3, {128, 0, 895, 719}, 3},
                                           // Any other resolution value is shown as 640 x 480.
                                           DoubleSizeCase{7, {64, 0, 575, 479}, 2}));

class ScanlineBandTest : public PresentFrameTest,
                         public ::testing::WithParamInterface<DoubleSizeCase> {};

TEST_P(ScanlineBandTest, EverySecondRowHoldsAPictureRowAndTheOthersAreUntouched) {
  const PictureRect target = GetParam().target;
  Present(GetParam().resolution, true, true);
  for (int y = 0; y < geometry.modeHeight; ++y) {
    const int offset = y - target.top;
    const bool band = offset >= 0 && offset < 480 && offset % 2 == 0;
    for (int x = 0; x < geometry.modeWidth; ++x) {
      const bool inside = band && x >= target.left && x <= target.right;
      const uint8_t expected =
          inside ? PicturePixel((x - target.left) / 2, offset / 2) : kUntouched;
      ASSERT_EQ(Screen(x, y), expected) << "at " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Resolutions, ScanlineBandTest,
                         ::testing::Values(DoubleSizeCase{1, {64, 0, 575, 479}, 2},
                                           DoubleSizeCase{2, {148, 60, 659, 539}, 2}));

TEST_F(PresentFrameTest, ResolutionThreeScanlinesDrawThreeOfEverySixRows) {
  Present(3, true, true);
  for (int y = 0; y < 768; ++y) {
    // Rows 0 and 2 of each six show the first row of a picture pair, row 4 the second.
    const int group = y / 6;
    const int phase = y % 6;
    int pictureRow = -1;
    if (y < 720 && phase == 0) pictureRow = 2 * group;
    if (y < 720 && phase == 2) pictureRow = 2 * group;
    if (y < 720 && phase == 4) pictureRow = 2 * group + 1;
    for (int x = 0; x < 1024; ++x) {
      const bool inside = pictureRow >= 0 && x >= 128 && x <= 895;
      const uint8_t expected = inside ? PicturePixel((x - 128) / 3, pictureRow) : kUntouched;
      ASSERT_EQ(Screen(x, y), expected) << "at " << x << "," << y;
    }
  }
}

// A window shows the picture area: the smallest rectangle holding every pixel the picture
// changed, in every mode; WINDOWED=Yes asks the display for a window.
TEST_F(PresentFrameTest, PictureAreaIsWhereThePictureIsDrawn) {
  for (int resolution = 1; resolution <= 3; ++resolution) {
    for (const bool doubleSize : {false, true}) {
      for (const bool scanlines : {false, true}) {
        settings.resolution = static_cast<uint8_t>(resolution);
        settings.doubleSize = doubleSize;
        settings.scanlineMode = scanlines;
        settings.windowed = scanlines;  // either way, both modes are seen
        geometry = DisplayGeometryFor(resolution);
        HeadlessDisplay screen;
        VideoState shown;
        ASSERT_EQ(OpenVideo(shown, screen, settings, geometry), kDisplayOk);
        EXPECT_EQ(screen.Windowed(), settings.windowed);
        FillSurface(*shown.frameSurface, 1);
        FillSurface(*shown.primarySurface, kUntouched);
        PresentFrame(shown, settings, geometry);
        int left = geometry.modeWidth, top = geometry.modeHeight, right = -1, bottom = -1;
        for (int y = 0; y < geometry.modeHeight; ++y) {
          for (int x = 0; x < geometry.modeWidth; ++x) {
            if (screen.PresentedPixels()[static_cast<std::size_t>(y) * geometry.modeWidth + x] ==
                kUntouched)
              continue;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
          }
        }
        const SurfaceRect area = screen.PictureArea();
        EXPECT_EQ(area.x, left) << resolution << doubleSize << scanlines;
        EXPECT_EQ(area.y, top) << resolution << doubleSize << scanlines;
        EXPECT_EQ(area.x + area.width - 1, right) << resolution << doubleSize << scanlines;
        // Scanline bands leave the last row of the picture untouched.
        EXPECT_EQ(area.y + area.height - 1, bottom + (doubleSize && scanlines ? 1 : 0))
            << resolution << doubleSize << scanlines;
        ReleaseVideo(shown);
      }
    }
  }
}

TEST_F(PresentFrameTest, OpeningLogsEachStep) {
  ASSERT_EQ(OpenVideo(video, display, settings, DisplayGeometryFor(1)), kDisplayOk);
  EXPECT_EQ(test::ReadFile(folder.path() / kDefaultLogPath),
            "1 Level Pass\nInterface got\nCooperativeLevel Set\nlpDD2 object inited.\n"
            "all surfaces created.\n");
  EXPECT_EQ(video.overlaySurface->Width(), 256);
  EXPECT_EQ(video.frameSurface->Height(), 240);
  EXPECT_NE(video.overlaySurface, video.frameSurface);
}

TEST_F(PresentFrameTest, ReleasedVideoPresentsNothing) {
  ASSERT_EQ(OpenVideo(video, display, settings, DisplayGeometryFor(1)), kDisplayOk);
  ReleaseVideo(video);
  PresentFrame(video, settings, DisplayGeometryFor(1));
  EXPECT_EQ(display.PresentCount(), 0);
  EXPECT_FALSE(display.WindowOpen());
  ReleaseVideo(video);
}

}  // namespace
}  // namespace wrenfold
