#include "frontend/model/rom_list.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "frontend/model/alias_names.h"
#include "frontend/model/rom_identification.h"
#include "tests/frontend/model/db_test_support.h"

namespace wrenfold {
namespace {

using db_test::MakeRecord;
using db_test::MakeRomImage;
using db_test::SignatureFilledWith;

RomSignature FingerprintOf(const std::filesystem::path& path) {
  const RomSignatureResult result = ComputeRomSignature(path, InProcessCalcCrc);
  EXPECT_EQ(result.error, DataFileError::kNone) << path;
  return result.signature;
}

TEST(RomListTest, ListsRomFilesByNameAndIdentifiesEachOne) {
  testing::ScratchFolder folder;
  db_test::WriteBytes(folder / "b.NES", MakeRomImage(1, 1, false, 2));
  db_test::WriteBytes(folder / "a.nes", MakeRomImage(2, 1, false, 1));
  db_test::WriteBytes(folder / "c.Nes", MakeRomImage(1, 0, true, 3));
  db_test::WriteBytes(folder / "short.nes", {'N', 'E', 'S'});
  db_test::WriteBytes(folder / "notes.txt", {1, 2, 3});
  std::filesystem::create_directory(folder / "folder.nes");

  std::vector<RecognitionRecord> records = {
      MakeRecord("甲", "Alpha", FingerprintOf(folder / "a.nes")),
      MakeRecord("乙", "Beta", FingerprintOf(folder / "b.NES")),
      MakeRecord("丙", "Beta again", FingerprintOf(folder / "b.NES")),
      MakeRecord("丁", "Other", SignatureFilledWith(9)),
  };
  const RomList list = BuildRomList(folder.Path(), RecognitionIndex(records), InProcessCalcCrc);

  EXPECT_FALSE(list.noRomFiles);
  ASSERT_EQ(list.entries.size(), 4u);
  EXPECT_EQ(list.entries[0], (RomListEntry{0, "a.nes", false, false, DataFileError::kNone}));
  EXPECT_EQ(list.entries[1], (RomListEntry{-1, "b.NES", true, false, DataFileError::kNone}));
  EXPECT_EQ(list.entries[2], (RomListEntry{-1, "c.Nes", false, true, DataFileError::kNone}));
  EXPECT_EQ(list.entries[3],
            (RomListEntry{-1, "short.nes", false, true, DataFileError::kRomTooShort}));
  EXPECT_EQ(list.unknownCount, 2);
}

TEST(RomListTest, EmptyOrMissingFolderListsNothing) {
  testing::ScratchFolder folder;
  std::vector<RecognitionRecord> records;
  const RomList empty = BuildRomList(folder.Path(), RecognitionIndex(records), InProcessCalcCrc);
  EXPECT_TRUE(empty.noRomFiles);
  EXPECT_FALSE(empty.folderUnreadable);
  const RomList missing =
      BuildRomList(folder / "gone", RecognitionIndex(records), InProcessCalcCrc);
  EXPECT_TRUE(missing.noRomFiles);
  EXPECT_TRUE(missing.folderUnreadable);
  EXPECT_EQ(missing.unknownCount, 0);
}

TEST(RecognitionIndexTest, AnswersAsTheFullScanDoesIncludingConflicts) {
  std::mt19937 random(4);
  std::vector<RecognitionRecord> records;
  for (int i = 0; i < 300; ++i)
    records.push_back(
        MakeRecord("名", "Name", SignatureFilledWith(static_cast<uint8_t>(random() % 200))));
  const RecognitionIndex index(records);
  int conflicts = 0;
  for (int value = 0; value < 256; ++value) {
    const RomSignature signature = SignatureFilledWith(static_cast<uint8_t>(value));
    const RomIdentification fromIndex = index.Identify(signature);
    const RomIdentification fromScan = IdentifyByScan(records, signature);
    EXPECT_EQ(fromIndex.match, fromScan.match) << value;
    EXPECT_EQ(fromIndex.recordIndex, fromScan.recordIndex) << value;
    conflicts += fromScan.match == RomMatch::kConflict;
  }
  EXPECT_GT(conflicts, 0);
}

TEST(RecognitionIndexTest, TwoRecordsWithOneFingerprintConflictWhateverTheirNames) {
  std::vector<RecognitionRecord> records = {MakeRecord("甲", "A", SignatureFilledWith(1)),
                                            MakeRecord("甲", "A", SignatureFilledWith(1)),
                                            MakeRecord("乙", "B", SignatureFilledWith(2))};
  const RecognitionIndex index(records);
  EXPECT_EQ(index.Identify(SignatureFilledWith(1)).match, RomMatch::kConflict);
  EXPECT_EQ(index.Identify(SignatureFilledWith(1)).recordIndex, -1);
  EXPECT_EQ(index.Identify(SignatureFilledWith(2)).recordIndex, 2);
  EXPECT_EQ(index.Identify(SignatureFilledWith(3)).match, RomMatch::kUnknown);
}

class RomListRowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecognitionRecord mario = MakeRecord("超级马里奥", "Super Mario Bros.", SignatureFilledWith(1));
    mario.aliasUpperIndex = 2;
    mario.aliases[0] = DbText::FromUtf8("马里奥");
    mario.aliases[1] = DbText::FromUtf8("超级玛莉");
    mario.aliases[2] = DbText::FromUtf8("玛莉");
    records = {MakeRecord("魂斗罗", "Contra", SignatureFilledWith(2)), mario};
  }
  std::vector<RecognitionRecord> records;
};

