#include "frontend/model/encyclopedia_view.h"

#include <gtest/gtest.h>

#include <string>

#include "frontend/model/encyclopedia_text.h"
#include "frontend/model/screenshot_path.h"
#include "tests/frontend/model/db_test_support.h"

namespace wrenfold {
namespace {

EncyclopediaEntry EntryWith(std::initializer_list<EncyclopediaTag> tags) {
  EncyclopediaEntry entry;
  for (EncyclopediaTag tag : tags) entry.present[tag] = true;
  return entry;
}

TEST(EncyclopediaViewTest, NoEntryBlanksEveryBlock) {
  const EncyclopediaView view = ViewOfEntry(EncyclopediaDb{}, 0);
  EXPECT_EQ(view, EncyclopediaView{});
  EXPECT_EQ(view.consoleType, "N/A");
  EXPECT_EQ(view.secretName, "N/A");
  EXPECT_FALSE(view.introductionEnabled);
  EXPECT_EQ(ViewOfEntry(EncyclopediaDb{}, 5), EncyclopediaView{});
}

TEST(EncyclopediaViewTest, EntryWithOnlyLinkAndProducerShowsTheProducerAndNothingElse) {
  EncyclopediaDb db;
  db.entries.push_back(EntryWith({kTagLink, kTagProducer}));
  db.entries[0].links = {1};
  db.entries[0].producer = DbText::FromUtf8("Konami");
  EncyclopediaView expected;
  expected.producer = "Konami";
  EXPECT_EQ(ViewOfEntry(db, 1), expected);
}

TEST(EncyclopediaViewTest, FullEntryFillsEveryBlock) {
  EncyclopediaDb db;
  EncyclopediaEntry entry =
      EntryWith({kTagConsoleType, kTagGameLanguage, kTagMarks, kTagSecrets, kTagGameType,
                 kTagIntroduction, kTagRomVersion, kTagRegionFlags});
  entry.consoleType = 3;
  entry.gameLanguage = 2;
  entry.marks = 0x03;
  entry.secrets = {DbText::FromUtf8("无敌：上上下下"), DbText::FromUtf8("b：2"),
                   DbText::FromUtf8("c：3")};
  entry.gameTypeCode = 17;
  entry.introduction = DbText::FromUtf8("简介");
  entry.romVersionCode = 99;  // not in the table
  entry.regionFlags = 0x0003;
  db.entries.push_back(entry);

  const EncyclopediaView view = ViewOfEntry(db, 1);
  EXPECT_EQ(view.consoleType, "NTSC/PAL");
  EXPECT_EQ(view.gameLanguage, "中文");
  EXPECT_EQ(view.gameLanguageColor, 0x0000FFu);
  EXPECT_TRUE(view.jingPinMarkVisible);
  EXPECT_TRUE(view.jingDianMarkVisible);
  EXPECT_EQ(view.secretNumber, 1);
  EXPECT_EQ(view.secretName, "无敌( 1/ 3)");
  EXPECT_EQ(view.secretText, "上上下下");
  EXPECT_EQ(view.producer, "N/A");
  EXPECT_EQ(view.gameType, "3D赛车");
  EXPECT_TRUE(view.introductionEnabled);
  EXPECT_EQ(view.introduction, "简介");
  EXPECT_EQ(view.romVersion, "");
  EXPECT_EQ(view.cartVersion, "JU");
}

TEST(EncyclopediaViewTest, ClickingTheSecretCyclesThroughAllOfThem) {
  EncyclopediaDb db;
  EncyclopediaEntry entry = EntryWith({kTagSecrets});
  entry.secrets = {DbText::FromUtf8("a：1"), DbText::FromUtf8("b：2"), DbText::FromUtf8("c：3")};
  db.entries.push_back(entry);
  EncyclopediaView view = ViewOfEntry(db, 1);
  std::string shown;
  for (int click = 0; click < 4; ++click) {
    ShowNextSecret(db, 1, view);
    shown += view.secretText;
  }
  EXPECT_EQ(shown, "2312");
  EXPECT_EQ(view.secretName, "b( 2/ 3)");
}

TEST(EncyclopediaViewTest, PresentSecretsBlockWithoutSecretsShowsNone) {
  EncyclopediaDb db;
  db.entries.push_back(EntryWith({kTagSecrets}));
  EncyclopediaView view = ViewOfEntry(db, 1);
  EXPECT_EQ(view.secretNumber, 0);
  EXPECT_EQ(view.secretName, "N/A");
  ShowNextSecret(db, 1, view);
  EXPECT_EQ(view.secretNumber, 0);
}

TEST(EncyclopediaViewTest, UnknownConsoleAndLanguageCodesShowNotAvailable) {
  EncyclopediaDb db;
  EncyclopediaEntry entry = EntryWith({kTagConsoleType, kTagGameLanguage});
  entry.consoleType = 7;
  entry.gameLanguage = 3;
  db.entries.push_back(entry);
  const EncyclopediaView view = ViewOfEntry(db, 1);
  EXPECT_EQ(view.consoleType, "N/A");
  EXPECT_EQ(view.gameLanguage, "N/A");
  EXPECT_EQ(view.gameLanguageColor, 0u);
}

struct RegionCase {
  uint16_t flags;
  const char* text;
};

class RegionFlagsTextTest : public ::testing::TestWithParam<RegionCase> {};

TEST_P(RegionFlagsTextTest, JoinsTheSetFlagsInDisplayOrder) {
  EXPECT_EQ(RegionFlagsText(GetParam().flags), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, RegionFlagsTextTest,
    ::testing::Values(RegionCase{0x0003, "JU"}, RegionCase{0x0201, "UTranslated"},
                      RegionCase{0x0000, ""}, RegionCase{0x0002, "J"},
                      RegionCase{0x03FF,
                                 "JUCEUnlicensedPlayChoice10VS UnisystemSwedenCanadaTranslated"},
                      RegionCase{0xFC00, ""}));

TEST(EncyclopediaTextTest, NameTablesHaveTheirEntriesAndNothingElse) {
  EXPECT_EQ(GameTypeName(1), "动作");
  EXPECT_EQ(GameTypeName(12), "RPG");
  EXPECT_EQ(GameTypeName(17), "3D赛车");
  EXPECT_EQ(GameTypeName(0), "");
  EXPECT_EQ(GameTypeName(18), "");
  EXPECT_EQ(GameTypeName(255), "");
  EXPECT_EQ(VersionName(1), "原版");
  EXPECT_EQ(VersionName(4), "原版？");
  EXPECT_EQ(VersionName(129), "残缺(CHR不全)");
  EXPECT_EQ(VersionName(142), "Bad CHR");
  EXPECT_EQ(VersionName(5), "");
  EXPECT_EQ(VersionName(200), "");
}

// The English interface names every code the Chinese one names, and only those, in English.
TEST(EncyclopediaTextTest, EnglishNamesCoverTheSameCodes) {
  for (int code = 0; code < 256; ++code) {
    EXPECT_EQ(GameTypeName(code).empty(), GameTypeName(code, kLanguageEnglish).empty()) << code;
    EXPECT_EQ(VersionName(code).empty(), VersionName(code, kLanguageEnglish).empty()) << code;
    for (std::string_view name :
         {GameTypeName(code, kLanguageEnglish), VersionName(code, kLanguageEnglish)}) {
      for (unsigned char c : name) {
        EXPECT_LT(c, 0x80) << code << " " << name;
      }
    }
    const auto chinese = GameLanguageLabel(static_cast<uint8_t>(code));
    const auto english = GameLanguageLabel(static_cast<uint8_t>(code), kLanguageEnglish);
    ASSERT_EQ(chinese.has_value(), english.has_value()) << code;
    if (chinese) {
      EXPECT_EQ(chinese->rgb, english->rgb) << code;
    }
  }
  EXPECT_EQ(GameTypeName(1, kLanguageEnglish), "Action");
  EXPECT_EQ(VersionName(129, kLanguageEnglish), "Incomplete(CHR missing)");
  EXPECT_EQ(GameLanguageLabel(1, kLanguageEnglish)->text, "Japanese");
}

TEST(EncyclopediaViewTest, WalkthroughListsEverySecret) {
  EncyclopediaDb db;
  EncyclopediaEntry entry = EntryWith({kTagSecrets});
  entry.secrets = {DbText::FromUtf8("无敌：上上下下"), DbText::FromUtf8("no colon here")};
  db.entries.push_back(entry);
  db.entries.push_back(EntryWith({kTagProducer}));
  EXPECT_EQ(WalkthroughText(db, 1), "无敌: 上上下下\n\nno colon here");
  EXPECT_EQ(WalkthroughText(db, 2), "");
  EXPECT_EQ(WalkthroughText(db, 3), "");
}

TEST(EncyclopediaTextTest, LanguageLabelsHaveTheirColours) {
  EXPECT_EQ(GameLanguageLabel(0)->text, "英文");
  EXPECT_EQ(GameLanguageLabel(0)->rgb, 0xFF0000u);
  EXPECT_EQ(GameLanguageLabel(1)->text, "日文");
  EXPECT_EQ(GameLanguageLabel(1)->rgb, 0xFFFF00u);
  EXPECT_EQ(*ConsoleTypeText(1), "NTSC");
  EXPECT_EQ(*ConsoleTypeText(2), "PAL");
  EXPECT_FALSE(ConsoleTypeText(0).has_value());
}

TEST(EncyclopediaTextTest, SecretSplitsAtTheFirstFullWidthColon) {
  const SecretParts parts = SplitSecret("选关：A：B");
  EXPECT_EQ(parts.name, "选关");
  EXPECT_EQ(parts.description, "A：B");
  const SecretParts noColon = SplitSecret("press start: then select");
  EXPECT_EQ(noColon.name, "");
  EXPECT_EQ(noColon.description, "press start: then select");
  EXPECT_EQ(SecretNameCaption("name", 2, 3), "name( 2/ 3)");
  EXPECT_EQ(NextSecretNumber(3, 3), 1);
  EXPECT_EQ(NextSecretNumber(0, 3), 0);
}

TEST(ScreenshotPathTest, PathsFollowTheEntryNumberAndLetter) {
  EXPECT_EQ(ScreenshotDosPath(12, 'A'), ".\\ScrShots\\AG0012A.GIF");
  EXPECT_EQ(ScreenshotDosPath(1024, 'B'), ".\\ScrShots\\AG1024B.GIF");
  EXPECT_EQ(PathFromDosRelative(".\\ScrShots\\AG0012A.GIF"),
            std::filesystem::path("ScrShots/AG0012A.GIF"));
  EXPECT_EQ(OtherScreenshotLetter('A'), 'B');
  EXPECT_EQ(OtherScreenshotLetter('B'), 'A');
}

TEST(ScreenshotPathTest, FindsTheExactNameFirstThenOneDifferingInCase) {
  testing::ScratchFolder folder;
  std::filesystem::create_directory(folder / "ScrShots");
  folder.Write("ScrShots/AG0012A.GIF", "exact");
  folder.Write("ScrShots/ag0012a.gif", "lower");
  folder.Write("ScrShots/ag0007b.Gif", "mixed");
  EXPECT_EQ(FindScreenshot(folder.Path(), 12, 'A'), folder / "ScrShots/AG0012A.GIF");
  EXPECT_EQ(FindScreenshot(folder.Path(), 7, 'B'), folder / "ScrShots/ag0007b.Gif");
  EXPECT_FALSE(FindScreenshot(folder.Path(), 7, 'A').has_value());
}

TEST(ScreenshotPathTest, FolderNameMayDifferInCaseToo) {
  testing::ScratchFolder folder;
  std::filesystem::create_directory(folder / "scrshots");
  folder.Write("scrshots/AG0001A.GIF", "x");
  EXPECT_EQ(FindScreenshot(folder.Path(), 1, 'A'), folder / "scrshots/AG0001A.GIF");
  std::filesystem::create_directory(folder / "scrshots/AG0002A.GIF");  // a folder is no picture
  EXPECT_FALSE(FindScreenshot(folder.Path(), 2, 'A').has_value());
}

}  // namespace
}  // namespace wrenfold
