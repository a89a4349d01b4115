#include "emulator/host/log.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "tests/emulator/host/temp_folder.h"

namespace wrenfold {
namespace {

namespace fs = std::filesystem;

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.ok());
    folder_ = temp_.path();
    previousPath_ = LogPath();
    SetLogPath((folder_ / "wrenfold.tst").string());
    ResetLog();
  }

  void TearDown() override { SetLogPath(previousPath_); }

  static std::string Contents() { return test::ReadFile(LogPath()); }

  test::TempFolder temp_;
  fs::path folder_;
  std::string previousPath_;
};

TEST_F(LogTest, DefaultsToTheFileInTheWorkingFolder) {
  EXPECT_STREQ(kDefaultLogPath, "wrenfold.tst");
}

TEST_F(LogTest, ResetEmptiesTheLogOfAnEarlierRun) {
  LogText("earlier run\n");
  ASSERT_EQ(Contents(), "earlier run\n");
  ResetLog();
  EXPECT_TRUE(fs::exists(LogPath()));
  EXPECT_EQ(Contents(), "");
}

TEST_F(LogTest, ResetCreatesAMissingLog) {
  fs::remove(LogPath());
  ResetLog();
  EXPECT_TRUE(fs::exists(LogPath()));
  EXPECT_EQ(Contents(), "");
}

TEST_F(LogTest, TextIsAppendedExactlyAsLongAsAsked) {
  LogText("NTSC Console\n");
  LogText("Open:", 5);
  LogText("abcdef", 3);
  const char withZero[] = {'x', '\0', 'y'};
  LogText(withZero, sizeof withZero);
  EXPECT_EQ(Contents(), std::string("NTSC Console\nOpen:abcx\0y", 24));
}

TEST_F(LogTest, NumbersAreDecimalOnTheirOwnLine) {
  LogNumber(-5);
  LogNumber(0);
  LogText("Buffer Size:");
  LogNumber(44100);
  LogNumber(INT32_MIN);
  LogNumber(INT32_MAX);
  EXPECT_EQ(Contents(), "-5\n0\nBuffer Size:44100\n-2147483648\n2147483647\n");
}

TEST_F(LogTest, UnlistedDisplayCodeRunsOnIntoTheNextEntry) {
  LogDirectDrawError(0x12345678u);
  LogText("next\n");
  EXPECT_EQ(Contents(), "DD_Not in Pellam's List:)next\n");
}

TEST_F(LogTest, UnlistedInputCodeEndsItsLine) {
  LogDirectInputError(0u);
  LogText("next\n");
  EXPECT_EQ(Contents(), "DIERR_Not in Pellam's list\nnext\n");
}

TEST_F(LogTest, UnwritableLogIsIgnored) {
  SetLogPath((folder_ / "missing-folder" / "wrenfold.tst").string());
  ResetLog();
  LogText("lost\n");
  LogNumber(7);
  LogDirectDrawError(0x80004001u);
  LogDirectInputError(0x80004002u);
  EXPECT_FALSE(fs::exists(folder_ / "missing-folder"));

  // A folder in the log's place cannot be opened as a file either.
  SetLogPath(folder_.string());
  ResetLog();
  LogText("lost\n");
  EXPECT_TRUE(fs::is_directory(folder_));
}

// The names of the codes in the three facilities the display and input services answer
// with, as each logger writes them; every other code gets its logger's fallback text.
struct LoggedNames {
  std::map<std::string, uint32_t> named;  // name -> the first code that logs it
  int fallbacks = 0;
};

template <typename Logger>
LoggedNames LogEveryCode(const fs::path& log, Logger logError, std::string_view fallback) {
  LoggedNames names;
  for (const uint32_t facility : {0x80004000u, 0x80040000u, 0x80070000u, 0x88760000u}) {
    for (uint32_t code = facility; code < facility + 0x600; ++code) {
      ResetLog();
      logError(code);
      const std::string text = test::ReadFile(log);
      if (text == fallback) {
        ++names.fallbacks;
      } else if (!names.named.emplace(text, code).second) {
        ADD_FAILURE() << "two codes log " << text;
      }
    }
  }
  return names;
}

// Each known code has a name of its own in its family's form, written as one entry; some
// display names end their line and some do not (the next entry then runs on), every input
// name ends its line. Codes outside the tables get the fallback.
TEST_F(LogTest, EveryCodeLogsItsOwnNameOrTheFallback) {
  const std::string displayFallback = "DD_Not in Pellam's List:)";
  const std::string inputFallback = "DIERR_Not in Pellam's list\n";
  const LoggedNames display = LogEveryCode(LogPath(), LogDirectDrawError, displayFallback);
  const LoggedNames input = LogEveryCode(LogPath(), LogDirectInputError, inputFallback);
  ASSERT_FALSE(display.named.empty());
  ASSERT_FALSE(input.named.empty());
  for (const auto& [name, code] : display.named) {
    EXPECT_TRUE(name.starts_with("DD_")) << name;
    EXPECT_EQ(name.find('\n'), name.ends_with('\n') ? name.size() - 1 : std::string::npos) << name;
  }
  for (const auto& [name, code] : input.named) {
    EXPECT_TRUE(name.starts_with("DIERR_") && name.ends_with('\n')) << name;
    EXPECT_EQ(name.find('\n'), name.size() - 1) << name;
  }
  EXPECT_GT(display.fallbacks, 0);
  EXPECT_GT(input.fallbacks, 0);
  ResetLog();
  LogDirectDrawError(0x00004001u);  // success codes are not errors of any table
  LogDirectInputError(0x00004001u);
  EXPECT_EQ(Contents(), displayFallback + inputFallback);
}

}  // namespace
}  // namespace wrenfold