TEST_F(RomListRowTest, KnownEntriesShowNamesAndTheChosenAlias) {
  const RomListEntry known{1, "smb.nes", false, false, DataFileError::kNone};
  // Slot i belongs to record i (1-based): slot 2 is record index 1.
  const std::vector<int16_t> slots = {0, 0, 2};
  const RomListRow row = RomListRowTexts(known, records, slots);
  EXPECT_EQ(row.fileName, "smb.nes");
  EXPECT_EQ(row.englishColumn, "Super Mario Bros.");
  EXPECT_EQ(row.chineseColumn, "超级玛莉");
  EXPECT_EQ(RomListRowTexts(known, records, {}).chineseColumn, "超级马里奥");
  const std::vector<int16_t> beyondTheAliases = {0, 0, 5};
  EXPECT_EQ(RomListRowTexts(known, records, beyondTheAliases).chineseColumn, "超级马里奥");
}

TEST_F(RomListRowTest, ConflictAndUnknownEntriesShowTheirMarks) {
  const RomListRow conflict =
      RomListRowTexts({-1, "x.nes", true, false, DataFileError::kNone}, records, {});
  EXPECT_EQ(conflict.englishColumn, " ");
  EXPECT_EQ(conflict.chineseColumn, "ROM冲突");
  const RomListRow unknown =
      RomListRowTexts({-1, "y.nes", false, true, DataFileError::kNone}, records, {});
  EXPECT_EQ(unknown.englishColumn, "Unknown");
  EXPECT_EQ(unknown.chineseColumn, "未知ROM");
}

TEST_F(RomListRowTest, NameLabelShowsTheChosenLanguageOrNothing) {
  const RomListEntry known{0, "c.nes", false, false, DataFileError::kNone};
  EXPECT_EQ(NameLabelText(known, records, false), "Contra");
  EXPECT_EQ(NameLabelText(known, records, true), "魂斗罗");
  EXPECT_EQ(NameLabelText({-1, "u.nes", false, true, DataFileError::kNone}, records, false), "");
  EXPECT_EQ(MatchedRecordNumber(known), 1);
  EXPECT_EQ(MatchedRecordNumber({-1, "u.nes", false, true, DataFileError::kNone}), -1);
}

TEST_F(RomListRowTest, AliasMenuOffersTheOtherNamesWithTheirChoices) {
  const RecognitionRecord& mario = records[1];
  auto texts = [](const std::vector<AliasMenuItem>& items) {
    std::vector<std::pair<std::string, int>> result;
    for (const auto& item : items) result.emplace_back(item.text, item.choice);
    return result;
  };
  using Items = std::vector<std::pair<std::string, int>>;
  EXPECT_EQ(texts(AliasMenuItems(mario, 0)), (Items{{"马里奥", 1}, {"超级玛莉", 2}}));
  EXPECT_EQ(texts(AliasMenuItems(mario, 1)), (Items{{"超级马里奥", 0}, {"超级玛莉", 2}}));
  // Alias 2 (the last stored) is shown but not offered; the menu still has two items.
  EXPECT_EQ(texts(AliasMenuItems(mario, 3)), (Items{{"超级马里奥", 0}, {"马里奥", 1}}));
  EXPECT_TRUE(AliasMenuItems(records[0], 0).empty());
}

TEST(RomListTest, ScrollBarAppearsFrom27Entries) {
  EXPECT_FALSE(RomListNeedsScrollBar(26));
  EXPECT_TRUE(RomListNeedsScrollBar(27));
}

}  // namespace
}  // namespace wrenfold
