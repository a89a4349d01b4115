// CalcCRC is called the way the front-end calls it: through dlopen of the built library.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace wrenfold {
namespace {

using CalcCrcFunction = int32_t (*)(const char*);

constexpr const char* kLibraryPath = WRENFOLD_BIN_DIR "/libsumtab20.so";

class Sumtab20Test : public ::testing::Test {
 protected:
  void SetUp() override {
    library = dlopen(kLibraryPath, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    calcCrc = reinterpret_cast<CalcCrcFunction>(dlsym(library, "CalcCRC"));
    ASSERT_NE(calcCrc, nullptr);
    char pattern[] = "/tmp/sumtab20_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    if (library != nullptr) dlclose(library);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  std::string WriteFile(const std::vector<uint8_t>& bytes, const std::string& name = "rom.nes") {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  int32_t ChecksumOf(const std::vector<uint8_t>& bytes) {
    return calcCrc(WriteFile(bytes).c_str());
  }

  void* library = nullptr;
  CalcCrcFunction calcCrc = nullptr;
  std::filesystem::path folder;
};

// An iNES image whose data bytes vary, so that the XOR of the groups does not cancel out.
std::vector<uint8_t> MakeImage(int prgBanks, int chrBanks, bool trainer, uint32_t seed = 1) {
  std::vector<uint8_t> image = {'N',
                                'E',
                                'S',
                                0x1A,
                                static_cast<uint8_t>(prgBanks),
                                static_cast<uint8_t>(chrBanks),
                                static_cast<uint8_t>(trainer ? 0x04 : 0x00)};
  image.resize(16, 0);
  const size_t dataLength = prgBanks * 16384u + chrBanks * 8192u + (trainer ? 512u : 0u);
  std::mt19937 random(seed);
  for (size_t i = 0; i < dataLength; ++i) image.push_back(static_cast<uint8_t>(random()));
  return image;
}

// The algorithm read literally: one 4-byte buffer, filled by reads that may come up short.
int32_t ReferenceChecksum(const std::vector<uint8_t>& file) {
  size_t position = 0;
  uint8_t buffer[4] = {};
  auto read4 = [&] {
    const size_t count = std::min<size_t>(4, file.size() - position);
    for (size_t i = 0; i < count; ++i) buffer[i] = file[position + i];
    position += count;
    return count;
  };
  uint8_t header[16];
  for (int i = 0; i < 4; ++i) {
    if (read4() != 4) return 0;
    std::copy(buffer, buffer + 4, header + 4 * i);
  }
  const uint32_t length = header[4] * 16384u + header[5] * 8192u + ((header[6] & 4) ? 512u : 0u);
  uint8_t lanes[4] = {};
  for (uint32_t g = 0; g < (length + 3) / 4; ++g) {
    read4();
    for (int lane = 0; lane < 4; ++lane) lanes[lane] ^= buffer[lane];
  }
  return static_cast<int32_t>((uint32_t{lanes[0]} << 24) | (uint32_t{lanes[1]} << 16) |
                              (uint32_t{lanes[2]} << 8) | lanes[3]);
}

// XOR of the big-endian words of [begin, end) of a complete image.
uint32_t XorOfWords(const std::vector<uint8_t>& image, size_t begin, size_t end) {
  uint32_t result = 0;
  for (size_t i = begin; i < end; i += 4)
    result ^= (uint32_t{image[i]} << 24) | (uint32_t{image[i + 1]} << 16) |
              (uint32_t{image[i + 2]} << 8) | image[i + 3];
  return result;
}

TEST_F(Sumtab20Test, BothExportedNamesAreTheSameFunctionAndNothingElseIsVisible) {
  auto cxxName = reinterpret_cast<CalcCrcFunction>(dlsym(library, "_Z7CalcCRCPKc"));
  ASSERT_NE(cxxName, nullptr);
  EXPECT_EQ(cxxName, calcCrc);
  const std::string path = WriteFile(MakeImage(1, 1, false));
  EXPECT_EQ(cxxName(path.c_str()), calcCrc(path.c_str()));
  EXPECT_EQ(dlsym(library, "_ZN8wrenfold14SumtabChecksumEPKc"), nullptr);
}

TEST_F(Sumtab20Test, CompleteImageIsTheXorOfTrainerPrgAndChrWords) {
  const auto image = MakeImage(2, 1, false);
  ASSERT_EQ(image.size(), 16u + 32768u + 8192u);
  EXPECT_EQ(static_cast<uint32_t>(ChecksumOf(image)), XorOfWords(image, 16, image.size()));

  const auto withTrainer = MakeImage(2, 1, true);
  EXPECT_EQ(static_cast<uint32_t>(ChecksumOf(withTrainer)),
            XorOfWords(withTrainer, 16, withTrainer.size()));
}

TEST_F(Sumtab20Test, BytesAfterTheDeclaredDataDoNotCount) {
  auto image = MakeImage(2, 1, false);
  const int32_t exact = ChecksumOf(image);
  image.insert(image.end(), {0x12, 0x34, 0x56, 0x78, 0x9A});
  EXPECT_EQ(ChecksumOf(image), exact);
}

TEST_F(Sumtab20Test, TrainerBytesTakePartAndShiftTheRest) {
  auto image = MakeImage(1, 1, true);
  const int32_t withTrainer = ChecksumOf(image);
  image[16 + 100] ^= 0x5A;  // inside the trainer
  EXPECT_NE(ChecksumOf(image), withTrainer);
  image[6] &= ~0x04;  // the same bytes read without a trainer: the last 512 are dropped
  EXPECT_EQ(static_cast<uint32_t>(ChecksumOf(image)), XorOfWords(image, 16, 16 + 16384 + 8192));
}

TEST_F(Sumtab20Test, OneByteAtDataOffsetFourKPlusOneChangesOnlyBits16To23) {
  auto image = MakeImage(1, 1, false);
  const uint32_t before = static_cast<uint32_t>(ChecksumOf(image));
  for (size_t k : {0u, 1u, 777u, 6143u}) {
    image[16 + 4 * k + 1] ^= 0xA5;
    const uint32_t after = static_cast<uint32_t>(ChecksumOf(image));
    EXPECT_EQ(before ^ after, 0xA5u << 16) << "k=" << k;
    image[16 + 4 * k + 1] ^= 0xA5;
  }
}

TEST_F(Sumtab20Test, FileEndingInsideTheDataXorsTheStaleBufferForEveryMissingGroup) {
  // 1 CHR bank = 2048 groups; the file holds one full group and two bytes of the next.
  std::vector<uint8_t> file = {'N', 'E', 'S', 0x1A, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const uint8_t d[6] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
  file.insert(file.end(), d, d + 6);
  // Group 1 reads 55 66 33 44; the 2046 groups after it XOR that buffer again (odd total).
  const uint32_t expected = (uint32_t(d[0] ^ d[4]) << 24) | (uint32_t(d[1] ^ d[5]) << 16);
  EXPECT_EQ(static_cast<uint32_t>(ChecksumOf(file)), expected);
}

struct TruncationCase {
  const char* name;
  int prgBanks;
  int chrBanks;
  bool trainer;
  size_t keepBytes;  // file length after truncation
};

void PrintTo(const TruncationCase& c, std::ostream* out) {
  *out << c.name;
}

class Sumtab20TruncationTest : public Sumtab20Test,
                               public ::testing::WithParamInterface<TruncationCase> {};

TEST_P(Sumtab20TruncationTest, MatchesTheLiteralFourByteReads) {
  const TruncationCase& c = GetParam();
  auto image = MakeImage(c.prgBanks, c.chrBanks, c.trainer);
  image.resize(std::min(image.size(), c.keepBytes));
  EXPECT_EQ(ChecksumOf(image), ReferenceChecksum(image));
}

INSTANTIATE_TEST_SUITE_P(
    Truncations, Sumtab20TruncationTest,
    ::testing::Values(TruncationCase{"HeaderOnly", 2, 1, false, 16},
                      TruncationCase{"InsidePrgOnGroupBoundary", 2, 1, false, 16 + 1000},
                      TruncationCase{"InsidePrgMidGroup", 2, 1, false, 16 + 1001},
                      TruncationCase{"InsideChrPlusOne", 2, 1, false, 16 + 32768 + 4001},
                      TruncationCase{"InsideChrPlusTwo", 2, 1, false, 16 + 32768 + 4002},
                      TruncationCase{"InsideChrPlusThree", 2, 1, false, 16 + 32768 + 4003},
                      TruncationCase{"LastByteMissing", 2, 1, false, 16 + 32768 + 8191},
                      TruncationCase{"InsideTrainer", 1, 0, true, 16 + 301},
                      TruncationCase{"AcrossTheReadChunk", 8, 0, false, 16 + 65536 + 3},
                      TruncationCase{"Complete", 8, 4, true, 1u << 20}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Sumtab20Test, RandomTruncationsMatchTheLiteralReads) {
  std::mt19937 random(20);
  for (int round = 0; round < 40; ++round) {
    auto image = MakeImage(static_cast<int>(random() % 5), static_cast<int>(random() % 4),
                           random() % 2 == 0, static_cast<uint32_t>(round));
    image.resize(16 + random() % (image.size() - 15));
    ASSERT_EQ(ChecksumOf(image), ReferenceChecksum(image)) << "round " << round;
  }
}

TEST_F(Sumtab20Test, NoDeclaredDataGivesZero) {
  EXPECT_EQ(ChecksumOf(MakeImage(0, 0, false)), 0);
  auto junk = MakeImage(0, 0, false);
  junk.insert(junk.end(), 100, 0x77);
  EXPECT_EQ(ChecksumOf(junk), 0);
}

TEST_F(Sumtab20Test, UnreadableInputGivesZero) {
  EXPECT_EQ(calcCrc((folder / "missing.nes").c_str()), 0);
  EXPECT_EQ(calcCrc(folder.c_str()), 0);  // a directory opens but cannot be read
  auto shortHeader = MakeImage(1, 0, false);
  shortHeader.resize(15);
  EXPECT_EQ(ChecksumOf(shortHeader), 0);
  EXPECT_EQ(calcCrc(nullptr), 0);
}

TEST_F(Sumtab20Test, PathPaddedWithBlanksTo255NamesTheSameFile) {
  const std::string path = WriteFile(MakeImage(1, 1, false));
  std::string padded = path;
  padded.resize(255, ' ');
  EXPECT_EQ(calcCrc(padded.c_str()), calcCrc(path.c_str()));
  EXPECT_NE(calcCrc(path.c_str()), 0);
}

}  // namespace
}  // namespace wrenfold
