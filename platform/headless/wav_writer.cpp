#include "platform/headless/wav_writer.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace wrenfold {
namespace {

constexpr uint32_t kBytesPerFrame = kWavChannels * 2;
// The RIFF size field is 32 bits: stop before the data would no longer fit.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - (kWavHeaderBytes - 8);

void PutLittle16(uint8_t* out, uint16_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
}

void PutLittle32(uint8_t* out, uint32_t value) {
  PutLittle16(out, static_cast<uint16_t>(value));
  PutLittle16(out + 2, static_cast<uint16_t>(value >> 16));
}

std::array<uint8_t, kWavHeaderBytes> BuildHeader(uint32_t dataBytes) {
  std::array<uint8_t, kWavHeaderBytes> header{};
  uint8_t* p = header.data();
  std::memcpy(p, "RIFF", 4);
  PutLittle32(p + 4, dataBytes + kWavHeaderBytes - 8);
  std::memcpy(p + 8, "WAVEfmt ", 8);
  PutLittle32(p + 16, 16);  // size of the format chunk
  PutLittle16(p + 20, 1);   // PCM
  PutLittle16(p + 22, kWavChannels);
  PutLittle32(p + 24, kWavSampleRate);
  PutLittle32(p + 28, kWavSampleRate * kBytesPerFrame);
  PutLittle16(p + 32, kBytesPerFrame);
  PutLittle16(p + 34, 16);
  std::memcpy(p + 36, "data", 4);
  PutLittle32(p + 40, dataBytes);
  return header;
}

}  // namespace

WavWriter::~WavWriter() {
  Close();
}

bool WavWriter::Fail(const std::string& what) {
  error = what + " " + path + ": " + std::strerror(errno);
  return false;
}

bool WavWriter::Open(const std::string& newPath) {
  Close();
  path = newPath;
  framesWritten = 0;
  error.clear();
  file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return Fail("cannot create");
  const auto header = BuildHeader(0);
  if (std::fwrite(header.data(), 1, header.size(), file) != header.size()) {
    std::fclose(file);
    file = nullptr;
    return Fail("cannot write");
  }
  return true;
}

bool WavWriter::Append(std::span<const int16_t> interleavedStereo) {
  if (file == nullptr) {
    error = "no WAV file is open";
    return false;
  }
  if (interleavedStereo.size() % kWavChannels != 0) {
    error = "stereo samples come in pairs";
    return false;
  }
  const uint64_t frames = interleavedStereo.size() / kWavChannels;
  if ((uint64_t{framesWritten} + frames) * kBytesPerFrame > kMaxDataBytes) {
    error = "the WAV file would exceed 4 GB";
    return false;
  }
  std::array<uint8_t, 4096> chunk;
  std::size_t index = 0;
  while (index < interleavedStereo.size()) {
    std::size_t used = 0;
    for (; index < interleavedStereo.size() && used < chunk.size(); ++index, used += 2) {
      PutLittle16(chunk.data() + used, static_cast<uint16_t>(interleavedStereo[index]));
    }
    if (std::fwrite(chunk.data(), 1, used, file) != used) return Fail("cannot write");
  }
  framesWritten += static_cast<uint32_t>(frames);
  return true;
}

bool WavWriter::Close() {
  if (file == nullptr) return true;
  const auto header = BuildHeader(framesWritten * kBytesPerFrame);
  bool ok = std::fseek(file, 0, SEEK_SET) == 0 &&
            std::fwrite(header.data(), 1, header.size(), file) == header.size();
  if (!ok) Fail("cannot finish");
  if (std::fclose(file) != 0 && ok) ok = Fail("cannot close");
  file = nullptr;
  return ok;
}

}  // namespace wrenfold
