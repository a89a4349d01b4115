#include <algorithm>

#include "tests/emulator/sound/sound_fixture.h"

namespace wrenfold {
namespace {

constexpr const char* kMonoLog =
    "Direct Sound Object Created\n"
    "Primary Buffer Established\n"
    "Buffer Size:44100\n"
    "NES Sound Channels Created\n"
    "OK!Mono sound output\n";

using InitSoundTest = SoundTest;

TEST_F(InitSoundTest, MonoSetUpLogsEachStepAndCentresEveryChannel) {
  ASSERT_EQ(InitSound(*machine, *sound, service, SoundSettings{}), 1);
  EXPECT_EQ(ReadLog(), kMonoLog);
  EXPECT_EQ(service.BufferCount(), 6u);  // primary and five channels
  for (SoundBufferHandle channel : sound->output.channels) {
    EXPECT_EQ(service.BufferPan(channel), kSoundPanCenter);
    EXPECT_EQ(service.SetPan(channel, 400), kSoundControlUnavailable);
    EXPECT_EQ(service.BufferVolume(channel), 0);
    EXPECT_FALSE(service.IsPlaying(channel));
    const std::vector<int16_t> samples = WholeBuffer(channel);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; }));
  }
  EXPECT_TRUE(sound->output.ready);
  EXPECT_TRUE(sound->output.firstFrame);
  EXPECT_EQ(sound->output.writePosition, 0u);
  EXPECT_EQ(sound->output.samplesThisFrame, 367u);
  EXPECT_EQ(machine->apuFlags.triWritten, 1);
}

TEST_F(InitSoundTest, StereoPansThePulsesToOppositeSides) {
  ASSERT_EQ(InitSound(*machine, *sound, service, SoundSettings{true, true, 5}), 1);
  EXPECT_EQ(ReadLog(),
            "Direct Sound Object Created\n"
            "Primary Buffer Established\n"
            "Buffer Size:44100\n"
            "NES Sound Channels Created\n"
            "OK!Initialize stereo sound output\n");
  const SoundOutput& output = sound->output;
  EXPECT_EQ(service.BufferPan(output.channels[kPulse1Channel]), 400);
  EXPECT_EQ(service.BufferPan(output.channels[kPulse2Channel]), -400);
  EXPECT_EQ(service.BufferPan(output.channels[kTriangleChannel]), 0);
  EXPECT_EQ(service.BufferPan(output.channels[kNoiseChannel]), 0);
  EXPECT_EQ(service.BufferPan(output.channels[kDmcChannel]), 0);
}

TEST_F(InitSoundTest, SoundOffCreatesNothing) {
  ASSERT_EQ(InitSound(*machine, *sound, service, SoundSettings{false, true, 5}), 1);
  EXPECT_FALSE(service.IsOpen());
  EXPECT_EQ(ReadLog(), "");
  EXPECT_EQ(sound->output.service, nullptr);
  MixFrameSound(*machine, *sound);  // nothing to mix into
  EXPECT_EQ(sound->output.writePosition, 0u);
}

TEST_F(InitSoundTest, NoDeviceFailsWithoutALogLine) {
  service.openResult = kSoundNoDriver;
  EXPECT_EQ(InitSound(*machine, *sound, service, SoundSettings{}), 0);
  EXPECT_EQ(ReadLog(), "");
  EXPECT_FALSE(sound->output.ready);
}

TEST_F(InitSoundTest, PrimaryBufferFailureFails) {
  service.primaryResult = kSoundOutOfMemory;
  EXPECT_EQ(InitSound(*machine, *sound, service, SoundSettings{}), 0);
  EXPECT_EQ(ReadLog(), "Direct Sound Object Created\n");
}

TEST_F(InitSoundTest, ChannelBufferFailureFailsAndReleaseSoundCleansUp) {
  service.failingCreateBuffer = 3;
  EXPECT_EQ(InitSound(*machine, *sound, service, SoundSettings{}), 0);
  EXPECT_EQ(ReadLog(),
            "Direct Sound Object Created\nPrimary Buffer Established\nBuffer Size:44100\n");
  EXPECT_EQ(service.BufferCount(), 4u);
  MixFrameSound(*machine, *sound);  // never set up: does nothing
  ReleaseSound(*sound);
  EXPECT_FALSE(service.IsOpen());
  EXPECT_EQ(sound->output.service, nullptr);
  ReleaseSound(*sound);  // a second release finds nothing to do
}

