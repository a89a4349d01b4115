#include <algorithm>
#include <string>
#include <vector>

#include "tests/emulator/sound/sound_fixture.h"

namespace wrenfold {
namespace {

class MixFrameSoundTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    StartSound();
    // Noise at constant volume 0 for 35 frames: it writes (silent) frames like the others.
    Write(0x400C, 0x10);
    Write(0x400F, 0xF8);
  }

  // Pulse 1: duty 2, constant volume 15, 100-sample cycles: +1920 for 50, -1920 for 50.
  void PlaySquare() {
    Write(0x4000, 0x9F);
    Write(0x4002, 0xFB);
    Write(0x4003, 0x09);
  }

  static int16_t Square(size_t i) { return i % 100 < 50 ? 1920 : -1920; }

  // Mixes one frame the way the frame driver does: sound first, the NMI at the end.
  void RunFrame() {
    MixFrameSound(*machine, *sound);
    ++machine->frameCounter;
  }
};

TEST_F(MixFrameSoundTest, FramesAlternate367And368SamplesAndFillASecondIn60) {
  uint32_t expected = 0;
  for (int frame = 0; frame < 60; ++frame) {
    ASSERT_EQ(sound->output.writePosition, expected);
    const uint32_t count = sound->output.samplesThisFrame;
    ASSERT_EQ(count, frame % 2 == 0 ? 367u : 368u) << "frame " << frame;
    RunFrame();
    expected += count;
  }
  EXPECT_EQ(expected, 22050u);
  EXPECT_EQ(sound->output.writePosition, 0u);
}

TEST_F(MixFrameSoundTest, ConsecutiveFramesContinueTheWaveAtTheCommonWritePosition) {
  PlaySquare();
  for (int frame = 0; frame < 3; ++frame) RunFrame();
  const std::vector<int16_t> buffer = WholeBuffer(sound->output.channels[kPulse1Channel]);
  for (size_t i = 0; i < 367 + 368 + 367; ++i) ASSERT_EQ(buffer[i], Square(i)) << "sample " << i;
  EXPECT_EQ(buffer[367 + 368 + 367], 0);  // not written yet
}

class DisabledChannelTest : public MixFrameSoundTest, public ::testing::WithParamInterface<int> {};

TEST_P(DisabledChannelTest, WholeBufferIsClearedAndOthersAreLeftAlone) {
  const int channel = GetParam();
  for (SoundBufferHandle buffer : sound->output.channels) {
    SoundLockedRegion region;
    ASSERT_EQ(service.Lock(buffer, region), kSoundOk);
    std::fill(region.Samples(), region.Samples() + region.SampleCount(), int16_t{77});
    ASSERT_EQ(service.Unlock(buffer), kSoundOk);
  }
  Write(0x4015, static_cast<uint8_t>(0x1F & ~(1 << channel)));
  RunFrame();
  for (int c = 0; c < kApuChannelCount; ++c) {
    const std::vector<int16_t> samples = WholeBuffer(sound->output.channels[c]);
    const size_t silent = std::count(samples.begin(), samples.end(), 0);
    if (c == channel) {
      EXPECT_EQ(silent, samples.size()) << "channel " << c;
    } else {
      // The others wrote their first frame and kept the rest.
      EXPECT_EQ(std::count(samples.begin() + 367, samples.end(), 77), 22050 - 367)
          << "channel " << c;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Channels, DisabledChannelTest,
                         ::testing::Values(kPulse1Channel, kPulse2Channel, kTriangleChannel,
                                           kNoiseChannel, kDmcChannel));

// A disabled channel's buffer is cleared once and then left alone while it stays silent;
// a frame written in between must not survive the next disabled frame.
TEST_F(MixFrameSoundTest, ChannelDisabledAgainAfterPlayingIsClearedAgain) {
  const SoundBufferHandle pulse1 = sound->output.channels[kPulse1Channel];
  const auto silent = [&] {
    const std::vector<int16_t> samples = WholeBuffer(pulse1);
    return std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; });
  };
  PlaySquare();
  RunFrame();
  ASSERT_FALSE(silent());
  Write(0x4015, 0x1E);
  RunFrame();
  EXPECT_TRUE(silent());
  RunFrame();
  EXPECT_TRUE(silent());

  Write(0x4015, 0x1F);
  PlaySquare();
  RunFrame();
  ASSERT_FALSE(silent());
  Write(0x4015, 0x1E);
  RunFrame();
  EXPECT_TRUE(silent());
}

