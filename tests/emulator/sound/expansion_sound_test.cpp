// The VRC6 and Namco 106 channels: waveform facts checked on the samples they produce, the
// per-frame mix into their own buffers, and a sweep of random register values.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "emulator/sound/namco_sound.h"
#include "emulator/sound/vrc6_sound.h"
#include "tests/emulator/sound/sound_fixture.h"

namespace wrenfold {
namespace {

// Period 81 lasts 16 x 81 CPU cycles, exactly 16 output samples.
constexpr uint8_t kSixteenSamplePeriod = 81;

std::vector<int16_t> RenderPulse(uint8_t control, uint16_t period, uint32_t count) {
  Vrc6PulseState pulse{};
  const Vrc6Registers regs{control, static_cast<uint8_t>(period),
                           static_cast<uint8_t>(kVrc6ChannelEnable | (period >> 8))};
  std::vector<int16_t> out(count);
  RenderVrc6PulseFrame(pulse, regs, out.data(), count);
  return out;
}

// Each period starts at volume x 256 and is 0 for its last duty + 1 sixteenths: duty 7 is a
// square (high for the first half), duty 0 high for fifteen sixteenths.
TEST(Vrc6PulseTest, EveryDutyIsHighForFifteenMinusDutySixteenths) {
  for (uint8_t duty = 0; duty < 8; ++duty) {
    for (uint8_t volume : {1, 9, 15}) {
      const uint8_t control = static_cast<uint8_t>(duty << 4 | volume);
      const std::vector<int16_t> samples = RenderPulse(control, kSixteenSamplePeriod, 16 * 20);
      for (size_t n = 0; n < samples.size(); ++n) {
        const bool high = n % 16 < 15u - duty;
        ASSERT_EQ(samples[n], high ? volume * 256 : 0)
            << "duty " << int{duty} << " volume " << int{volume} << " sample " << n;
      }
    }
  }
}

// Over long periods the share of high samples follows the duty and the number of periods the
// cycle count, for periods that do not divide into whole samples.
TEST(Vrc6PulseTest, PitchAndDutyHoldForAnyPeriod) {
  constexpr uint32_t kSamples = 22050;
  for (uint16_t period : {100, 253, 1000, 4095}) {
    for (uint8_t duty : {0, 3, 7}) {
      const std::vector<int16_t> samples =
          RenderPulse(static_cast<uint8_t>(duty << 4 | 15), period, kSamples);
      int rises = 0;
      for (size_t n = 1; n < samples.size(); ++n) rises += samples[n - 1] == 0 && samples[n] != 0;
      const double periods = kSamples * 81.0 / (period * 16.0);
      EXPECT_NEAR(rises, periods, 1.5) << "period " << period;
      const double high = std::count(samples.begin(), samples.end(), 15 * 256) / double{kSamples};
      EXPECT_NEAR(high, (15 - duty) / 16.0, 0.01 + 2 * 81.0 / (period * 16.0))
          << "period " << period << " duty " << int{duty};
    }
  }
}

TEST(Vrc6PulseTest, PeriodsShorterThanASampleAreSilent) {
  for (uint16_t period : {0, 1, 5}) {
    const std::vector<int16_t> samples = RenderPulse(0x7F, period, 1000);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; }))
        << "period " << period;
  }
}

// Rate $3F: 63, 126, 189, 252, 59 (wrapped), 122, then the seventh step clears it; each
// step lasts 2 x period cycles, so period 81 holds every value for two samples.
TEST(Vrc6SawTest, AccumulatorRunsSixStepsAndClearsAtTheSeventh) {
  Vrc6SawState saw{};
  const Vrc6Registers regs{0x3F, kSixteenSamplePeriod, kVrc6ChannelEnable};
  std::vector<int16_t> out(14 * 5);
  RenderVrc6SawFrame(saw, regs, out.data(), static_cast<uint32_t>(out.size()));
  const int accumulator[7] = {63, 126, 189, 252, 59, 122, 0};
  for (size_t n = 0; n < out.size(); ++n) {
    ASSERT_EQ(out[n], (accumulator[n / 2 % 7] >> 3) * 256) << "sample " << n;
  }
}

class ExpansionMixTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    StartSound();
  }

  // One frame through MixFrameSound; returns what it wrote into expansion buffer `index`.
  std::vector<int16_t> MixExpansionFrame(int index) {
    const uint32_t start = sound->output.writePosition;
    const uint32_t count = sound->output.samplesThisFrame;
    MixFrameSound(*machine, *sound);
    ++machine->frameCounter;
    const std::vector<int16_t> buffer = WholeBuffer(sound->expansion.buffers[index]);
    std::vector<int16_t> frame;
    for (uint32_t i = 0; i < count; ++i) frame.push_back(buffer[(start + i) % buffer.size()]);
    return frame;
  }

  void SetVrc6(int channel, uint8_t b0, uint8_t b1, uint8_t b2) {
    uint8_t* group = &machine->mapper.vrc6SoundRegs[channel * 4];
    group[0] = b0;
    group[1] = b1;
    group[2] = b2;
  }

  // Channel c plays `length` bytes from `start` at one wave byte per output sample.
  void SetNamco(int c, uint8_t lengthCode, uint8_t start, uint8_t volume,
                uint32_t frequency = 99556) {
    uint8_t* regs = &machine->namcoRam[0x40 + 8 * c];
    regs[0] = static_cast<uint8_t>(frequency);
    regs[2] = static_cast<uint8_t>(frequency >> 8);
    regs[4] = static_cast<uint8_t>(lengthCode << 2 | (frequency >> 16));
    regs[6] = start;
    regs[7] = volume;
  }

  int CountInLog(const std::string& text) {
    const std::string log = ReadLog();
    int count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
    return count;
  }
};

