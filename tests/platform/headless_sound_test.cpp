#include "platform/headless/headless_sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace wrenfold {
namespace {

class HeadlessSoundTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(service.Open(), kSoundOk); }

  SoundBufferHandle MakeBuffer(bool pan = true) {
    SoundBufferDescription description;
    description.controlPan = pan;
    SoundBufferHandle buffer = kNoSoundBuffer;
    EXPECT_EQ(service.CreateBuffer(description, kSoundWaveFormat, buffer), kSoundOk);
    return buffer;
  }

  void Fill(SoundBufferHandle buffer, int16_t value) {
    SoundLockedRegion region;
    ASSERT_EQ(service.Lock(buffer, region), kSoundOk);
    ASSERT_EQ(region.SampleCount(), kSoundBufferSamples);
    std::fill(region.Samples(), region.Samples() + region.SampleCount(), value);
    ASSERT_EQ(service.Unlock(buffer), kSoundOk);
  }

  // Sample i of the buffer holds i (mod 32768), so a read tells its position.
  void FillRamp(SoundBufferHandle buffer) {
    SoundLockedRegion region;
    ASSERT_EQ(service.Lock(buffer, region), kSoundOk);
    for (uint32_t i = 0; i < region.SampleCount(); ++i) region.Samples()[i] = int16_t(i & 0x7FFF);
    ASSERT_EQ(service.Unlock(buffer), kSoundOk);
  }

  std::vector<int16_t> Render(uint32_t frames) {
    std::vector<int16_t> stereo(2 * frames);
    service.RenderMix(stereo.data(), frames);
    return stereo;
  }

  HeadlessSoundService service;
};

struct GainCase {
  int32_t volume;
  int32_t pan;
  int expectedLeft;  // from a sample of 10000
  int expectedRight;
};

void PrintTo(const GainCase& c, std::ostream* os) {
  *os << "volume " << c.volume << " pan " << c.pan;
}

class VolumeAndPanTest : public HeadlessSoundTest,
                         public ::testing::WithParamInterface<GainCase> {};

