#include "frontend/model/rom_filter.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/frontend/model/db_test_support.h"

namespace wrenfold {
namespace {

struct FilterCase {
  const char* filter;
  std::vector<bool> kept;  // contra.nes (known), MARIO.NES (known, alias chosen), odd.nes (unknown)
};

class RomFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(RomFilterTest, KeepsTheEntriesWhoseNamesHoldEveryWord) {
  RecognitionRecord contra = db_test::MakeRecord("魂斗罗", "Contra", RomSignature{});
  contra.aliasUpperIndex = 1;
  contra.aliases[1] = DbText::FromUtf8("赤色要塞外传");
  RecognitionRecord mario = db_test::MakeRecord("超级玛丽", "Super Mario Bros.", RomSignature{});
  mario.aliasUpperIndex = 1;
  mario.aliases[1] = DbText::FromUtf8("马里奥兄弟");
  const std::vector<RecognitionRecord> records = {contra, mario};
  // Record 2 shows its alias 1 in the Chinese-name column.
  const std::vector<int16_t> choices = {0, 0, 2};
  const std::vector<RomListEntry> entries = {RomListEntry{0, "contra.nes"},
                                             RomListEntry{1, "MARIO.NES"},
                                             RomListEntry{-1, "odd.nes", false, true}};
  for (std::size_t row = 0; row < entries.size(); ++row) {
    EXPECT_EQ(RomEntryMatchesFilter(entries[row], records, choices, GetParam().filter),
              GetParam().kept[row])
        << "row " << row << " for \"" << GetParam().filter << "\"";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Filters, RomFilterTest,
    ::testing::Values(FilterCase{"", {true, true, true}}, FilterCase{"  ", {true, true, true}},
                      FilterCase{"mario", {false, true, false}},          // file name, any case
                      FilterCase{"BROS", {false, true, false}},           // English name
                      FilterCase{"魂斗", {true, false, false}},           // Chinese name
                      FilterCase{"要塞", {true, false, false}},           // alias not shown
                      FilterCase{"马里奥", {false, true, false}},         // chosen alias
                      FilterCase{"super .nes", {false, true, false}},     // every word
                      FilterCase{"super contra", {false, false, false}},  // words in two games
                      FilterCase{"unknown", {false, false, true}},        // the row's own text
                      FilterCase{".NES", {true, true, true}},
                      FilterCase{"zelda", {false, false, false}}),
    [](const auto& info) { return "Filter" + std::to_string(info.index); });

}  // namespace
}  // namespace wrenfold
