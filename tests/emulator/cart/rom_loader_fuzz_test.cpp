// Hostile cartridge images: random, truncated, oversized and mutated files. Run under the
// sanitizers, any read or write outside the stores fails the test by itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "emulator/cart/board_table.h"
#include "emulator/cart/rom_loader.h"
#include "emulator/host/log.h"
#include "tests/emulator/cart/synthetic_rom.h"

namespace wrenfold {
namespace {

using testing_support::BuildInesHeader;
using testing_support::BuildInesImage;
using testing_support::ScratchFolder;

constexpr int kCases = 3000;
constexpr uint32_t kSeed = 0x5EED1E5;
constexpr std::size_t kHeaderSize = 16;

// The outcome a file must have, worked out from its bytes alone.
int32_t ExpectedCode(const std::vector<uint8_t>& file) {
  if (file.size() < 3 || file[0] != 'N' || file[1] != 'E' || file[2] != 'S') return kRomBadMagic;
  if (file.size() < kHeaderSize) return kRomTruncated;
  const uint32_t prgBanks = file[4];
  const uint32_t chrBanks = file[5];
  if (prgBanks > 64 || chrBanks > 64) return kRomTooManyBanks;
  const std::size_t needed =
      kHeaderSize + ((file[6] & 0x04) ? 512 : 0) + prgBanks * 16384 + chrBanks * 8192;
  if (file.size() < needed) return kRomTruncated;
  uint8_t mapper = static_cast<uint8_t>((file[7] & 0xF0) | (file[6] >> 4));
  if (file[7] == 'D' && file[8] == 'i' && file[9] == 's') mapper &= 0x3F;
  return IsSupportedMapper(mapper) ? kRomLoaded : kRomUnsupportedMapper;
}

class HostileImageGenerator {
 public:
  explicit HostileImageGenerator(uint32_t seed) : rng_(seed) {}

  std::vector<uint8_t> Next() {
    switch (Below(8)) {
      case 0:
        return WithTrailingJunk(ValidImage(4));
      case 1:
        return TruncatedImage();
      case 2:
        return HeaderWithRandomBody();
      case 3:
        return RandomBytes(Below(2) == 0);
      case 4:
        return MutatedHeader();
      case 5:
        return DisTagged();
      case 6:
        return Below(40) == 0 ? ValidImage(64) : ValidImage(2);
      default:
        return OneBankShort();
    }
  }

 private:
  uint32_t Below(uint32_t bound) {
    return std::uniform_int_distribution<uint32_t>(0, bound - 1)(rng_);
  }
  uint8_t Byte() { return static_cast<uint8_t>(Below(256)); }

  std::vector<uint8_t> ValidImage(int maxBanks) {
    return BuildInesImage({.mapper = static_cast<int>(Byte()),
                           .prgBanks = static_cast<int>(Below(maxBanks + 1)),
                           .chrBanks = static_cast<int>(Below(maxBanks + 1)),
                           .flags6 = static_cast<uint8_t>(Below(16))});
  }

  std::vector<uint8_t> WithTrailingJunk(std::vector<uint8_t> image) {
    const uint32_t junk = Below(3) == 0 ? Below(20000) : 0;
    for (uint32_t i = 0; i < junk; ++i) image.push_back(Byte());
    return image;
  }

  std::vector<uint8_t> TruncatedImage() {
    std::vector<uint8_t> image = ValidImage(4);
    image.resize(Below(static_cast<uint32_t>(image.size()) + 1));
    return image;
  }

  // Any bank counts, including far more than the stores hold, over a body of random length.
  std::vector<uint8_t> HeaderWithRandomBody() {
    std::vector<uint8_t> image = BuildInesHeader({.mapper = static_cast<int>(Byte()),
                                                  .prgBanks = static_cast<int>(Byte()),
                                                  .chrBanks = static_cast<int>(Byte()),
                                                  .flags6 = static_cast<uint8_t>(Below(16))});
    image.resize(kHeaderSize + Below(40000), 0x5A);
    return image;
  }

  std::vector<uint8_t> RandomBytes(bool withMagic) {
    std::vector<uint8_t> bytes(Below(20000));
    for (uint8_t& b : bytes) b = Byte();
    if (withMagic) {
      const char magic[] = "NES";
      for (std::size_t i = 0; i < bytes.size() && i < 3; ++i)
        bytes[i] = static_cast<uint8_t>(magic[i]);
    }
    return bytes;
  }

  std::vector<uint8_t> MutatedHeader() {
    std::vector<uint8_t> image = ValidImage(3);
    for (uint32_t n = Below(3) + 1; n > 0; --n)
      image[Below(kHeaderSize)] ^= static_cast<uint8_t>(Below(255) + 1);
    return image;
  }

  std::vector<uint8_t> DisTagged() {
    std::vector<uint8_t> image = ValidImage(2);
    image[7] = 'D';
    image[8] = 'i';
    image[9] = Below(4) == 0 ? Byte() : 's';
    return image;
  }

  std::vector<uint8_t> OneBankShort() {
    std::vector<uint8_t> image = ValidImage(4);
    const std::size_t body = image.size() - kHeaderSize;
    if (body > 0) image.resize(image.size() - std::min<std::size_t>(body, 1 + Below(8192)));
    return image;
  }

  std::mt19937 rng_;
};

TEST(RomLoaderFuzzTest, HostileImagesNeverCrashAndGetTheRightCode) {
  ScratchFolder folder;
  SetLogPath(folder.PathOf("wrenfold.tst"));
  auto machine = std::make_unique<MachineState>();
  // What a rejected image must leave behind: a reset machine with only the caches cleared.
  auto pristine = std::make_unique<MachineState>();
  ResetMachineState(*pristine);
  std::memset(pristine->prgBankCache, 0xFF, sizeof pristine->prgBankCache);
  std::memset(pristine->chrBankCache, 0xFF, sizeof pristine->chrBankCache);

  HostileImageGenerator generator(kSeed);
  int loaded = 0;
  int rejected = 0;
  for (int n = 0; n < kCases; ++n) {
    if (n % 200 == 0) ResetLog();
    const std::vector<uint8_t> file = generator.Next();
    const std::string path = folder.Write("hostile.nes", file);
    ResetMachineState(*machine);

    const int32_t code = LoadRomImage(*machine, path.c_str());

    const int32_t expected = ExpectedCode(file);
    ASSERT_EQ(code, expected) << "case " << n << ", " << file.size() << " bytes";
    if (code == kRomLoaded || code == kRomUnsupportedMapper) {
      ++loaded;
      const std::size_t prgStart = kHeaderSize + ((file[6] & 0x04) ? 512 : 0);
      const std::size_t prgSize = file[4] * std::size_t{16384};
      ASSERT_EQ(machine->header.prgBankCount, file[4]) << "case " << n;
      ASSERT_EQ(std::memcmp(machine->prgRom, file.data() + prgStart, prgSize), 0) << "case " << n;
      ASSERT_EQ(std::memcmp(machine->chrRom, file.data() + prgStart + prgSize,
                            file[5] * std::size_t{8192}),
                0)
          << "case " << n;
    } else {
      ++rejected;
      ASSERT_EQ(std::memcmp(machine.get(), pristine.get(), sizeof(MachineState)), 0)
          << "case " << n << " changed the machine although it was rejected with " << code;
    }
  }
  // The generator must exercise both sides, or the test proves little.
  EXPECT_GT(loaded, kCases / 10);
  EXPECT_GT(rejected, kCases / 10);
  SetLogPath(kDefaultLogPath);
}

}  // namespace
}  // namespace wrenfold