TEST_F(ExpansionMixTest, Vrc6BuffersStartWithTheApuAndHoldEachChannelsWave) {
  ASSERT_EQ(CreateVrc6Channels(*machine, *sound), 1);
  EXPECT_NE(ReadLog().find("VRC6 Extened Sound Channel Created\n"), std::string::npos);
  SetVrc6(0, 0x7F, kSixteenSamplePeriod, kVrc6ChannelEnable);  // square, volume 15
  SetVrc6(2, 0x3F, kSixteenSamplePeriod, kVrc6ChannelEnable);
  for (int frame = 0; frame < 3; ++frame) {
    const uint32_t start = sound->output.writePosition;
    const std::vector<int16_t> pulse = MixExpansionFrame(0);
    for (size_t n = 0; n < pulse.size(); ++n) {
      ASSERT_EQ(pulse[n], (start + n) % 16 < 8 ? 3840 : 0) << "frame " << frame << " sample " << n;
    }
  }
  EXPECT_TRUE(service.IsPlaying(sound->expansion.buffers[0]));
  EXPECT_TRUE(service.IsPlaying(sound->output.channels[kPulse1Channel]));
  EXPECT_EQ(CountInLog("Start VRC6 Sound Channel\n"), 1);
  // Pulse 2 is disabled: its buffer holds silence; the sawtooth continues across frames.
  const std::vector<int16_t> silent = WholeBuffer(sound->expansion.buffers[1]);
  EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](int16_t s) { return s == 0; }));
  const std::vector<int16_t> saw = WholeBuffer(sound->expansion.buffers[2]);
  for (size_t n = 0; n < 367 + 368 + 367; ++n) {
    const int accumulator[7] = {63, 126, 189, 252, 59, 122, 0};
    ASSERT_EQ(saw[n], (accumulator[n / 2 % 7] >> 3) * 256) << "sample " << n;
  }
}

// What the service plays is the APU and the VRC6 summed: a VRC6 square alone comes out as is.
TEST_F(ExpansionMixTest, ServiceSumsTheExtraChannelsWithTheApu) {
  ASSERT_EQ(CreateVrc6Channels(*machine, *sound), 1);
  Write(0x4015, 0);
  SetVrc6(1, 0x75, kSixteenSamplePeriod, kVrc6ChannelEnable);  // square, volume 5
  for (int frame = 0; frame < 4; ++frame) MixExpansionFrame(1);
  std::vector<int16_t> stereo(2 * 367);
  service.RenderMix(stereo.data(), 367);
  for (size_t n = 0; n < 367; ++n) {
    ASSERT_EQ(stereo[2 * n], n % 16 < 8 ? 1280 : 0) << "sample " << n;
    ASSERT_EQ(stereo[2 * n + 1], stereo[2 * n]);
  }
}

// Constant-output mode holds the volume; its "D" is logged once per stretch, not every frame.
TEST_F(ExpansionMixTest, ConstantOutputIsLoggedOncePerStretch) {
  ASSERT_EQ(CreateVrc6Channels(*machine, *sound), 1);
  const int before = CountInLog("D");  // "Direct Sound Object Created"
  SetVrc6(0, 0x8C, 0x00, kVrc6ChannelEnable);
  for (int frame = 0; frame < 5; ++frame) {
    const std::vector<int16_t> samples = MixExpansionFrame(0);
    ASSERT_TRUE(std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 3072; }));
  }
  EXPECT_EQ(CountInLog("D"), before + 1);
  SetVrc6(0, 0x0C, 0x80, kVrc6ChannelEnable);
  MixExpansionFrame(0);
  SetVrc6(0, 0x8C, 0x80, kVrc6ChannelEnable);
  MixExpansionFrame(0);
  MixExpansionFrame(0);
  EXPECT_EQ(CountInLog("D"), before + 2);
}

TEST_F(ExpansionMixTest, LockFailuresAreLoggedAndSkipTheChannel) {
  ASSERT_EQ(CreateVrc6Channels(*machine, *sound), 1);
  SetVrc6(0, 0x7F, kSixteenSamplePeriod, kVrc6ChannelEnable);
  service.failingLock = sound->expansion.buffers[0];
  service.lockFailure = kSoundInvalidCall;
  MixExpansionFrame(1);
  EXPECT_EQ(CountInLog("VRC6 Lock Fail\n"), 1);
  ReleaseSound(*sound);
  StartSound();
  ASSERT_EQ(CreateNamcoChannels(*machine, *sound), 1);
  SetNamco(3, 0, 0, 15);
  service.failingLock = sound->expansion.buffers[3];
  MixExpansionFrame(0);
  EXPECT_EQ(CountInLog("Nam Fail\n"), 1);
}

