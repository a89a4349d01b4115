#include "emulator/host/log.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

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

struct NamedCode {
  uint32_t code;
  const char* name;
};

std::string CodeName(const ::testing::TestParamInfo<NamedCode>& info) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "Code%08X", info.param.code);
  return hex;
}

class DirectDrawNameTest : public LogTest, public ::testing::WithParamInterface<NamedCode> {};

TEST_P(DirectDrawNameTest, WritesTheName) {
  LogDirectDrawError(GetParam().code);
  EXPECT_EQ(Contents(), GetParam().name);
}

// The general COM codes carry the display names; some names end their line, others do not.
INSTANTIATE_TEST_SUITE_P(Names, DirectDrawNameTest,
                         ::testing::Values(NamedCode{0x80004001u, "DD_UNSUPPORTED"},
                                           NamedCode{0x80004005u, "DD_GENERIC"},
                                           NamedCode{0x8007000Eu, "DD_OutMemory\n"},
                                           NamedCode{0x80070057u, "DD_INVALIDPARAMS"},
                                           NamedCode{0x88760078u, "DD_INVALIDMODE\n"},
                                           NamedCode{0x887600E1u, "DD_NOEXC\n"},
                                           NamedCode{0x887601C2u, "DD_SURFACELOST"},
                                           NamedCode{0x8876021Cu, "DD_WASSTILLDRAWING\n"},
                                           NamedCode{0x88760240u, "DD_NODDROPSHW"},
                                           NamedCode{0x88760241u, "DD_Not in Pellam's List:)"},
                                           NamedCode{0x00004001u, "DD_Not in Pellam's List:)"}),
                         CodeName);

class DirectInputNameTest : public LogTest, public ::testing::WithParamInterface<NamedCode> {};

TEST_P(DirectInputNameTest, WritesTheName) {
  LogDirectInputError(GetParam().code);
  EXPECT_EQ(Contents(), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Names, DirectInputNameTest,
                         ::testing::Values(NamedCode{0x80004002u, "DIERR_NOINTERFACE\n"},
                                           NamedCode{0x80004005u, "DIERR_GENERIC\n"},
                                           NamedCode{0x8007000Eu, "DIERR_OUTOFMEMORY\n"},
                                           NamedCode{0x8007001Eu, "DIERR_INPUTLOST\n"},
                                           NamedCode{0x80070057u, "DIERR_INVALIDPARAM\n"},
                                           NamedCode{0x80070481u, "DIERR_BETADIRECTINPUTVEZSION\n"},
                                           NamedCode{0x800704DFu, "DIERR_ALREADYINITIALIZED\n"},
                                           // A display-only code is unknown to the input table.
                                           NamedCode{0x80004001u, "DIERR_Not in Pellam's list\n"}),
                         CodeName);

}  // namespace
}  // namespace wrenfold
