#include "frontend/model/rom_filter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace wrenfold {
namespace {

// Only ASCII letters have a case; bytes of multi-byte characters are left alone.
std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::vector<std::string> Words(std::string_view filter) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start < filter.size()) {
    const std::size_t end = std::min(filter.find_first_of(" \t", start), filter.size());
    if (end > start) words.push_back(FoldCase(filter.substr(start, end - start)));
    start = end + 1;
  }
  return words;
}

}  // namespace

bool RomEntryMatchesFilter(const RomListEntry& entry, std::span<const RecognitionRecord> records,
                           std::span<const int16_t> aliasChoiceSlots, std::string_view filter) {
  const std::vector<std::string> words = Words(filter);
  if (words.empty()) return true;
  const RomListRow row = RomListRowTexts(entry, records, aliasChoiceSlots);
  std::vector<std::string> names = {FoldCase(entry.fileName), FoldCase(row.chineseColumn),
                                    FoldCase(row.englishColumn)};
  if (entry.HasMatch() && static_cast<std::size_t>(entry.recordIndex) < records.size()) {
    const RecognitionRecord& record = records[static_cast<std::size_t>(entry.recordIndex)];
    names.push_back(FoldCase(record.chineseName.utf8));
    names.push_back(FoldCase(record.englishName.utf8));
    for (std::size_t alias = 0;
         alias <= record.aliasUpperIndex && alias < static_cast<std::size_t>(kMaxAliases);
         ++alias) {
      names.push_back(FoldCase(record.aliases[alias].utf8));
    }
  }
  return std::ranges::all_of(words, [&](const std::string& word) {
    return std::ranges::any_of(
        names, [&](const std::string& name) { return name.find(word) != std::string::npos; });
  });
}

}  // namespace wrenfold
