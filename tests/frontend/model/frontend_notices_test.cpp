#include "frontend/model/frontend_notices.h"

#include <gtest/gtest.h>

namespace wrenfold {
namespace {

void ExpectComplete(const Notice& notice) {
  EXPECT_FALSE(notice.titleChinese.empty());
  EXPECT_FALSE(notice.titleEnglish.empty());
  EXPECT_FALSE(notice.textChinese.empty());
  EXPECT_FALSE(notice.textEnglish.empty());
}

TEST(FrontendNoticesTest, NormalStatusesShowNothing) {
  EXPECT_FALSE(NoticeForConfig(ConfigStatus::Ok));
  EXPECT_FALSE(NoticeForPersonalSettings(PersonalSettingsStatus::Missing));
  EXPECT_FALSE(NoticeForHeaderFile(HeaderFileStatus::Ok));
  EXPECT_FALSE(NoticeForRecognitionLoad({}));
  EXPECT_TRUE(NoticesForEncyclopediaLoad({}).empty());
}

TEST(FrontendNoticesTest, EveryProblemHasBothLanguages) {
  for (ConfigStatus status :
       {ConfigStatus::Missing, ConfigStatus::Damaged, ConfigStatus::WriteFailed}) {
    ASSERT_TRUE(NoticeForConfig(status));
    ExpectComplete(*NoticeForConfig(status));
  }
  ExpectComplete(*NoticeForPersonalSettings(PersonalSettingsStatus::Damaged));
  ExpectComplete(*NoticeForHeaderFile(HeaderFileStatus::TooShort));
  ExpectComplete(*NoticeForRecognitionLoad({DataFileError::kTruncated, 10}));
  ExpectComplete(NoDisplayDevicesNotice());
  ExpectComplete(EmulatorStartFailedNotice("/bin/wrenfold"));
}

TEST(FrontendNoticesTest, ReadOnlyRomUsesTheRepairWords) {
  const Notice notice = *NoticeForHeaderFile(HeaderFileStatus::ReadOnly);
  EXPECT_EQ(notice.Title(kLanguageChinese), "无法修改文件");
  EXPECT_EQ(notice.Text(kLanguageEnglish), "This file is readonly!");
}

TEST(FrontendNoticesTest, RecognitionProblemNamesTheFile) {
  const Notice notice = *NoticeForRecognitionLoad({DataFileError::kFileMissing, 0});
  EXPECT_NE(notice.Text(kLanguageEnglish).find("NESROMS.ENC"), std::string_view::npos);
  EXPECT_NE(notice.Text(kLanguageChinese).find("NESROMS.ENC"), std::string_view::npos);
}

TEST(FrontendNoticesTest, EncyclopediaMagicAndSectionHeads) {
  EncyclopediaLoadResult result;
  result.error = DataFileError::kBadMagic;
  result.badSectionHeads = {2, 5, 9};
  const std::vector<Notice> notices = NoticesForEncyclopediaLoad(result);
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].Title(kLanguageChinese), "段首识别码错误");
  EXPECT_EQ(notices[0].Title(kLanguageEnglish), "Damaged section mark");
  EXPECT_EQ(notices[1].Title(kLanguageEnglish), "Checksum incorrect");
  EXPECT_EQ(notices[1].Text(kLanguageChinese), "大百科数据库（CARTINFO.ENC）损坏，请重新下载！");
}

TEST(FrontendNoticesTest, RomListProblems) {
  RomList empty;
  std::vector<Notice> notices = NoticesForRomList(empty, "/roms");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].Title(kLanguageChinese), "未发现.NES文件");
  EXPECT_EQ(notices[0].Title(kLanguageEnglish), "No .NES files found");

  RomList unreadable;
  unreadable.folderUnreadable = true;
  notices = NoticesForRomList(unreadable, "/secret");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].Text(kLanguageEnglish).find("/secret"), std::string_view::npos);

  RomList list;
  list.noRomFiles = false;
  list.entries.resize(4);
  list.entries[0].fileError = DataFileError::kRomTooShort;
  list.entries[1].fileError = DataFileError::kReadFailed;
  list.entries[2].fileError = DataFileError::kChecksumUnavailable;
  notices = NoticesForRomList(list, "/roms");
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_NE(notices[0].Text(kLanguageEnglish).find("libsumtab20.so"), std::string_view::npos);
  EXPECT_EQ(notices[1].Text(kLanguageEnglish).substr(0, 2), "2 ");

  list.entries.assign(3, RomListEntry{});
  EXPECT_TRUE(NoticesForRomList(list, "/roms").empty());
}

}  // namespace
}  // namespace wrenfold
