// Writes the mixed sound as a WAV file: PCM, 2 channels, 22050 samples a second, 16 bits.
// The sizes in the header are filled in when the file is closed; a file that was never
// closed still starts with a valid header that announces no samples.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace wrenfold {

class WavWriter {
 public:
  WavWriter() = default;
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;
  ~WavWriter();  // closes the file as Close does

  // Creates (or truncates) the file and writes the header.
  bool Open(const std::string& path);
  // Appends interleaved stereo frames (left, right); an odd trailing sample is refused.
  bool Append(std::span<const int16_t> interleavedStereo);
  // Writes the final sizes and closes the file. Nothing happens when no file is open.
  bool Close();

  bool IsOpen() const { return file != nullptr; }
  uint32_t FramesWritten() const { return framesWritten; }
  // Why the last call failed.
  const std::string& Error() const { return error; }

 private:
  bool Fail(const std::string& what);

  std::FILE* file = nullptr;
  std::string path;
  uint32_t framesWritten = 0;
  std::string error;
};

inline constexpr uint32_t kWavSampleRate = 22050;
inline constexpr uint16_t kWavChannels = 2;
inline constexpr uint32_t kWavHeaderBytes = 44;

}  // namespace wrenfold
