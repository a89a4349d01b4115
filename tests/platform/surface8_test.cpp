#include "platform/surface8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace wrenfold {
namespace {

// Writes the pixel's own coordinates into every pixel: x + 7 * y, modulo 256.
void Paint(Surface8& surface) {
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) {
      surface.Row(y)[x] = static_cast<uint8_t>(x + 7 * y);
    }
  }
}

bool AllPixelsAre(const Surface8& surface, uint8_t value) {
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) {
      if (surface.At(x, y) != value) return false;
    }
  }
  return true;
}

TEST(Surface8Test, RowsArePaddedToThirtyTwoBytes) {
  EXPECT_EQ(Surface8(256, 240).Pitch(), 256);
  EXPECT_EQ(Surface8(250, 4).Pitch(), 256);
  EXPECT_EQ(Surface8(800, 600).Pitch(), 800);
}

TEST(Surface8Test, InvalidSidesGiveAnEmptySurface) {
  for (auto [width, height] : {std::pair{0, 10}, {10, -1}, {kMaxSurfaceSide + 1, 1}}) {
    Surface8 surface(width, height);
    EXPECT_EQ(surface.Width(), 0);
    EXPECT_EQ(surface.Height(), 0);
  }
}

TEST(Surface8Test, LockGivesTheRowsAndPitchUntilUnlock) {
  Surface8 surface(250, 4);
  SurfaceLock lock;
  ASSERT_EQ(surface.Lock(&lock), kDisplayOk);
  EXPECT_EQ(lock.pitch, 256);
  lock.bits[3 * lock.pitch + 249] = 0x5A;
  EXPECT_EQ(surface.Lock(&lock), kDisplayErrSurfaceBusy);
  EXPECT_EQ(FillSurface(surface, 1), kDisplayErrSurfaceBusy);
  ASSERT_EQ(surface.Unlock(), kDisplayOk);
  EXPECT_EQ(surface.At(249, 3), 0x5A);
  EXPECT_EQ(surface.Unlock(), kDisplayErrNotLocked);
  EXPECT_EQ(surface.Lock(nullptr), kDisplayErrInvalidParams);
}

TEST(Surface8Test, FillSetsEveryPixelAndLeavesThePaddingAlone) {
  Surface8 surface(250, 3);
  SurfaceLock lock;
  surface.Lock(&lock);
  lock.bits[250] = 0x77;  // padding byte of row 0
  surface.Unlock();
  ASSERT_EQ(FillSurface(surface, 120), kDisplayOk);
  EXPECT_TRUE(AllPixelsAre(surface, 120));
  EXPECT_EQ(surface.Row(0)[250], 0x77);
}

TEST(Surface8Test, KeyedCopyLeavesKeyPixelsOut) {
  Surface8 overlay(4, 2);
  Surface8 frame(4, 2);
  FillSurface(frame, 9);
  const uint8_t row0[] = {3, 0x0F, 5, 0x0F};
  const uint8_t row1[] = {0x0F, 0x0F, 0x0F, 6};
  std::copy(row0, row0 + 4, overlay.Row(0));
  std::copy(row1, row1 + 4, overlay.Row(1));
  overlay.SetSourceColourKey(0x0F);
  ASSERT_EQ(CopySurfaceKeyed(overlay, frame, 0, 0), kDisplayOk);
  const uint8_t expected[2][4] = {{3, 9, 5, 9}, {9, 9, 9, 6}};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(frame.At(x, y), expected[y][x]) << x << "," << y;
  }
}

// Widths around the copy's vector width, placed off the destination's origin: every pixel
// takes the source unless the source holds the key, and nothing beyond the rectangle changes.
class CopyWidthTest : public ::testing::TestWithParam<int> {};

