#include "frontend/model/personal_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "tests/frontend/model/scratch_folder.h"

namespace wrenfold {
namespace {

using testing::ScratchFolder;

AliasChoice ChoicesOf(std::vector<int16_t> values) {
  AliasChoice choices;
  choices.AssignFromFile(values);
  return choices;
}

TEST(PersonalSettingsFormat, NumbersHaveASignPositionAndATrailingBlank) {
  EXPECT_EQ(FormatPersonalSettings(ChoicesOf({0, 2, 5})), " 3 \r\n 0 \r\n 2 \r\n 5 \r\n");
  EXPECT_EQ(FormatPersonalSettings(AliasChoice{}), " 0 \r\n");
}

TEST(PersonalSettingsFormat, RoundTrips) {
  AliasChoice written = ChoicesOf({1, 0, 0, 4, 5, 3});
  PersonalSettingsRead read = ParsePersonalSettings(FormatPersonalSettings(written));
  EXPECT_EQ(read.status, PersonalSettingsStatus::Ok);
  EXPECT_EQ(read.choices, (std::vector<int16_t>{1, 0, 0, 4, 5, 3}));
}

TEST(PersonalSettingsFormat, ReadsItemsSeparatedByAnyBlanks) {
  PersonalSettingsRead read = ParsePersonalSettings("2\n1,2");
  EXPECT_EQ(read.status, PersonalSettingsStatus::Ok);
  EXPECT_EQ(read.choices, (std::vector<int16_t>{1, 2}));
  // Items past N are ignored.
  EXPECT_EQ(ParsePersonalSettings(" 1 \r\n 3 \r\n 4 \r\n").choices, std::vector<int16_t>{3});
}

struct DamagedCase {
  const char* name;
  const char* text;
  std::vector<int16_t> choices;
};

class DamagedPersonalSettings : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedPersonalSettings, KeepsWhatCanBeRead) {
  PersonalSettingsRead read = ParsePersonalSettings(GetParam().text);
  EXPECT_EQ(read.status, PersonalSettingsStatus::Damaged);
  EXPECT_EQ(read.choices, GetParam().choices);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedPersonalSettings,
    ::testing::Values(DamagedCase{"Empty", "", {}}, DamagedCase{"TextCount", "abc\r\n 1 \r\n", {}},
                      DamagedCase{"NegativeCount", "-4\r\n", {}},
                      DamagedCase{"HugeCount", " 99999999 \r\n", {}},
                      DamagedCase{"CutShort", " 4 \r\n 1 \r\n 2 \r\n", {1, 2, 0, 0}},
                      DamagedCase{"ChoiceBeyondAliases", " 3 \r\n 1 \r\n 6 \r\n 2 \r\n", {1, 0, 2}},
                      DamagedCase{"NegativeChoice", " 2 \r\n-1 \r\n 2 \r\n", {0, 2}},
                      DamagedCase{"TextChoice", " 2 \r\n x \r\n 2 \r\n", {0, 2}}),
    [](const ::testing::TestParamInfo<DamagedCase>& info) { return info.param.name; });

TEST(AliasChoiceCount, FewerRecordsInTheFileLeaveTheRestAtZero) {
  AliasChoice choices = ChoicesOf({3, 1});
  choices.ResizeForRecords(5);
  EXPECT_EQ(choices.Count(), 5);
  EXPECT_EQ(choices.Get(1), 3);
  EXPECT_EQ(choices.Get(2), 1);
  EXPECT_EQ(choices.Get(5), 0);
  EXPECT_EQ(choices.Slots().size(), 5u + kSpareAliasSlots + 1);
  EXPECT_EQ(FormatPersonalSettings(choices), " 5 \r\n 3 \r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n");
}

TEST(AliasChoiceCount, MoreRecordsInTheFileAreCutAtTheNextSave) {
  AliasChoice choices = ChoicesOf({1, 2, 3, 4});
  choices.ResizeForRecords(2);
  EXPECT_EQ(choices.Count(), 2);
  EXPECT_EQ(choices.Get(3), 0);
  EXPECT_EQ(FormatPersonalSettings(choices), " 2 \r\n 1 \r\n 2 \r\n");
}

TEST(AliasChoiceCount, SetAndGetStayInsideTheRecords) {
  AliasChoice choices;
  choices.ResizeForRecords(3);
  EXPECT_TRUE(choices.Set(3, 2));
  EXPECT_EQ(choices.Get(3), 2);
  EXPECT_FALSE(choices.Set(0, 1));
  EXPECT_FALSE(choices.Set(4, 1));
  EXPECT_EQ(choices.Get(4), 0);
  EXPECT_EQ(choices.Get(-1), 0);
  EXPECT_EQ(choices.Slots()[3], 2);
}

TEST(AliasChoiceCount, ClearingWritesNZeros) {
  AliasChoice choices = ChoicesOf({1, 2, 3});
  choices.ResizeForRecords(3);
  choices.ClearAll();
  EXPECT_EQ(FormatPersonalSettings(choices), " 3 \r\n 0 \r\n 0 \r\n 0 \r\n");
}

TEST(PersonalSettingsFile, MissingFileIsAFirstRun) {
  ScratchFolder folder;
  PersonalSettingsRead read = LoadPersonalSettings(folder.Path());
  EXPECT_EQ(read.status, PersonalSettingsStatus::Missing);
  EXPECT_TRUE(read.choices.empty());
}

TEST(PersonalSettingsFile, SavesUnderTheExactNameAndReadsAnyCase) {
  ScratchFolder folder;
  folder.Write("wrenfold.per", " 2 \r\n 4 \r\n 1 \r\n");
  PersonalSettingsRead read = LoadPersonalSettings(folder.Path());
  EXPECT_EQ(read.status, PersonalSettingsStatus::Ok);
  EXPECT_EQ(read.choices, (std::vector<int16_t>{4, 1}));

  AliasChoice choices;
  choices.AssignFromFile(read.choices);
  choices.Set(1, 0);
  ASSERT_EQ(SavePersonalSettings(folder.Path(), choices), PersonalSettingsStatus::Ok);
  EXPECT_EQ(ScratchFolder::Read(folder / "Wrenfold.PER"), " 2 \r\n 0 \r\n 1 \r\n");
  // The exact name now wins over the other spelling.
  EXPECT_EQ(LoadPersonalSettings(folder.Path()).choices, (std::vector<int16_t>{0, 1}));
}

TEST(PersonalSettingsFile, ReadOnlyFileIsNotReplaced) {
  ScratchFolder folder;
  auto path = folder.Write("Wrenfold.PER", " 1 \r\n 3 \r\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  std::string detail;
  EXPECT_EQ(SavePersonalSettings(folder.Path(), ChoicesOf({0}), &detail),
            PersonalSettingsStatus::WriteFailed);
  EXPECT_FALSE(detail.empty());
  EXPECT_EQ(ScratchFolder::Read(path), " 1 \r\n 3 \r\n");
  EXPECT_EQ(folder.EntryCount(), 1);
}

TEST(PersonalSettingsFile, FolderInPlaceOfTheFileIsNeitherReadNorReplaced) {
  ScratchFolder folder;
  std::filesystem::create_directory(folder / "Wrenfold.PER");
  EXPECT_EQ(LoadPersonalSettings(folder.Path()).status, PersonalSettingsStatus::Missing);
  EXPECT_EQ(SavePersonalSettings(folder.Path(), ChoicesOf({1})),
            PersonalSettingsStatus::WriteFailed);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Wrenfold.PER"));
  EXPECT_EQ(folder.EntryCount(), 1);
}

}  // namespace
}  // namespace wrenfold
