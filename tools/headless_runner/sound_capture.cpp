#include "tools/headless_runner/sound_capture.h"

namespace wrenfold::headless {

std::optional<std::string> SoundCapture::Open(const std::string& path) {
  if (!writer.Open(path)) return "cannot write WAV: " + writer.Error();
  return std::nullopt;
}

std::optional<std::string> SoundCapture::AppendFrame(uint32_t frames) {
  if (!writer.IsOpen()) return std::nullopt;
  stereo.resize(std::size_t{frames} * kWavChannels);
  service.RenderMix(stereo.data(), frames);
  if (!writer.Append(stereo)) return "cannot write WAV: " + writer.Error();
  return std::nullopt;
}

std::optional<std::string> SoundCapture::Close() {
  if (!writer.IsOpen()) return std::nullopt;
  if (!writer.Close()) return "cannot finish WAV: " + writer.Error();
  return std::nullopt;
}

}  // namespace wrenfold::headless