TEST_P(CopyWidthTest, KeyedAndPlainCopiesTouchExactlyTheirRectangle) {
  const int width = GetParam();
  Surface8 source(width, 3);
  Paint(source);
  source.SetSourceColourKey(7);  // x + 7 * y == 7 at (7, 0) and (0, 1)
  for (const bool keyed : {false, true}) {
    Surface8 destination(width + 9, 6);
    FillSurface(destination, 200);
    ASSERT_EQ(keyed ? CopySurfaceKeyed(source, destination, 5, 2)
                    : CopySurface(source, destination, 5, 2),
              kDisplayOk);
    for (int y = 0; y < destination.Height(); ++y) {
      for (int x = 0; x < destination.Width(); ++x) {
        const bool inside = x >= 5 && x < 5 + width && y >= 2 && y < 5;
        uint8_t expected = 200;
        if (inside && !(keyed && source.At(x - 5, y - 2) == 7)) expected = source.At(x - 5, y - 2);
        ASSERT_EQ(destination.At(x, y), expected) << "keyed " << keyed << " at " << x << "," << y;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, CopyWidthTest, ::testing::Values(1, 7, 15, 16, 17, 33, 250),
                         ::testing::PrintToStringParamName());

TEST(Surface8Test, KeyedCopyNeedsAKeyAndUnlockedSurfaces) {
  Surface8 overlay(8, 8);
  Surface8 frame(8, 8);
  EXPECT_EQ(CopySurfaceKeyed(overlay, frame, 0, 0), kDisplayErrNoColourKey);
  overlay.SetSourceColourKey(0);
  SurfaceLock lock;
  frame.Lock(&lock);
  EXPECT_EQ(CopySurfaceKeyed(overlay, frame, 0, 0), kDisplayErrSurfaceBusy);
  frame.Unlock();
  overlay.ClearSourceColourKey();
  EXPECT_FALSE(overlay.HasSourceColourKey());
}

TEST(Surface8Test, CopyPlacesTheSourceAtThePosition) {
  Surface8 frame(256, 240);
  Surface8 screen(640, 480);
  Paint(frame);
  FillSurface(screen, 120);
  ASSERT_EQ(CopySurface(frame, screen, 192, 128), kDisplayOk);
  EXPECT_EQ(screen.At(191, 128), 120);
  EXPECT_EQ(screen.At(192, 127), 120);
  EXPECT_EQ(screen.At(192, 128), frame.At(0, 0));
  EXPECT_EQ(screen.At(192 + 255, 128 + 239), frame.At(255, 239));
  EXPECT_EQ(screen.At(192 + 256, 128 + 239), 120);
  EXPECT_EQ(screen.At(192 + 255, 128 + 240), 120);
}

struct BadPlacement {
  int x;
  int y;
};

class CopyOutsideTest : public ::testing::TestWithParam<BadPlacement> {};

TEST_P(CopyOutsideTest, RefusedWithoutTouchingTheDestination) {
  Surface8 source(16, 16);
  Surface8 destination(32, 32);
  FillSurface(source, 1);
  source.SetSourceColourKey(0);
  FillSurface(destination, 2);
  EXPECT_EQ(CopySurface(source, destination, GetParam().x, GetParam().y), kDisplayErrInvalidRect);
  EXPECT_EQ(CopySurfaceKeyed(source, destination, GetParam().x, GetParam().y),
            kDisplayErrInvalidRect);
  EXPECT_TRUE(AllPixelsAre(destination, 2));
}

INSTANTIATE_TEST_SUITE_P(Placements, CopyOutsideTest,
                         ::testing::Values(BadPlacement{17, 0}, BadPlacement{0, 17},
                                           BadPlacement{-1, 0}, BadPlacement{0, -1},
                                           BadPlacement{1 << 30, 1 << 30}));

TEST(Surface8Test, CopyOntoItselfIsRefused) {
  Surface8 surface(8, 8);
  EXPECT_EQ(CopySurface(surface, surface, 0, 0), kDisplayErrInvalidParams);
}

struct StretchCase {
  int resolutionWidth;
  int resolutionHeight;
  SurfaceRect target;
};

class StretchTest : public ::testing::TestWithParam<StretchCase> {};

// Double size on each screen: every source pixel covers a whole block of the target.
TEST_P(StretchTest, DoublesEveryPixelIntoItsBlock) {
  const StretchCase& param = GetParam();
  Surface8 frame(256, 240);
  Surface8 screen(param.resolutionWidth, param.resolutionHeight);
  Paint(frame);
  FillSurface(screen, 120);
  ASSERT_EQ(StretchSurface(frame, {0, 0, 256, 240}, screen, param.target), kDisplayOk);
  const int scaleX = param.target.width / 256;
  const int scaleY = param.target.height / 240;
  for (int y = 0; y < param.target.height; ++y) {
    for (int x = 0; x < param.target.width; ++x) {
      ASSERT_EQ(screen.At(param.target.x + x, param.target.y + y), frame.At(x / scaleX, y / scaleY))
          << x << "," << y;
    }
  }
  if (param.target.x > 0) {
    EXPECT_EQ(screen.At(param.target.x - 1, param.target.y), 120);
  }
  const int right = param.target.x + param.target.width;
  if (right < param.resolutionWidth) {
    EXPECT_EQ(screen.At(right, param.target.y), 120);
  }
}

INSTANTIATE_TEST_SUITE_P(Resolutions, StretchTest,
                         ::testing::Values(StretchCase{640, 480, {64, 0, 512, 480}},
                                           StretchCase{800, 600, {148, 60, 512, 480}},
                                           StretchCase{1024, 768, {128, 0, 768, 720}}),
                         [](const ::testing::TestParamInfo<StretchCase>& info) {
                           return std::to_string(info.param.resolutionWidth) + "x" +
                                  std::to_string(info.param.resolutionHeight);
                         });

TEST(Surface8Test, StretchShrinksByPickingTheNearestSourcePixel) {
  Surface8 source(8, 2);
  Surface8 destination(4, 1);
  Paint(source);
  ASSERT_EQ(StretchSurface(source, {0, 0, 8, 2}, destination, {0, 0, 4, 1}), kDisplayOk);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(destination.At(x, 0), source.At(2 * x, 0));
}

TEST(Surface8Test, StretchRefusesRectanglesOutsideEitherSurface) {
  Surface8 source(256, 240);
  Surface8 screen(640, 480);
  EXPECT_EQ(StretchSurface(source, {0, 0, 257, 240}, screen, {0, 0, 512, 480}),
            kDisplayErrInvalidRect);
  EXPECT_EQ(StretchSurface(source, {0, 0, 256, 240}, screen, {129, 0, 512, 480}),
            kDisplayErrInvalidRect);
  EXPECT_EQ(StretchSurface(source, {0, 0, 256, 240}, screen, {0, 0, 0, 480}),
            kDisplayErrInvalidRect);
}

TEST(Surface8Test, RowBandsDrawEveryOtherLineAndLeaveTheRestAlone) {
  Surface8 frame(256, 240);
  Surface8 screen(640, 480);
  Paint(frame);
  FillSurface(screen, 120);
  for (int k = 0; k < 240; ++k)
    ASSERT_EQ(CopyRowBand(frame, k, screen, 2 * k, 64, 512), kDisplayOk);
  for (int k = 0; k < 240; ++k) {
    EXPECT_EQ(screen.At(64, 2 * k), frame.At(0, k));
    EXPECT_EQ(screen.At(64 + 511, 2 * k), frame.At(255, k));
    EXPECT_EQ(screen.At(64 + 2 * 100 + 1, 2 * k), frame.At(100, k));
    EXPECT_EQ(screen.At(64, 2 * k + 1), 120);
  }
  EXPECT_EQ(CopyRowBand(frame, 240, screen, 0, 64, 512), kDisplayErrInvalidRect);
}

TEST(Surface8Test, ExpandThroughPaletteHonoursTheOutputPitch) {
  Surface8 surface(2, 2);
  surface.Row(0)[0] = 0;
  surface.Row(0)[1] = 1;
  surface.Row(1)[0] = 255;
  surface.Row(1)[1] = 1;
  DisplayPalette palette{};
  palette[1] = {0x12, 0x34, 0x56};
  palette[255] = {0xFF, 0x00, 0x80};
  std::vector<uint32_t> out(2 * 3, 0xDEADBEEF);
  ExpandThroughPalette(surface, palette, out.data(), 3);
  EXPECT_EQ(out[0], 0xFF000000u);
  EXPECT_EQ(out[1], 0xFF123456u);
  EXPECT_EQ(out[2], 0xDEADBEEFu);  // beyond the width of row 0
  EXPECT_EQ(out[3], 0xFFFF0080u);
  EXPECT_EQ(out[4], 0xFF123456u);
}

}  // namespace
}  // namespace wrenfold
