#include "emulator/sound/noise_channel.h"

#include <algorithm>
#include <cstdlib>

#include "tests/emulator/sound/sound_fixture.h"

namespace wrenfold {
namespace {

constexpr int kHold3 = 3;  // $400E hold index 0

int PeakOf(const std::vector<int16_t>& samples) {
  int peak = 0;
  for (int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak;
}

bool AllSilent(const std::vector<int16_t>& samples) {
  return std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; });
}

class NoiseTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    StartSound();
  }

  void PlayNoise(uint8_t control, uint8_t mode) {
    Write(0x400C, control);
    Write(0x400E, mode);
    Write(0x400F, 0xF8);  // length index 31
  }
};

TEST_F(NoiseTest, ShortModeRepeatsEveryNinetyThreeSteps) {
  PlayNoise(0x1F, 0x80);
  const std::vector<int16_t> frame = MixFrame(kNoiseChannel);
  const size_t period = kShortNoiseSteps * kHold3;
  for (size_t i = kHold3; i + period < frame.size(); ++i) {
    ASSERT_EQ(frame[i], frame[i + period]) << "sample " << i;
  }
  for (size_t i = 0; i < frame.size(); ++i) ASSERT_EQ(std::abs(frame[i]), 1920) << i;
  EXPECT_NE(std::count(frame.begin(), frame.end(), 1920), 0);
  EXPECT_NE(std::count(frame.begin(), frame.end(), -1920), 0);
}

TEST_F(NoiseTest, LongModeDoesNotRepeatWithinAFrame) {
  PlayNoise(0x1F, 0x00);
  const std::vector<int16_t> frame = MixFrame(kNoiseChannel);
  const size_t period = kShortNoiseSteps * kHold3;
  bool differs = false;
  for (size_t i = kHold3; i + period < frame.size(); ++i) differs |= frame[i] != frame[i + period];
  EXPECT_TRUE(differs);
}

TEST_F(NoiseTest, EachValueIsHeldForTheHoldTableLength) {
  PlayNoise(0x1F, 0x8D);  // hold index 13: 11 samples
  const std::vector<int16_t> frame = MixFrame(kNoiseChannel);
  for (size_t i = 0; i < frame.size(); ++i) {
    ASSERT_EQ(frame[i], frame[i - i % 11]) << "sample " << i;
  }
}

TEST_F(NoiseTest, EnvelopeFromPowerOnStaysWithinVolumeFifteen) {
  PlayNoise(0x00, 0x00);  // envelope, divider period 0, no loop
  std::vector<int> peaks;
  for (int frame = 0; frame < 12; ++frame) peaks.push_back(PeakOf(MixFrame(kNoiseChannel)));
  // It runs out at once, restarts at 15 in the next frame, and decays four steps a frame.
  EXPECT_EQ(peaks[0], 0);
  EXPECT_EQ(peaks[1], 14 * 128);
  EXPECT_EQ(peaks[2], 10 * 128);
  EXPECT_EQ(*std::max_element(peaks.begin(), peaks.end()), 14 * 128);
}

TEST_F(NoiseTest, NoteWithoutLoopEndsAndItsBufferIsCleared) {
  PlayNoise(0x1F, 0x00);  // the $400F write loads a count of 35 frames
  const std::vector<int16_t> frames = MixFrames(kNoiseChannel, 34);
  EXPECT_EQ(PeakOf(std::vector<int16_t>(frames.end() - 368, frames.end())), 1920);
  MixFrameSound(*machine, *sound);
  MixFrameSound(*machine, *sound);
  EXPECT_TRUE(AllSilent(WholeBuffer(sound->output.channels[kNoiseChannel])));
}

}  // namespace
}  // namespace wrenfold
