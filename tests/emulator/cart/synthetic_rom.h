// Synthesised iNES images and a scratch folder for the cartridge tests.
//
// Bank fill: the lower 8 KB of 16 KB PRG bank n holds n and the upper 8 KB holds n | 0x40, so
// cpuMem[0x8000] == n proves bank n starts there and the upper half tells "last 8K" from
// "last 16K". Every byte of 8 KB CHR bank n holds n + 0x80.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace wrenfold::testing_support {

inline constexpr uint8_t kUpperHalfMark = 0x40;
inline constexpr uint8_t kChrMark = 0x80;

struct RomImageSpec {
  int mapper = 0;
  int prgBanks = 2;
  int chrBanks = 1;
  uint8_t flags6 = 0;  // low nibble of header byte 6: vertical, battery, trainer, four-screen
};

inline constexpr uint8_t kFlagVertical = 0x01;
inline constexpr uint8_t kFlagTrainer = 0x04;
inline constexpr uint8_t kFlagFourScreen = 0x08;

inline uint8_t TrainerByte(std::size_t i) {
  return static_cast<uint8_t>(i * 7 + 3);
}
inline uint8_t PrgByte(int bank, bool upperHalf) {
  return static_cast<uint8_t>(upperHalf ? bank | kUpperHalfMark : bank);
}
inline uint8_t ChrByte(int bank) {
  return static_cast<uint8_t>(bank + kChrMark);
}

inline std::vector<uint8_t> BuildInesHeader(const RomImageSpec& spec) {
  std::vector<uint8_t> header(16, 0);
  header[0] = 'N';
  header[1] = 'E';
  header[2] = 'S';
  header[3] = 0x1A;
  header[4] = static_cast<uint8_t>(spec.prgBanks);
  header[5] = static_cast<uint8_t>(spec.chrBanks);
  header[6] = static_cast<uint8_t>(((spec.mapper & 0x0F) << 4) | (spec.flags6 & 0x0F));
  header[7] = static_cast<uint8_t>(spec.mapper & 0xF0);
  return header;
}

inline std::vector<uint8_t> BuildInesImage(const RomImageSpec& spec) {
  std::vector<uint8_t> image = BuildInesHeader(spec);
  if (spec.flags6 & kFlagTrainer) {
    for (std::size_t i = 0; i < 512; ++i) image.push_back(TrainerByte(i));
  }
  for (int bank = 0; bank < spec.prgBanks; ++bank) {
    image.insert(image.end(), 8192, PrgByte(bank, false));
    image.insert(image.end(), 8192, PrgByte(bank, true));
  }
  for (int bank = 0; bank < spec.chrBanks; ++bank) image.insert(image.end(), 8192, ChrByte(bank));
  return image;
}

// True when every one of `length` bytes at `bytes` equals `value`.
inline ::testing::AssertionResult AllBytesAre(const uint8_t* bytes, std::size_t length,
                                              uint8_t value) {
  for (std::size_t i = 0; i < length; ++i) {
    if (bytes[i] != value) {
      return ::testing::AssertionFailure()
             << "byte " << i << " is " << int{bytes[i]} << ", expected " << int{value};
    }
  }
  return ::testing::AssertionSuccess();
}

// A folder of its own under the system temp folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    static int serial = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("wrenfold-cart-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string PathOf(const std::string& name) const { return (path_ / name).string(); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const std::string path = PathOf(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  static std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};

}  // namespace wrenfold::testing_support