TEST_F(InitSoundTest, FailedLastClearLogsSoundOutputStart) {
  service.failingLockOfCreated = kDmcChannel;
  service.lockFailure = kSoundInvalidCall;
  ASSERT_EQ(InitSound(*machine, *sound, service, SoundSettings{}), 1);
  EXPECT_NE(ReadLog().find("NES Sound Channels Created\nSound Output Start\nMono"),
            std::string::npos);
}

struct PlacementCase {
  int32_t hardwareBuffers;
  std::vector<bool> software;
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
  *os << "HARDBUf " << c.hardwareBuffers;
}

class HardwareBuffersTest : public SoundTest,
                            public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(HardwareBuffersTest, BuffersPastTheSettingAskForSoftwareMixing) {
  const PlacementCase placement = GetParam();
  ASSERT_EQ(
      InitSound(*machine, *sound, service, SoundSettings{true, false, placement.hardwareBuffers}),
      1);
  ASSERT_EQ(service.createdBuffers.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(service.createdBuffers[i].forceSoftware, placement.software[i]) << "buffer " << i;
    EXPECT_TRUE(service.createdBuffers[i].staticBuffer);
    EXPECT_TRUE(service.createdBuffers[i].controlVolume);
    EXPECT_EQ(service.createdBuffers[i].bytes, 44100u);
  }
}

INSTANTIATE_TEST_SUITE_P(Settings, HardwareBuffersTest,
                         ::testing::Values(PlacementCase{0, {true, true, true, true, true}},
                                           PlacementCase{2, {false, false, true, true, true}},
                                           PlacementCase{5, {false, false, false, false, false}},
                                           PlacementCase{9, {false, false, false, false, false}}));

TEST_F(InitSoundTest, TablesAreBuilt) {
  ASSERT_EQ(InitSound(*machine, *sound, service, SoundSettings{}), 1);
  const uint16_t* spp = sound->tables.samplesPerPeriod;
  EXPECT_EQ(spp[0], 0);
  EXPECT_EQ(spp[4], 0);
  EXPECT_EQ(spp[5], 1);  // 6 x 22050 / 111860
  EXPECT_EQ(spp[507], 100);
  EXPECT_EQ(spp[2044], 403);
  EXPECT_EQ(spp[2045], 0);
  EXPECT_EQ(spp[2048], 0);
  // glibc's first values after srand(1) are 1804289383, 846930886, 1681692777.
  EXPECT_EQ(sound->tables.noise[0], 9);
  EXPECT_EQ(sound->tables.noise[1], 10);
  EXPECT_EQ(sound->tables.noise[2], 7);
  EXPECT_TRUE(std::all_of(std::begin(sound->tables.noise), std::end(sound->tables.noise),
                          [](uint8_t v) { return v < 16; }));
  EXPECT_EQ(kLengthTable[1], 127);
  EXPECT_EQ(kLengthTable[31], 15);
  EXPECT_EQ(kDmcRateTable[0], 428);
  EXPECT_EQ(kDmcRateTable[15], 54);
}

TEST_F(InitSoundTest, ClearToSilenceFillsTheWholeBuffer) {
  ASSERT_EQ(InitSound(*machine, *sound, service, SoundSettings{}), 1);
  const SoundBufferHandle buffer = sound->output.channels[kNoiseChannel];
  SoundLockedRegion region;
  ASSERT_EQ(service.Lock(buffer, region), kSoundOk);
  std::fill(region.Samples(), region.Samples() + region.SampleCount(), int16_t{1234});
  ASSERT_EQ(service.Unlock(buffer), kSoundOk);

  EXPECT_EQ(ClearSoundBuffer(service, buffer), 1);
  const std::vector<int16_t> samples = WholeBuffer(buffer);
  EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; }));

  service.reportedBitsPerSample = 8;  // eight-bit silence is the middle value 0x80
  EXPECT_EQ(ClearSoundBuffer(service, buffer), 1);
  for (int16_t s : WholeBuffer(buffer)) ASSERT_EQ(static_cast<uint16_t>(s), 0x8080);

  EXPECT_EQ(ClearSoundBuffer(service, kNoSoundBuffer), 0);
  service.failingLock = buffer;
  service.lockFailure = kSoundInvalidCall;
  EXPECT_EQ(ClearSoundBuffer(service, buffer), 0);
}

}  // namespace
}  // namespace wrenfold
