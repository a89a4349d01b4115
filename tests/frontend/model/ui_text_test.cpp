#include "frontend/model/ui_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "frontend/model/model_messages.h"

namespace wrenfold {
namespace {

TEST(BilingualTable, NoCaptionIsEmpty) {
  for (const CaptionEntry& entry : AllCaptions()) {
    EXPECT_FALSE(entry.control.empty());
    EXPECT_FALSE(entry.chinese.empty()) << entry.control;
    EXPECT_FALSE(entry.english.empty()) << entry.control;
  }
}

TEST(BilingualTable, NoMessageIsEmpty) {
  ASSERT_EQ(static_cast<int>(AllMessages().size()), kMessageCount);
  for (int i = 0; i < kMessageCount; ++i) {
    const MessageEntry& entry = AllMessages()[static_cast<size_t>(i)];
    EXPECT_EQ(static_cast<int>(entry.id), i);
    EXPECT_FALSE(entry.chinese.empty()) << i;
    EXPECT_FALSE(entry.english.empty()) << i;
  }
}

TEST(BilingualTable, EachControlHasOneCaption) {
  std::set<std::pair<FormName, std::string_view>> seen;
  for (const CaptionEntry& entry : AllCaptions()) {
    EXPECT_TRUE(seen.insert({entry.form, entry.control}).second) << entry.control;
  }
}

struct CaptionCase {
  FormName form;
  const char* control;
  const char* chinese;
  const char* english;
};

class SetLanCaptions : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(SetLanCaptions, GiveTheTextOfEachLanguage) {
  const CaptionCase& c = GetParam();
  EXPECT_EQ(CaptionText(c.form, c.control, kLanguageChinese), c.chinese);
  EXPECT_EQ(CaptionText(c.form, c.control, kLanguageEnglish), c.english);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, SetLanCaptions,
    ::testing::Values(CaptionCase{FormName::Form1, "Form1", "ROM大百科", "ROM Encyclopedia"},
                      CaptionCase{FormName::Form1, "Label18", "游戏画面", "Screen  Shot"},
                      CaptionCase{FormName::Form1, "Label35", "开始：", "Start"},
                      CaptionCase{FormName::Form1, "Label40", "分辨率：", "Resolution"},
                      CaptionCase{FormName::Form1, "Command9", "清除筛选", "Clear Filter"},
                      CaptionCase{FormName::Form1, "Option1(0)", "内嵌汇编核心，快",
                                  "New ASM Core"},
                      CaptionCase{FormName::Form1, "Label42", "显示设备：", "Display Device:"},
                      // The first-run form speaks to both languages at once.
                      CaptionCase{FormName::FirstLan, "Option1(0)", "简体中文(GB)", "简体中文(GB)"},
                      CaptionCase{FormName::FdsLoader, "Command1", "启动Wrenfold执行所选游戏",
                                  "Start Wrenfold with the chosen disk"},
                      CaptionCase{FormName::Title, "Label1", "Wrenfold:ROM大百科 V2.2",
                                  "Wrenfold:ROM Encyclopedia V2.2"}),
    [](const auto& info) {
      return std::string(info.param.control).substr(0, std::string(info.param.control).find('(')) +
             "_" + std::to_string(static_cast<int>(info.param.form));
    });

TEST(BilingualTable, EveryControlSetLanRenamesIsInTheTable) {
  const char* renamed[] = {"Form1",
                           "Frame1",
                           "Frame2",
                           "Frame3",
                           "Frame4",
                           "FrameCfg",
                           "framewin(0)",
                           "framewin(1)",
                           "framewin(2)",
                           "Label1",
                           "Label11",
                           "Label12",
                           "Label13",
                           "Label15",
                           "Label16",
                           "Label17",
                           "Label18",
                           "Label19",
                           "Label2",
                           "Label20",
                           "Label4",
                           "Label5",
                           "Label6",
                           "Label8",
                           "Label9",
                           "Label36",
                           "Label38",
                           "Label39",
                           "Label40",
                           "Option1(0)",
                           "Option1(1)",
                           "Chk2X",
                           "Chk_Color",
                           "Chk_Scanline",
                           "Chk_NamcoExtended",
                           "Chk_VRC6Extended",
                           "Cmd_GameIntro",
                           "Cmd_NextShot",
                           "Cmd_UpdateCfg",
                           "CmdSwap",
                           "CmdSwap2",
                           "Command2",
                           "Command3",
                           "Command4",
                           "Command5",
                           "Command6",
                           "Command7",
                           "Command8",
                           "Command9",
                           "Check1",
                           "Label21",
                           "Chk_SoundEnable",
                           "Chk_Stereo",
                           "Label24",
                           "Label25",
                           "Label26",
                           "Label27",
                           "Label28",
                           "Label29",
                           "Label30",
                           "Label31",
                           "Label32",
                           "Label33",
                           "Label34",
                           "Label35"};
  for (const char* control : renamed) {
    const CaptionEntry* entry = FindCaption(FormName::Form1, control);
    ASSERT_NE(entry, nullptr) << control;
    EXPECT_NE(entry->chinese, entry->english) << control;
  }
}

TEST(BilingualTable, UnknownControlsAndIdsGiveNoText) {
  EXPECT_EQ(FindCaption(FormName::Form1, "NoSuchControl"), nullptr);
  EXPECT_EQ(CaptionText(FormName::FdsLoader, "Form1", kLanguageEnglish), "");
  EXPECT_EQ(MessageText(MessageId::Count, kLanguageChinese), "");
}

TEST(BilingualTable, MessagesFollowTheLanguage) {
  EXPECT_EQ(MessageText(MessageId::RepairReadOnlyTitle, kLanguageChinese), "无法修改文件");
  EXPECT_EQ(MessageText(MessageId::RepairReadOnlyTitle, kLanguageEnglish), "Repair failed");
  // An unplugged joystick is told apart from a missing driver.
  EXPECT_NE(MessageText(MessageId::JoystickUnpluggedText, kLanguageEnglish),
            MessageText(MessageId::JoystickNoDriverText, kLanguageEnglish));
}

// True when `text` holds a character of the CJK blocks or full-width forms (UTF-8 lead bytes
// E3 to E9 and EF).
bool HoldsChinese(std::string_view text) {
  for (unsigned char c : text) {
    if ((c >= 0xE3 && c <= 0xE9) || c == 0xEF) return true;
  }
  return false;
}

// The English face shows English everywhere; only the first-run form speaks to both.
TEST(BilingualTable, EnglishTextsHoldNoChinese) {
  for (const CaptionEntry& entry : AllCaptions()) {
    if (entry.form == FormName::FirstLan) continue;
    EXPECT_FALSE(HoldsChinese(entry.english)) << entry.control;
  }
  for (const MessageEntry& entry : AllMessages()) {
    if (entry.id == MessageId::FirstRunPromptChinese ||
        entry.id == MessageId::FirstRunConfirmChinese)
      continue;
    EXPECT_FALSE(HoldsChinese(entry.english)) << static_cast<int>(entry.id) << " " << entry.english;
  }
}

TEST(ModelMessages, EveryProblemHasAMessage) {
  for (ConfigStatus status :
       {ConfigStatus::Missing, ConfigStatus::Unreadable, ConfigStatus::Damaged,
        ConfigStatus::TooManyItems, ConfigStatus::NoRomDirectory, ConfigStatus::NoEndMarker,
        ConfigStatus::NoRomSelected, ConfigStatus::LineBreakInValue, ConfigStatus::WriteFailed}) {
    EXPECT_NE(MessageFor(status), MessageId::Count) << static_cast<int>(status);
  }
  EXPECT_EQ(MessageFor(ConfigStatus::Ok), MessageId::Count);
  for (PersonalSettingsStatus status :
       {PersonalSettingsStatus::Unreadable, PersonalSettingsStatus::Damaged,
        PersonalSettingsStatus::WriteFailed}) {
    EXPECT_NE(MessageFor(status), MessageId::Count) << static_cast<int>(status);
  }
  EXPECT_EQ(MessageFor(PersonalSettingsStatus::Missing), MessageId::Count);
  for (HeaderFileStatus status : {HeaderFileStatus::CannotOpen, HeaderFileStatus::TooShort,
                                  HeaderFileStatus::ReadOnly, HeaderFileStatus::WriteFailed}) {
    EXPECT_NE(MessageFor(status), MessageId::Count) << static_cast<int>(status);
  }
  EXPECT_EQ(MessageFor(HeaderFileStatus::ReadOnly), MessageId::RepairReadOnlyText);
}

}  // namespace
}  // namespace wrenfold