TEST_P(VolumeAndPanTest, AttenuateInHundredthsOfADecibel) {
  const GainCase gain = GetParam();
  const SoundBufferHandle buffer = MakeBuffer();
  Fill(buffer, 10000);
  ASSERT_EQ(service.SetVolume(buffer, gain.volume), kSoundOk);
  ASSERT_EQ(service.SetPan(buffer, gain.pan), kSoundOk);
  ASSERT_EQ(service.PlayLooping(buffer), kSoundOk);
  const std::vector<int16_t> out = Render(4);
  EXPECT_NEAR(out[0], gain.expectedLeft, 1);
  EXPECT_NEAR(out[1], gain.expectedRight, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, VolumeAndPanTest,
    ::testing::Values(GainCase{0, 0, 10000, 10000},        // full, centred: unchanged
                      GainCase{-600, 0, 5012, 5012},       // -6 dB is about half
                      GainCase{-2000, 0, 1000, 1000},      // -20 dB is a tenth
                      GainCase{-10000, 0, 0, 0},           // the minimum is silence
                      GainCase{0, 400, 6310, 10000},       // +4 dB pan: left attenuated
                      GainCase{0, -400, 10000, 6310},      // -4 dB pan: right attenuated
                      GainCase{0, 10000, 0, 10000},        // fully right
                      GainCase{-600, -2000, 5012, 501}));  // both together

TEST_F(HeadlessSoundTest, UnityGainPassesSamplesBitForBit) {
  const SoundBufferHandle buffer = MakeBuffer();
  FillRamp(buffer);
  SoundLockedRegion region;
  ASSERT_EQ(service.Lock(buffer, region), kSoundOk);
  region.Samples()[1] = -1;
  region.Samples()[2] = -32768;
  ASSERT_EQ(service.Unlock(buffer), kSoundOk);
  service.PlayLooping(buffer);
  const std::vector<int16_t> out = Render(4);
  EXPECT_EQ(out, (std::vector<int16_t>{0, 0, -1, -1, -32768, -32768, 3, 3}));
}

TEST_F(HeadlessSoundTest, SumIsClampedTo16Bits) {
  const SoundBufferHandle a = MakeBuffer();
  const SoundBufferHandle b = MakeBuffer();
  Fill(a, 30000);
  Fill(b, 30000);
  service.PlayLooping(a);
  service.PlayLooping(b);
  EXPECT_EQ(Render(1), (std::vector<int16_t>{32767, 32767}));
  Fill(a, -30000);
  Fill(b, -30000);
  EXPECT_EQ(Render(1), (std::vector<int16_t>{-32768, -32768}));
  Fill(b, 29000);
  EXPECT_EQ(Render(1), (std::vector<int16_t>{-1000, -1000}));
}

TEST_F(HeadlessSoundTest, PrimaryVolumeScalesTheWholeMix) {
  SoundBufferHandle primary = kNoSoundBuffer;
  ASSERT_EQ(service.CreatePrimaryBuffer(primary), kSoundOk);
  ASSERT_EQ(service.SetFormat(primary, kSoundWaveFormat), kSoundOk);
  const SoundBufferHandle buffer = MakeBuffer();
  Fill(buffer, 10000);
  service.PlayLooping(buffer);
  ASSERT_EQ(service.SetVolume(primary, -2000), kSoundOk);
  EXPECT_NEAR(Render(1)[0], 1000, 1);
}

TEST_F(HeadlessSoundTest, PlayingBuffersShareOnePlayPosition) {
  const SoundBufferHandle a = MakeBuffer();
  const SoundBufferHandle b = MakeBuffer();
  FillRamp(a);
  FillRamp(b);
  service.PlayLooping(a);
  Render(100);
  EXPECT_EQ(service.PlayPosition(), 100u);
  service.PlayLooping(b);  // joins at the shared position, not at its own start
  EXPECT_EQ(Render(1)[0], 200);
}

TEST_F(HeadlessSoundTest, PositionMovesOnlyWhileSomethingPlaysAndWrapsAtOneSecond) {
  const SoundBufferHandle buffer = MakeBuffer();
  FillRamp(buffer);
  EXPECT_EQ(Render(50), std::vector<int16_t>(100, 0));
  EXPECT_EQ(service.PlayPosition(), 0u);

  ASSERT_EQ(service.SetPlayPosition(buffer, kSoundBufferSamples - 2), kSoundOk);
  service.PlayLooping(buffer);
  const std::vector<int16_t> out = Render(4);
  EXPECT_EQ(out[0], int16_t((kSoundBufferSamples - 2) & 0x7FFF));
  EXPECT_EQ(out[4], 0);  // wrapped to the start
  EXPECT_EQ(service.PlayPosition(), 2u);

  EXPECT_EQ(service.SetPlayPosition(buffer, 0), kSoundInvalidCall);  // would split the buffers
  service.Stop(buffer);
  Render(10);
  EXPECT_EQ(service.PlayPosition(), 2u);
  EXPECT_EQ(service.SetPlayPosition(buffer, 0), kSoundOk);
  EXPECT_EQ(service.SetPlayPosition(buffer, kSoundBufferSamples), kSoundInvalidParam);
}

TEST_F(HeadlessSoundTest, LockIsWholeBufferAndStrictlyPaired) {
  const SoundBufferHandle buffer = MakeBuffer();
  SoundLockedRegion region;
  ASSERT_EQ(service.Lock(buffer, region), kSoundOk);
  EXPECT_EQ(region.bytes, kSoundBufferBytes);
  SoundLockedRegion again;
  EXPECT_EQ(service.Lock(buffer, again), kSoundInvalidCall);
  EXPECT_EQ(again.data, nullptr);
  EXPECT_EQ(service.Release(buffer), kSoundInvalidCall);  // still locked
  EXPECT_EQ(service.Unlock(buffer), kSoundOk);
  EXPECT_EQ(service.Unlock(buffer), kSoundInvalidCall);
  EXPECT_EQ(service.Lock(kNoSoundBuffer, region), kSoundInvalidParam);

  SoundBufferHandle primary = kNoSoundBuffer;
  ASSERT_EQ(service.CreatePrimaryBuffer(primary), kSoundOk);
  EXPECT_EQ(service.Lock(primary, region), kSoundPriorityNeeded);
}

TEST_F(HeadlessSoundTest, ReleasedHandleNeverReachesANewBuffer) {
  const SoundBufferHandle old = MakeBuffer();
  ASSERT_EQ(service.Release(old), kSoundOk);
  const SoundBufferHandle reused = MakeBuffer();  // takes the same slot
  EXPECT_NE(reused, old);
  EXPECT_EQ(service.SetVolume(old, 0), kSoundInvalidParam);
  EXPECT_EQ(service.PlayLooping(old), kSoundInvalidParam);
  EXPECT_EQ(service.SetVolume(reused, 0), kSoundOk);
}

TEST_F(HeadlessSoundTest, ArgumentsAndControlsAreChecked) {
  SoundBufferHandle buffer = kNoSoundBuffer;
  SoundWaveFormat stereo = kSoundWaveFormat;
  stereo.channels = 2;
  EXPECT_EQ(service.CreateBuffer(SoundBufferDescription{}, stereo, buffer), kSoundBadFormat);
  SoundBufferDescription half;
  half.bytes = kSoundBufferBytes / 2;
  EXPECT_EQ(service.CreateBuffer(half, kSoundWaveFormat, buffer), kSoundInvalidParam);
  EXPECT_EQ(buffer, kNoSoundBuffer);

  const SoundBufferHandle noPan = MakeBuffer(false);
  EXPECT_EQ(service.SetPan(noPan, 400), kSoundControlUnavailable);
  EXPECT_EQ(service.SetVolume(noPan, 1), kSoundInvalidParam);
  EXPECT_EQ(service.SetVolume(noPan, -10001), kSoundInvalidParam);
  SoundWaveFormat format{};
  EXPECT_EQ(service.GetFormat(noPan, format), kSoundOk);
  EXPECT_TRUE(format == kSoundWaveFormat);

  SoundBufferHandle primary = kNoSoundBuffer;
  ASSERT_EQ(service.CreatePrimaryBuffer(primary), kSoundOk);
  EXPECT_EQ(service.CreatePrimaryBuffer(buffer), kSoundInvalidCall);  // only one
  EXPECT_EQ(service.SetFormat(primary, stereo), kSoundBadFormat);
  EXPECT_EQ(service.SetFormat(noPan, kSoundWaveFormat), kSoundInvalidCall);
}

TEST_F(HeadlessSoundTest, BufferSlotsRunOut) {
  std::vector<SoundBufferHandle> buffers;
  for (size_t i = 0; i < SoundBufferBank::kMaxBuffers; ++i) buffers.push_back(MakeBuffer());
  SoundBufferHandle extra = kNoSoundBuffer;
  EXPECT_EQ(service.CreateBuffer(SoundBufferDescription{}, kSoundWaveFormat, extra),
            kSoundOutOfMemory);
  ASSERT_EQ(service.Release(buffers.back()), kSoundOk);
  EXPECT_EQ(service.CreateBuffer(SoundBufferDescription{}, kSoundWaveFormat, extra), kSoundOk);
}

TEST_F(HeadlessSoundTest, CloseReleasesEverythingEvenALockedBuffer) {
  const SoundBufferHandle buffer = MakeBuffer();
  SoundLockedRegion region;
  ASSERT_EQ(service.Lock(buffer, region), kSoundOk);
  service.Close();
  EXPECT_FALSE(service.IsOpen());
  EXPECT_EQ(service.BufferCount(), 0u);
  EXPECT_EQ(service.Unlock(buffer), kSoundInvalidParam);
  SoundBufferHandle after = kNoSoundBuffer;
  EXPECT_EQ(service.CreateBuffer(SoundBufferDescription{}, kSoundWaveFormat, after),
            kSoundInvalidCall);
  EXPECT_EQ(service.Open(), kSoundOk);  // and it can be opened again
}

TEST_F(HeadlessSoundTest, OpenTwiceIsRefused) {
  EXPECT_EQ(service.Open(), kSoundAlreadyOpen);
}

class GlitchCountTest : public HeadlessSoundTest {
 protected:
  void SetUp() override {
    HeadlessSoundTest::SetUp();
    buffer = MakeBuffer();
    // Two frames written before playback starts, as the emulator does.
    service.ReportWritePosition(367);
    service.ReportWritePosition(735);
    service.PlayLooping(buffer);
  }

  SoundBufferHandle buffer = kNoSoundBuffer;
};

TEST_F(GlitchCountTest, NoneWhileWritingStaysAhead) {
  uint32_t write = 735;
  for (int frame = 0; frame < 120; ++frame) {
    const uint32_t count = frame % 2 == 0 ? 367 : 368;
    write = (write + count) % kSoundBufferSamples;
    service.ReportWritePosition(write);
    Render(count);
  }
  EXPECT_EQ(service.GlitchCount(), 0u);
}

TEST_F(GlitchCountTest, PlaybackOvertakingTheWritingCountsOnceUntilItCatchesUp) {
  Render(735);
  EXPECT_EQ(service.GlitchCount(), 0u);  // exactly everything written: no stale sample yet
  Render(1);
  EXPECT_EQ(service.GlitchCount(), 1u);
  Render(2000);
  EXPECT_EQ(service.GlitchCount(), 1u);                             // still the same dropout
  service.ReportWritePosition((735 + 4000) % kSoundBufferSamples);  // writing catches up
  EXPECT_EQ(service.GlitchCount(), 1u);
  Render(2000);
  EXPECT_EQ(service.GlitchCount(), 2u);
}

TEST_F(GlitchCountTest, WritingLappingPlaybackCounts) {
  uint32_t write = 735;
  for (int step = 0; step < 20; ++step) {
    write = (write + 1000) % kSoundBufferSamples;
    service.ReportWritePosition(write);
  }
  // 735 + 20000 samples ahead of a play position still at 0: more than the ring holds.
  EXPECT_EQ(service.GlitchCount(), 0u);
  service.ReportWritePosition((write + 1000) % kSoundBufferSamples);
  service.ReportWritePosition((write + 2000) % kSoundBufferSamples);
  EXPECT_EQ(service.GlitchCount(), 1u);
}

TEST_F(GlitchCountTest, ResyncMovesTheWritingWithoutCountingTheJump) {
  Render(2000);  // playback ran past the written samples: one dropout
  ASSERT_EQ(service.GlitchCount(), 1u);
  const uint32_t play = service.CurrentPlayPosition();
  EXPECT_EQ(play, 2000u);
  // Writing jumps ahead of playback again; a plain report would see 20000+ samples of lead.
  service.ResyncWritePosition(play + 1100);
  EXPECT_EQ(service.GlitchCount(), 1u);
  Render(1000);  // still inside what was written since the resync
  service.ReportWritePosition(play + 1100 + 367);
  EXPECT_EQ(service.GlitchCount(), 1u);
}

TEST_F(HeadlessSoundTest, MixerNeverSeesAHalfWrittenBuffer) {
  const SoundBufferHandle buffer = MakeBuffer();
  Fill(buffer, 0);
  service.PlayLooping(buffer);
  std::atomic<bool> done{false};
  std::atomic<int> tornChunks{0};
  std::thread mixer([&] {
    std::vector<int16_t> stereo(2 * 64);
    while (!done) {
      service.RenderMix(stereo.data(), 64);
      for (int16_t sample : stereo) {
        if (sample != stereo[0]) ++tornChunks;
      }
    }
  });
  for (int16_t value = 1; value <= 300; ++value) Fill(buffer, value);
  done = true;
  mixer.join();
  EXPECT_EQ(tornChunks, 0);
}

}  // namespace
}  // namespace wrenfold
