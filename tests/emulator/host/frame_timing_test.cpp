#include "emulator/host/frame_timing.h"

#include <gtest/gtest.h>

#include "emulator/host/display_geometry.h"

namespace wrenfold {
namespace {

TEST(FrameTimingTest, NtscAndPalDifferInLineCountsOnly) {
  const FrameTiming ntsc = FrameTimingFor(VideoStandard::kNtsc);
  const FrameTiming pal = FrameTimingFor(VideoStandard::kPal);
  EXPECT_EQ(ntsc.scanlinesPerFrame, 262);
  EXPECT_EQ(ntsc.renderedLines, 232);
  EXPECT_EQ(pal.scanlinesPerFrame, 290);
  EXPECT_EQ(pal.renderedLines, 240);
  for (const FrameTiming& timing : {ntsc, pal}) {
    EXPECT_EQ(timing.visibleLineLimit, 240);
    EXPECT_EQ(timing.vblankLine, 243);
  }
  EXPECT_EQ(ntsc.frameDeadlines, pal.frameDeadlines);
}

TEST(FrameTimingTest, DeadlinesRoundDownAndCloseTheSecond) {
  const auto& deadlines = FrameTimingFor(VideoStandard::kNtsc).frameDeadlines;
  EXPECT_EQ(deadlines[0], 16);
  EXPECT_EQ(deadlines[1], 33);
  EXPECT_EQ(deadlines[2], 50);
  EXPECT_EQ(deadlines[58], 983);
  EXPECT_EQ(deadlines[59], 1000);
  for (std::size_t i = 1; i < deadlines.size(); ++i) EXPECT_GT(deadlines[i], deadlines[i - 1]);
}

struct GeometryCase {
  int resolution;
  uint16_t width;
  uint16_t height;
  PictureRect target;
};

class DisplayGeometryTest : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(DisplayGeometryTest, ModeAndDoubleSizeTargetFollowTheResolution) {
  const DisplayGeometry geometry = DisplayGeometryFor(GetParam().resolution);
  EXPECT_EQ(geometry.modeWidth, GetParam().width);
  EXPECT_EQ(geometry.modeHeight, GetParam().height);
  EXPECT_EQ(geometry.bitsPerPixel, 8);
  const PictureRect& t = geometry.doubleSizeTarget;
  EXPECT_EQ(t.left, GetParam().target.left);
  EXPECT_EQ(t.top, GetParam().target.top);
  EXPECT_EQ(t.right, GetParam().target.right);
  EXPECT_EQ(t.bottom, GetParam().target.bottom);
  EXPECT_EQ(geometry.source.right, 255);
  EXPECT_EQ(geometry.source.bottom, 239);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, DisplayGeometryTest,
                         ::testing::Values(GeometryCase{1, 640, 480, {64, 0, 575, 479}},
                                           GeometryCase{2, 800, 600, {148, 60, 659, 539}},
                                           GeometryCase{3, 1024, 768, {128, 0, 895, 719}},
                                           GeometryCase{0, 640, 480, {64, 0, 575, 479}},
                                           GeometryCase{9, 640, 480, {64, 0, 575, 479}}));

}  // namespace
}  // namespace wrenfold