TEST_F(MixFrameSoundTest, ClearThatCouldNotLockIsTriedAgainNextFrame) {
  const SoundBufferHandle pulse1 = sound->output.channels[kPulse1Channel];
  SoundLockedRegion region;
  ASSERT_EQ(service.Lock(pulse1, region), kSoundOk);
  std::fill(region.Samples(), region.Samples() + region.SampleCount(), int16_t{77});
  ASSERT_EQ(service.Unlock(pulse1), kSoundOk);
  Write(0x4015, 0x1E);
  service.failingLock = pulse1;
  service.lockFailure = kSoundInvalidCall;
  RunFrame();
  service.failingLock = kNoSoundBuffer;
  EXPECT_EQ(WholeBuffer(pulse1)[0], 77);
  RunFrame();
  const std::vector<int16_t> samples = WholeBuffer(pulse1);
  EXPECT_EQ(std::count(samples.begin(), samples.end(), 0), static_cast<long>(samples.size()));
}

TEST_F(MixFrameSoundTest, PlaybackStartsWhenTwoNmisHaveBeenCounted) {
  RunFrame();
  RunFrame();
  EXPECT_FALSE(service.IsPlaying(sound->output.primary));
  EXPECT_TRUE(sound->output.firstFrame);
  RunFrame();  // the first frame that sees frameCounter == 2
  EXPECT_TRUE(service.IsPlaying(sound->output.primary));
  for (SoundBufferHandle channel : sound->output.channels) EXPECT_TRUE(service.IsPlaying(channel));
  EXPECT_FALSE(sound->output.firstFrame);
}

TEST_F(MixFrameSoundTest, FirstMixAfterMoreNmisStillStartsPlayback) {
  machine->frameCounter = 7;
  RunFrame();
  EXPECT_TRUE(service.IsPlaying(sound->output.channels[kDmcChannel]));
}

TEST_F(MixFrameSoundTest, PlaybackHearsTheWrittenFramesTwoFramesBehind) {
  PlaySquare();
  std::vector<int16_t> heard;
  std::vector<int16_t> stereo(2 * 368);
  for (int frame = 0; frame < 12; ++frame) {
    const uint32_t count = sound->output.samplesThisFrame;
    RunFrame();
    service.RenderMix(stereo.data(), count);
    for (uint32_t i = 0; i < count; ++i) {
      ASSERT_EQ(stereo[2 * i], stereo[2 * i + 1]);  // mono: both sides alike
      if (!sound->output.firstFrame) heard.push_back(stereo[2 * i]);
    }
  }
  // Rendering starts at play position 0 only once playback runs (frame 3).
  ASSERT_GT(heard.size(), 1000u);
  for (size_t i = 0; i < heard.size(); ++i) ASSERT_EQ(heard[i], Square(i)) << "sample " << i;
  EXPECT_EQ(service.GlitchCount(), 0u);
}

// Playback that stalled and then jumped (the device ran on while the emulator was held up)
// makes the writing continue three frames ahead of it instead of leaving stale sound playing.
TEST_F(MixFrameSoundTest, WritingFollowsPlaybackThatLeftTheSafeWindow) {
  std::vector<int16_t> stereo(2 * 4000);
  for (int frame = 0; frame < 6; ++frame) {
    const uint32_t count = sound->output.samplesThisFrame;
    RunFrame();
    if (!sound->output.firstFrame) service.RenderMix(stereo.data(), count);
  }
  const uint32_t steadyLead =
      (sound->output.writePosition + kSoundBufferSamples - service.CurrentPlayPosition()) %
      kSoundBufferSamples;
  EXPECT_GE(steadyLead, 368u);
  EXPECT_LE(steadyLead, 8u * 368u);

  service.RenderMix(stereo.data(), 4000);  // playback runs far past what was written
  const uint32_t play = service.CurrentPlayPosition();
  RunFrame();
  EXPECT_EQ(sound->output.writePosition, (play + 3 * 368 + 367) % kSoundBufferSamples)
      << "the frame is written three frames ahead of playback";
  EXPECT_EQ(service.GlitchCount(), 1u) << "the overtaking counts once, the jump does not";
}

