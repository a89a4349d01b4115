#include "files/regular_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "tests/emulator/host/temp_folder.h"
#include "tests/files/special_files.h"

namespace wrenfold {
namespace {

using namespace std::chrono_literals;
using test::SpecialFile;

class SpecialFileTest : public ::testing::TestWithParam<SpecialFile> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(test::MakeSpecialFile(path, GetParam()));
  }

  RegularFileStatus Expected() const {
    return GetParam() == SpecialFile::kDanglingLink ? RegularFileStatus::kMissing
                                                    : RegularFileStatus::kNotRegular;
  }

  test::TempFolder folder;
  const std::filesystem::path path = folder.path() / "Wrenfold.CFG";
};

TEST_P(SpecialFileTest, EveryWayOfOpeningRefusesAtOnce) {
  const RegularFileStatus expected = Expected();
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    const RegularFileRead read = ReadRegularFile(path, 1 << 20);
    return read.status == expected && read.bytes.empty();
  }));
  for (const int access : {O_RDONLY, O_WRONLY, O_RDWR}) {
    EXPECT_TRUE(test::EndsWithin(2s, [&] {
      RegularFileStatus status = RegularFileStatus::kOk;
      int error = 0;
      const int fd = OpenRegularFile(path, access, status, error);
      if (fd >= 0) ::close(fd);
      return fd < 0 && status == expected;
    })) << "access " << access;
  }
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    RegularFileStatus status = RegularFileStatus::kOk;
    int error = 0;
    const UniqueFile file(OpenRegularFileStream(path, status, error));
    return !file && status == expected;
  }));
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialFileTest, ::testing::ValuesIn(test::kSpecialFiles),
                         [](const auto& info) { return test::SpecialFileName(info.param); });

TEST(RegularFileTest, AFileIsReadWholeUpToTheLimitAndNeverPastOneByteMore) {
  test::TempFolder folder;
  const std::filesystem::path path = folder.path() / "data";
  for (const size_t size : {0u, 1u, 4096u, 16384u, 16385u, 40000u}) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + size);
    test::WriteFile(path, bytes);
    for (const size_t limit : {size_t{0}, size / 2, size - (size > 0), size, size + 1}) {
      SCOPED_TRACE(std::to_string(size) + " bytes, limit " + std::to_string(limit));
      const RegularFileRead read = ReadRegularFile(path, limit);
      if (size <= limit) {
        EXPECT_EQ(read.status, RegularFileStatus::kOk);
        EXPECT_EQ(read.bytes, bytes);
      } else {
        EXPECT_EQ(read.status, RegularFileStatus::kTooLarge);
        EXPECT_EQ(read.bytes, bytes.substr(0, limit + 1));
      }
    }
  }
}

TEST(RegularFileTest, AMissingFileAndAnUnreadableOneAreToldApart) {
  test::TempFolder folder;
  EXPECT_EQ(ReadRegularFile(folder.path() / "none", 10).status, RegularFileStatus::kMissing);
  const std::filesystem::path locked = folder.path() / "locked";
  test::WriteFile(locked, "x");
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  // The superuser reads it anyway.
  if (::geteuid() != 0) {
    const RegularFileRead read = ReadRegularFile(locked, 10);
    EXPECT_EQ(read.status, RegularFileStatus::kCannotOpen);
    EXPECT_FALSE(RegularFileProblemText(read.status, read.error).empty());
  }
}

}  // namespace
}  // namespace wrenfold
