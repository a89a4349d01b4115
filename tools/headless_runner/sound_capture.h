// Records what the sound device would play: after each frame, that frame's samples are
// mixed by the headless sound service and appended to a WAV file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_sound.h"
#include "platform/headless/wav_writer.h"

namespace wrenfold::headless {

class SoundCapture {
 public:
  explicit SoundCapture(HeadlessSoundService& service) : service(service) {}

  std::optional<std::string> Open(const std::string& path);
  // Mixes and appends `frames` stereo frames: the samples the frame just run has written.
  // Before playback starts the service gives silence, so the file keeps the two frames of
  // lead the sound output writes ahead.
  std::optional<std::string> AppendFrame(uint32_t frames);
  std::optional<std::string> Close();

 private:
  HeadlessSoundService& service;
  WavWriter writer;
  std::vector<int16_t> stereo;
};

}  // namespace wrenfold::headless
