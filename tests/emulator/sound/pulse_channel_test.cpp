#include "emulator/sound/pulse_channel.h"

#include <algorithm>
#include <cstdlib>

#include "tests/emulator/sound/sound_fixture.h"

namespace wrenfold {
namespace {

// Timer value 507 lasts exactly 100 output samples: (507 + 1) x 22050 / 111860.
constexpr uint8_t kTimerLow100 = 0xFB;
constexpr uint8_t kTimerHigh100 = 0x01;
constexpr uint8_t kLength127 = 1 << 3;  // length index 1: 127 frames
constexpr uint8_t kLength5 = 0 << 3;    // length index 0: 5 frames

int PeakOf(const std::vector<int16_t>& samples) {
  int peak = 0;
  for (int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak;
}

class PulseTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    StartSound();
  }

  void PlayPulse1(uint8_t control, uint8_t sweep, uint8_t timerLow, uint8_t timerHigh) {
    Write(0x4000, control);
    Write(0x4001, sweep);
    Write(0x4002, timerLow);
    Write(0x4003, timerHigh);
  }
};

struct DutyCase {
  uint8_t duty;
  int highSamples;  // of each 100-sample cycle
};

void PrintTo(const DutyCase& c, std::ostream* os) {
  *os << "duty " << int{c.duty} << ", " << c.highSamples << " high";
}

class PulseDutyTest : public PulseTest, public ::testing::WithParamInterface<DutyCase> {};

TEST_P(PulseDutyTest, CycleIsHighForTheDutyThenLow) {
  const DutyCase duty = GetParam();
  // Constant volume 15: +-1920.
  PlayPulse1(static_cast<uint8_t>(duty.duty << 6 | 0x1F), 0, kTimerLow100,
             kTimerHigh100 | kLength127);
  const std::vector<int16_t> frame = MixFrame(kPulse1Channel);
  ASSERT_EQ(frame.size(), 367u);
  for (size_t i = 0; i < frame.size(); ++i) {
    const int expected = static_cast<int>(i % 100) < duty.highSamples ? 1920 : -1920;
    ASSERT_EQ(frame[i], expected) << "sample " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Duties, PulseDutyTest,
                         ::testing::Values(DutyCase{0, 12}, DutyCase{1, 25}, DutyCase{2, 50},
                                           DutyCase{3, 75}));

TEST_F(PulseTest, PeriodZeroIsSilentUntilAPeriodIsSetAndTheCycleEnds) {
  PlayPulse1(0x9F, 0, 0x00, kLength127);
  const std::vector<int16_t> silent = MixFrames(kPulse1Channel, 3);
  EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](int16_t s) { return s == 0; }));

  Write(0x4002, kTimerLow100);
  Write(0x4003, kTimerHigh100 | kLength127);
  const std::vector<int16_t> sounding = MixFrame(kPulse1Channel);
  EXPECT_EQ(sounding[0], 1920);
  EXPECT_EQ(sounding[50], -1920);
}

TEST_F(PulseTest, SweepWithShiftZeroNeverChangesThePeriod) {
  // Enabled, divider period 0 (clocks twice a frame), upward, shift 0.
  PlayPulse1(0x9F, 0x80, kTimerLow100, kTimerHigh100 | kLength127);
  for (int frame = 0; frame < 20; ++frame) {
    MixFrameSound(*machine, *sound);
    ASSERT_EQ(sound->apu.pulse[0].period, 507) << "frame " << frame;
  }
}

TEST_F(PulseTest, SweepWithAShiftMovesThePeriodTwiceAFrame) {
  PlayPulse1(0x9F, 0x81, kTimerLow100, kTimerHigh100 | kLength127);
  MixFrameSound(*machine, *sound);
  EXPECT_EQ(sound->apu.pulse[0].period, 1140);  // 507 + 253 = 760, then 760 + 380
  PlayPulse1(0x9F, 0x89, kTimerLow100, kTimerHigh100 | kLength127);  // downward
  MixFrameSound(*machine, *sound);
  EXPECT_EQ(sound->apu.pulse[0].period, 127);  // 507 - 253 = 254, then 254 - 127
}

TEST_F(PulseTest, DecayingNoteIsTriggeredAgainEveryLengthTableFrames) {
  // Envelope divider period 0: four volume steps a frame. Length index 0: every 5 frames.
  PlayPulse1(0x80, 0, kTimerLow100, kTimerHigh100 | kLength5);
  std::vector<int> peaks;
  for (int frame = 0; frame < 16; ++frame) peaks.push_back(PeakOf(MixFrame(kPulse1Channel)));
  // The first trigger finds no finished cycle to restart from; from the second on, each
  // starts at volume 15 and falls 15, 11, 7, 3, then silence.
  const std::vector<int> expected = {0,   0, 0,    0,    0,   1920, 1408, 896,
                                     384, 0, 1920, 1408, 896, 384,  0,    1920};
  EXPECT_EQ(peaks, expected);
}

TEST_F(PulseTest, VolumeLeftAtZeroByConstantModeDoesNotWrapWhenTheEnvelopeResumes) {
  PlayPulse1(0x80, 0, kTimerLow100, kTimerHigh100 | kLength127);
  MixFrameSound(*machine, *sound);  // cycles run: the next trigger restarts the envelope
  Write(0x4000, 0x81);
  Write(0x4002, 0x00);
  Write(0x4003, kLength127);  // period 0 from now on: no cycle starts
  MixFrameSound(*machine, *sound);
  ASSERT_TRUE(sound->apu.pulse[0].envelopeActive);
  Write(0x4000, 0x90);  // constant volume 0
  MixFrameSound(*machine, *sound);
  ASSERT_EQ(sound->apu.pulse[0].volume, 0);

  PlayPulse1(0x80, 0, kTimerLow100, kTimerHigh100 | kLength127);
  const std::vector<int16_t> frame = MixFrame(kPulse1Channel);
  EXPECT_LE(PeakOf(frame), 15 * 128);
  EXPECT_LE(sound->apu.pulse[0].volume, 15);
}

TEST(PulseEnvelopeTest, SecondPulseCountsItsDividerDownEvenWhenTheEnvelopeIsIdle) {
  SoundTables tables{};
  BuildSamplesPerPeriod(tables);
  const PulseRegisters constantVolume{0x9F, 0, kTimerLow100, kTimerHigh100};
  int16_t out[367];

  PulseState first{};
  RenderPulseFrame(first, constantVolume, tables, false, out, 367);
  EXPECT_EQ(first.envelopeDivider, 0);

  PulseState second{};
  RenderPulseFrame(second, constantVolume, tables, true, out, 367);
  EXPECT_EQ(second.envelopeDivider, 254);  // samples 92 and 275, wrapping below 0
}

TEST(PulseEnvelopeTest, DutyThresholdsComeFromShifts) {
  EXPECT_EQ(PulseDutyThreshold(101, 0x00), 12);
  EXPECT_EQ(PulseDutyThreshold(101, 0x40), 25);
  EXPECT_EQ(PulseDutyThreshold(101, 0x80), 50);
  EXPECT_EQ(PulseDutyThreshold(101, 0xC0), 75);
}

}  // namespace
}  // namespace wrenfold
