#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/model/rom_list_sort.h"
#include "tests/frontend/model/db_test_support.h"

namespace wrenfold {
namespace {

using db_test::MakeRecord;
using db_test::SignatureFilledWith;

RomListEntry Known(int recordIndex, std::string fileName) {
  return {recordIndex, std::move(fileName), false, false, DataFileError::kNone};
}
RomListEntry Unknown(std::string fileName) {
  return {-1, std::move(fileName), false, true, DataFileError::kNone};
}
RomListEntry Conflict(std::string fileName) {
  return {-1, std::move(fileName), true, false, DataFileError::kNone};
}

std::vector<std::string> FileNames(const std::vector<RomListEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.fileName);
  return names;
}

class RomListSortTest : public ::testing::Test {
 protected:
  // Record 0 "b"/乙/mapper 4, record 1 "a"/甲/mapper 66, record 2 "B"/丙/mapper 1.
  std::vector<RecognitionRecord> records = {MakeRecord("乙", "b", SignatureFilledWith(1), 4),
                                            MakeRecord("甲", "a", SignatureFilledWith(2), 66),
                                            MakeRecord("丙", "B", SignatureFilledWith(3), 1)};
};

TEST_F(RomListSortTest, FileNameSortTakesEveryEntryByCharacterCode) {
  std::vector<RomListEntry> entries = {Known(0, "zelda.nes"), Unknown("Contra.nes"),
                                       Conflict("b.nes"), Known(1, "B.nes")};
  SortRomList(entries, records, RomListSortKey::kFileName);
  EXPECT_EQ(FileNames(entries),
            (std::vector<std::string>{"B.nes", "Contra.nes", "b.nes", "zelda.nes"}));
}

TEST_F(RomListSortTest, EnglishSortPutsUnmatchedEntriesLastInTheOrderTheExchangesLeave) {
  std::vector<RomListEntry> entries = {Unknown("u1"), Known(0, "kb"), Unknown("u2"), Known(1, "ka"),
                                       Conflict("c3")};
  SortRomList(entries, records, RomListSortKey::kEnglishName);
  // Position 1 swaps with every later entry while it holds an unmatched one, so the unmatched
  // entries come out rotated, not in their first order.
  EXPECT_EQ(FileNames(entries), (std::vector<std::string>{"ka", "kb", "c3", "u2", "u1"}));
}

TEST_F(RomListSortTest, EnglishSortIsCaseSensitive) {
  std::vector<RomListEntry> entries = {Known(0, "lower-b"), Known(1, "lower-a"),
                                       Known(2, "upper-B")};
  SortRomList(entries, records, RomListSortKey::kEnglishName);
  EXPECT_EQ(FileNames(entries), (std::vector<std::string>{"upper-B", "lower-a", "lower-b"}));
}

TEST_F(RomListSortTest, ChineseSortUsesTheRecordNameNotTheAlias) {
  records[1].aliasUpperIndex = 0;
  records[1].aliases[0] = DbText::FromUtf8("龟");
  std::vector<RomListEntry> entries = {Known(0, "yi"), Unknown("u"), Known(2, "bing"),
                                       Known(1, "jia")};
  SortRomList(entries, records, RomListSortKey::kChineseName);
  // 丙 U+4E19 < 乙 U+4E59 < 甲 U+7532.
  EXPECT_EQ(FileNames(entries), (std::vector<std::string>{"bing", "yi", "jia", "u"}));
}

TEST_F(RomListSortTest, MapperSortComparesNumbersByValue) {
  std::vector<RomListEntry> entries = {Known(1, "m66"), Conflict("c"), Known(0, "m4"),
                                       Known(2, "m1")};
  SortRomList(entries, records, RomListSortKey::kMapper);
  EXPECT_EQ(FileNames(entries), (std::vector<std::string>{"m1", "m4", "m66", "c"}));
}

TEST_F(RomListSortTest, SortingKeepsEveryEntry) {
  std::vector<RomListEntry> entries = {Unknown("u"), Known(2, "k2"), Conflict("c"), Known(0, "k0")};
  const auto before = entries;
  SortRomList(entries, records, RomListSortKey::kChineseName);
  EXPECT_TRUE(std::is_permutation(entries.begin(), entries.end(), before.begin(), before.end()));
}

}  // namespace
}  // namespace wrenfold
