#include "platform/headless/wav_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace wrenfold {
namespace {

uint32_t Little32(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}

uint16_t Little16(const std::vector<uint8_t>& bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

class WavWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = (std::filesystem::temp_directory_path() /
            ("wrenfold_wav_" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
             std::to_string(::getpid()) + ".wav"))
               .string();
  }
  void TearDown() override { std::filesystem::remove(path); }

  std::vector<uint8_t> ReadFile() const {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::string path;
};

TEST_F(WavWriterTest, WritesA22050HzStereo16BitFile) {
  WavWriter writer;
  ASSERT_TRUE(writer.Open(path)) << writer.Error();
  const std::vector<int16_t> first = {1, -1, 0x1234, -32768};
  const std::vector<int16_t> second = {32767, 0};
  ASSERT_TRUE(writer.Append(first));
  ASSERT_TRUE(writer.Append(second));
  EXPECT_EQ(writer.FramesWritten(), 3u);
  ASSERT_TRUE(writer.Close());

  const std::vector<uint8_t> bytes = ReadFile();
  ASSERT_EQ(bytes.size(), 44u + 12u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(Little32(bytes, 4), 36u + 12u);
  EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(Little32(bytes, 16), 16u);
  EXPECT_EQ(Little16(bytes, 20), 1);  // PCM
  EXPECT_EQ(Little16(bytes, 22), 2);
  EXPECT_EQ(Little32(bytes, 24), 22050u);
  EXPECT_EQ(Little32(bytes, 28), 88200u);
  EXPECT_EQ(Little16(bytes, 32), 4);
  EXPECT_EQ(Little16(bytes, 34), 16);
  EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
  EXPECT_EQ(Little32(bytes, 40), 12u);
  const std::vector<uint8_t> data(bytes.begin() + 44, bytes.end());
  EXPECT_EQ(data, (std::vector<uint8_t>{0x01, 0x00, 0xFF, 0xFF, 0x34, 0x12, 0x00, 0x80, 0xFF, 0x7F,
                                        0x00, 0x00}));
}

TEST_F(WavWriterTest, ADestroyedWriterStillFinishesTheHeader) {
  {
    WavWriter writer;
    ASSERT_TRUE(writer.Open(path));
    const std::vector<int16_t> frame(2 * 367, 5);
    ASSERT_TRUE(writer.Append(frame));
  }
  const std::vector<uint8_t> bytes = ReadFile();
  ASSERT_EQ(bytes.size(), 44u + 367u * 4u);
  EXPECT_EQ(Little32(bytes, 40), 367u * 4u);
}

TEST_F(WavWriterTest, HalfAFrameIsRefusedAndNothingIsWritten) {
  WavWriter writer;
  ASSERT_TRUE(writer.Open(path));
  const std::vector<int16_t> odd = {1, 2, 3};
  EXPECT_FALSE(writer.Append(odd));
  EXPECT_FALSE(writer.Error().empty());
  EXPECT_EQ(writer.FramesWritten(), 0u);
  ASSERT_TRUE(writer.Close());
  EXPECT_EQ(ReadFile().size(), 44u);
}

TEST_F(WavWriterTest, UnwritablePathIsReported) {
  WavWriter writer;
  EXPECT_FALSE(writer.Open("/nonexistent-folder/out.wav"));
  EXPECT_NE(writer.Error().find("/nonexistent-folder/out.wav"), std::string::npos);
  EXPECT_FALSE(writer.IsOpen());
  const std::vector<int16_t> frame = {0, 0};
  EXPECT_FALSE(writer.Append(frame));
  EXPECT_TRUE(writer.Close());  // nothing open: nothing to do
}

}  // namespace
}  // namespace wrenfold
