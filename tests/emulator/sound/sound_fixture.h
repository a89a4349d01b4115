// A machine, a sound record and a headless sound service set up as the emulator does, with
// the log redirected to a file of the test's own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/cart/write_bus.h"
#include "emulator/host/log.h"
#include "emulator/machine_state/machine_state.h"
#include "emulator/sound/mix_frame_sound.h"
#include "emulator/sound/sound_output.h"
#include "emulator/sound/sound_state.h"
#include "platform/headless/headless_sound.h"

namespace wrenfold {

inline std::string UniqueTempPath(const std::string& stem) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name =
      stem + "_" + test->test_suite_name() + "_" + test->name() + "_" + std::to_string(::getpid());
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return (std::filesystem::temp_directory_path() / name).string();
}

// The headless service, with failures that a test can arrange.
class ScriptedSoundService : public HeadlessSoundService {
 public:
  SoundResult openResult = kSoundOk;
  SoundResult primaryResult = kSoundOk;
  int failingCreateBuffer = -1;  // index of the CreateBuffer call that fails
  std::vector<SoundBufferDescription> createdBuffers;
  std::vector<SoundBufferHandle> createdHandles;
  SoundBufferHandle failingLock = kNoSoundBuffer;
  int failingLockOfCreated = -1;  // index into createdHandles
  SoundResult lockFailure = kSoundOk;
  SoundBufferHandle failingUnlock = kNoSoundBuffer;
  SoundResult unlockFailure = kSoundOk;
  uint16_t reportedBitsPerSample = 16;

  SoundResult CreatePrimaryBuffer(SoundBufferHandle& primary) override {
    if (SoundFailed(primaryResult)) return primaryResult;
    return HeadlessSoundService::CreatePrimaryBuffer(primary);
  }
  SoundResult CreateBuffer(const SoundBufferDescription& description, const SoundWaveFormat& format,
                           SoundBufferHandle& buffer) override {
    if (static_cast<int>(createdBuffers.size()) == failingCreateBuffer) return kSoundOutOfMemory;
    createdBuffers.push_back(description);
    const SoundResult result = HeadlessSoundService::CreateBuffer(description, format, buffer);
    createdHandles.push_back(buffer);
    return result;
  }
  SoundResult GetFormat(SoundBufferHandle buffer, SoundWaveFormat& format) override {
    const SoundResult result = HeadlessSoundService::GetFormat(buffer, format);
    format.bitsPerSample = reportedBitsPerSample;
    return result;
  }
  SoundResult Lock(SoundBufferHandle buffer, SoundLockedRegion& region) override {
    const bool createdFails = failingLockOfCreated >= 0 &&
                              failingLockOfCreated < static_cast<int>(createdHandles.size()) &&
                              buffer == createdHandles[failingLockOfCreated];
    if (buffer == failingLock || createdFails) return lockFailure;
    return HeadlessSoundService::Lock(buffer, region);
  }
  SoundResult Unlock(SoundBufferHandle buffer) override {
    const SoundResult result = HeadlessSoundService::Unlock(buffer);
    return buffer == failingUnlock ? unlockFailure : result;
  }

 protected:
  SoundResult OpenDevice() override { return openResult; }
};

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    logPath = UniqueTempPath("wrenfold_sound_log");
    SetLogPath(logPath);
    ResetLog();
    machine = std::make_unique<MachineState>();
    sound = std::make_unique<SoundState>();
  }

  void TearDown() override {
    ReleaseSound(*sound);
    SetLogPath(kDefaultLogPath);
    std::filesystem::remove(logPath);
  }

  // InitSound on the headless service with every channel enabled in $4015.
  void StartSound(SoundSettings settings = {}) {
    ASSERT_EQ(InitSound(*machine, *sound, service, settings), 1);
    WriteBus(*machine, 0x4015, 0x1F);
  }

  void Write(uint16_t address, uint8_t value) { WriteBus(*machine, address, value); }

  std::string ReadLog() const {
    std::ifstream in(logPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::vector<int16_t> WholeBuffer(SoundBufferHandle buffer) {
    SoundLockedRegion region;
    EXPECT_EQ(service.Lock(buffer, region), kSoundOk);
    std::vector<int16_t> samples(region.Samples(), region.Samples() + region.SampleCount());
    EXPECT_EQ(service.Unlock(buffer), kSoundOk);
    return samples;
  }

  // Runs one frame and returns what it wrote into the channel's buffer.
  std::vector<int16_t> MixFrame(int channel) {
    const uint32_t start = sound->output.writePosition;
    const uint32_t count = sound->output.samplesThisFrame;
    MixFrameSound(*machine, *sound);
    const std::vector<int16_t> buffer = WholeBuffer(sound->output.channels[channel]);
    std::vector<int16_t> frame;
    for (uint32_t i = 0; i < count; ++i) frame.push_back(buffer[(start + i) % buffer.size()]);
    return frame;
  }

  // Runs `frames` frames and returns the channel's samples one after another.
  std::vector<int16_t> MixFrames(int channel, int frames) {
    std::vector<int16_t> all;
    for (int i = 0; i < frames; ++i) {
      const std::vector<int16_t> frame = MixFrame(channel);
      all.insert(all.end(), frame.begin(), frame.end());
    }
    return all;
  }

  std::string logPath;
  std::unique_ptr<MachineState> machine;
  std::unique_ptr<SoundState> sound;
  ScriptedSoundService service;
};

}  // namespace wrenfold
