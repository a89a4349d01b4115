// The SDL sound service on SDL's "disk" audio driver, which runs the device callback on its
// own thread and writes what it is given to a file, so the mixed output can be read back.
#include "platform/sdl/sdl_sound.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace wrenfold {
namespace {

class SdlSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    outputPath = (std::filesystem::temp_directory_path() /
                  ("wrenfold_sdl_sound_" + std::to_string(::getpid()) + ".raw"))
                     .string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", outputPath.c_str(), 1);
    if (SoundFailed(service.Open())) GTEST_SKIP() << "SDL's disk audio driver is not available";
  }

  void TearDown() override {
    service.Close();
    std::filesystem::remove(outputPath);
  }

  // Lets the device thread play until the shared position has passed `samples`; gives up
  // after ten seconds so a stuck device fails instead of hanging.
  bool PlayUntil(uint32_t samples) {
    for (int waited = 0; waited < 10000; waited += 5) {
      if (service.PlayPosition() >= samples) return true;
      SDL_Delay(5);
    }
    return false;
  }

  std::string outputPath;
  SdlSoundService service;
};

TEST_F(SdlSoundTest, CallbackMixesThePlayingBuffersIntoPannedStereo) {
  SoundBufferHandle primary = kNoSoundBuffer;
  ASSERT_EQ(service.CreatePrimaryBuffer(primary), kSoundOk);
  SoundBufferDescription description;
  description.controlPan = true;
  SoundBufferHandle buffer = kNoSoundBuffer;
  ASSERT_EQ(service.CreateBuffer(description, kSoundWaveFormat, buffer), kSoundOk);
  SoundLockedRegion region;
  ASSERT_EQ(service.Lock(buffer, region), kSoundOk);
  std::fill(region.Samples(), region.Samples() + region.SampleCount(), int16_t{8000});
  ASSERT_EQ(service.Unlock(buffer), kSoundOk);
  ASSERT_EQ(service.SetPan(buffer, 600), kSoundOk);  // left side 6 dB down
  service.ReportWritePosition(1000);
  ASSERT_EQ(service.PlayLooping(primary), kSoundOk);
  ASSERT_EQ(service.PlayLooping(buffer), kSoundOk);

  ASSERT_TRUE(PlayUntil(3000));
  // Nothing was written past sample 1000: playback has run into stale samples.
  EXPECT_EQ(service.GlitchCount(), 1u);
  service.Close();

  std::ifstream in(outputPath, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  std::vector<int16_t> stereo(bytes.size() / 2);
  std::memcpy(stereo.data(), bytes.data(), stereo.size() * 2);
  // The device runs from Open on, so the file may begin with silence written before the
  // buffers started playing; the mix begins at the first sounding frame.
  size_t first = 0;
  while (2 * first + 1 < stereo.size() && stereo[2 * first] == 0 && stereo[2 * first + 1] == 0)
    ++first;
  ASSERT_GE(stereo.size(), 2 * (first + 3000));
  for (size_t frame = first; frame < first + 3000; ++frame) {
    ASSERT_EQ(stereo[2 * frame], 4010) << "frame " << frame;  // 8000 x 10^(-600/2000)
    ASSERT_EQ(stereo[2 * frame + 1], 8000) << "frame " << frame;
  }
}

TEST_F(SdlSoundTest, PositionStaysWhileNothingPlaysAndTheDeviceOpensAgain) {
  SDL_Delay(50);  // the device runs meanwhile, but with no buffer playing
  EXPECT_EQ(service.PlayPosition(), 0u);
  service.Close();
  EXPECT_FALSE(service.IsOpen());
  EXPECT_EQ(service.Open(), kSoundOk);
  EXPECT_TRUE(service.IsOpen());
}

}  // namespace
}  // namespace wrenfold