TEST_F(MixFrameSoundTest, WritingKeepsItsPaceWhilePlaybackDoesNotMove) {
  for (int frame = 0; frame < 30; ++frame) RunFrame();  // nothing renders: position stays at 0
  EXPECT_EQ(sound->output.writePosition, (15u * 735u) % kSoundBufferSamples);
}

struct ExpansionCall {
  uint32_t writePosition;
  uint32_t samples;
  bool pulse1Written;
};

void RecordExpansionCall(void* context, MachineState& machine, SoundOutput& output) {
  auto* calls = static_cast<std::vector<ExpansionCall>*>(context);
  calls->push_back(
      {output.writePosition, output.samplesThisFrame, machine.apuFlags.sq1Written == 0});
}

TEST_F(MixFrameSoundTest, ExpansionMixerRunsEachFrameAfterTheApuAtTheWritePosition) {
  std::vector<ExpansionCall> calls;
  ExpansionSound& expansion = sound->expansion;
  expansion.kind = ExpansionSoundKind::kVrc6;
  expansion.bufferCount = 3;
  for (uint32_t i = 0; i < 3; ++i) {
    ASSERT_EQ(
        service.CreateBuffer(SoundBufferDescription{}, kSoundWaveFormat, expansion.buffers[i]),
        kSoundOk);
  }
  expansion.mix = &RecordExpansionCall;
  expansion.context = &calls;
  PlaySquare();
  const size_t logBefore = ReadLog().size();
  for (int frame = 0; frame < 4; ++frame) RunFrame();

  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].writePosition, 0u);
  EXPECT_EQ(calls[1].writePosition, 367u);
  EXPECT_EQ(calls[1].samples, 368u);
  EXPECT_EQ(calls[3].writePosition, 367u + 368u + 367u);
  EXPECT_TRUE(calls[0].pulse1Written);  // the APU channels have taken their changes
  EXPECT_EQ(ReadLog().substr(logBefore), "Start VRC6 Sound Channel\n");
  for (uint32_t i = 0; i < 3; ++i) EXPECT_TRUE(service.IsPlaying(expansion.buffers[i]));
}

struct FailureCase {
  int channel;
  bool lock;  // else unlock
  SoundResult code;
  const char* logged;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << "channel " << c.channel << (c.lock ? " lock " : " unlock ") << std::hex << c.code;
}

class ChannelFailureTest : public MixFrameSoundTest,
                           public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ChannelFailureTest, IsLoggedAndTheEmulationGoesOn) {
  const FailureCase failure = GetParam();
  const SoundBufferHandle buffer = sound->output.channels[failure.channel];
  if (failure.lock) {
    service.failingLock = buffer;
    service.lockFailure = failure.code;
  } else {
    service.failingUnlock = buffer;
    service.unlockFailure = failure.code;
  }
  const size_t logBefore = ReadLog().size();
  RunFrame();
  EXPECT_EQ(ReadLog().substr(logBefore), failure.logged);
  EXPECT_EQ(sound->output.writePosition, 367u);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ChannelFailureTest,
    ::testing::Values(FailureCase{kPulse1Channel, true, kSoundInvalidParam, "Lock fail\n"},
                      FailureCase{kPulse1Channel, true, kSoundInvalidCall, ""},
                      FailureCase{kNoiseChannel, true, kSoundInvalidParam, "Lock fail\n"},
                      FailureCase{kPulse1Channel, false, kSoundInvalidCall, "Invcall\n"},
                      FailureCase{kPulse1Channel, false, kSoundInvalidParam, "Invpara\n"},
                      FailureCase{kPulse1Channel, false, kSoundPriorityNeeded, "Prioneed\n"},
                      FailureCase{kPulse1Channel, false, kSoundBadFormat, ""},
                      FailureCase{kPulse2Channel, false, kSoundInvalidCall, "Unlock fail\n"},
                      FailureCase{kDmcChannel, false, kSoundBadFormat, "Unlock fail\n"}));

TEST_F(MixFrameSoundTest, ReleaseSoundStopsAndReleasesEverything) {
  for (int frame = 0; frame < 3; ++frame) RunFrame();
  ReleaseSound(*sound);
  EXPECT_FALSE(service.IsOpen());
  EXPECT_EQ(service.BufferCount(), 0u);
  EXPECT_EQ(sound->output.primary, kNoSoundBuffer);
  RunFrame();  // released: nothing to write into
  EXPECT_EQ(sound->output.writePosition, 367u + 368u + 367u);
}

}  // namespace
}  // namespace wrenfold