// Length code 0 plays a 16-byte wave and code 7 a 2-byte one, each byte times the volume.
TEST_F(ExpansionMixTest, NamcoWaveLengthFollowsTheLengthCode) {
  ASSERT_EQ(CreateNamcoChannels(*machine, *sound), 1);
  EXPECT_NE(ReadLog().find("Namco Extened Sound Channel Created\n"), std::string::npos);
  for (int i = 0; i < 0x40; ++i) machine->namcoRam[i] = static_cast<uint8_t>(i + 1);
  SetNamco(0, 0, 0x10, 3);
  SetNamco(5, 7, 0x3E, 15);
  for (int frame = 0; frame < 2; ++frame) {
    const uint32_t start = sound->output.writePosition;
    const std::vector<int16_t> wide = MixExpansionFrame(0);
    const std::vector<int16_t> narrow = WholeBuffer(sound->expansion.buffers[5]);
    for (size_t n = 0; n < wide.size(); ++n) {
      const uint32_t played = start + static_cast<uint32_t>(n) + 1;  // a step precedes each sample
      ASSERT_EQ(wide[n], 3 * (0x10 + played % 16 + 1)) << "sample " << n;
      ASSERT_EQ(narrow[start + n], 15 * (0x3E + played % 2 + 1)) << "sample " << n;
    }
  }
}

TEST_F(ExpansionMixTest, NamcoLargestValueIsVolume15TimesByteFF) {
  ASSERT_EQ(CreateNamcoChannels(*machine, *sound), 1);
  std::fill(std::begin(machine->namcoRam), std::begin(machine->namcoRam) + 0x40, uint8_t{0xFF});
  SetNamco(7, 0, 0x20, 15, 5000);
  const std::vector<int16_t> samples = MixExpansionFrame(7);
  EXPECT_EQ(*std::max_element(samples.begin(), samples.end()), 3825);
}

// Frequency 0 has no finite step: the channel is silent and keeps its place.
TEST_F(ExpansionMixTest, NamcoFrequencyZeroIsSilent) {
  ASSERT_EQ(CreateNamcoChannels(*machine, *sound), 1);
  std::fill(std::begin(machine->namcoRam), std::begin(machine->namcoRam) + 0x40, uint8_t{0x80});
  SetNamco(2, 0, 0, 15);
  MixExpansionFrame(2);
  const NamcoChannelState before = sound->expansion.namco.channels[2];
  SetNamco(2, 0, 0, 15, 0);
  const std::vector<int16_t> samples = MixExpansionFrame(2);
  EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; }));
  EXPECT_EQ(sound->expansion.namco.channels[2].position, before.position);
  EXPECT_EQ(sound->expansion.namco.channels[2].counter, before.counter);
}

// Random registers, changed between frames (so waves shrink under a playing position and
// periods jump), must neither fault nor hang, and every sample stays within the channel's range.
TEST_F(ExpansionMixTest, RandomRegistersStayInRange) {
  std::mt19937 random(20240613);
  std::uniform_int_distribution<int> byte(0, 255);
  for (ExpansionSoundKind kind : {ExpansionSoundKind::kVrc6, ExpansionSoundKind::kNamco}) {
    ReleaseSound(*sound);
    StartSound();
    const bool vrc6 = kind == ExpansionSoundKind::kVrc6;
    ASSERT_EQ(vrc6 ? CreateVrc6Channels(*machine, *sound) : CreateNamcoChannels(*machine, *sound),
              1);
    for (int frame = 0; frame < 300; ++frame) {
      for (uint8_t& r : machine->mapper.vrc6SoundRegs) r = static_cast<uint8_t>(byte(random));
      for (uint8_t& r : machine->namcoRam) r = static_cast<uint8_t>(byte(random));
      // Now and then the extremes: frequency and period 0, the shortest and longest steps.
      if (frame % 7 == 0) std::fill(std::begin(machine->namcoRam), std::end(machine->namcoRam), 0);
      if (frame % 11 == 0) {
        for (int c = 0; c < kVrc6ChannelCount; ++c) SetVrc6(c, 0x7F, 0, kVrc6ChannelEnable);
      }
      const int index = frame % (vrc6 ? kVrc6ChannelCount : kNamcoChannelCount);
      const std::vector<int16_t> samples = MixExpansionFrame(index);
      const int16_t top = vrc6 ? (index == 2 ? 31 * 256 : 15 * 256) : 3825;
      for (int16_t s : samples) ASSERT_TRUE(s >= 0 && s <= top) << s << " frame " << frame;
    }
  }
}

}  // namespace
}  // namespace wrenfold
