#include "emulator/sound/triangle_channel.h"

#include <algorithm>
#include <set>

#include "tests/emulator/sound/sound_fixture.h"

namespace wrenfold {
namespace {

// Timer value 649 lasts 128 output samples, so Q = 64 and the wave repeats every 256.
constexpr uint8_t kTimerLowQ64 = 0x89;
constexpr uint8_t kTimerHighQ64 = 0x02;

class TriangleTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    StartSound();
  }

  void PlayTriangle(uint8_t control) {
    Write(0x4008, control);
    Write(0x400A, kTimerLowQ64);
    Write(0x400B, kTimerHighQ64 | 0x08);
  }
};

TEST_F(TriangleTest, SixteenStepWaveOfFourQuarterCycles) {
  PlayTriangle(0xFF);  // control set: neither count silences it
  const std::vector<int16_t> frame = MixFrame(kTriangleChannel);
  // Thresholds are 4, 8, ... 64: one level step every four samples.
  EXPECT_EQ(frame[3], 0);
  EXPECT_EQ(frame[4], 128);
  EXPECT_EQ(frame[59], 14 * 128);
  EXPECT_EQ(frame[60], 15 * 128);
  EXPECT_EQ(frame[68], 14 * 128);
  EXPECT_EQ(frame[132], -128);
  EXPECT_EQ(frame[188], -15 * 128);
  EXPECT_EQ(*std::max_element(frame.begin(), frame.end()), 1920);
  EXPECT_EQ(*std::min_element(frame.begin(), frame.end()), -1920);
  const std::set<int16_t> levels(frame.begin(), frame.end());
  EXPECT_EQ(levels.size(), 31u);  // -15..15 steps of 128
  for (size_t i = 0; i + 256 < frame.size(); ++i) ASSERT_EQ(frame[i], frame[i + 256]) << i;
}

TEST_F(TriangleTest, ControlByteZeroMeansPeriodZeroAndSilence) {
  PlayTriangle(0x00);
  const std::vector<int16_t> frames = MixFrames(kTriangleChannel, 3);
  EXPECT_TRUE(std::all_of(frames.begin(), frames.end(), [](int16_t s) { return s == 0; }));
}

TEST_F(TriangleTest, ZeroLinearLoadMutesFromTheFrameAfterTheReload) {
  PlayTriangle(0x80);
  const std::vector<int16_t> reload = MixFrame(kTriangleChannel);
  EXPECT_EQ(*std::max_element(reload.begin(), reload.end()), 1920);
  const std::vector<int16_t> after = MixFrame(kTriangleChannel);
  EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](int16_t s) { return s == 0; }));
}

TEST_F(TriangleTest, LinearCounterRunningOutMutesTheChannel) {
  PlayTriangle(0x04);  // control clear, linear load 1 frame
  const std::vector<int16_t> first = MixFrame(kTriangleChannel);
  EXPECT_EQ(*std::max_element(first.begin(), first.end()), 1920);
  const std::vector<int16_t> second = MixFrame(kTriangleChannel);
  EXPECT_TRUE(std::all_of(second.begin(), second.end(), [](int16_t s) { return s == 0; }));
}

TEST(TriangleFrameTest, RegisterWriteReloadsPeriodAndCounts) {
  TriangleState triangle{};
  triangle.muted = true;
  int32_t written = 1;
  StartTriangleFrame(triangle, TriangleRegisters{0x7F, 0, kTimerLowQ64, kTimerHighQ64 | 0x18},
                     written);
  EXPECT_EQ(written, 0);
  EXPECT_EQ(triangle.period, 649);
  EXPECT_EQ(triangle.lengthCounter, 0x18 * 2);
  EXPECT_EQ(triangle.linearCounter, 0x7F / 4);
  EXPECT_FALSE(triangle.muted);
}

}  // namespace
}  // namespace wrenfold
