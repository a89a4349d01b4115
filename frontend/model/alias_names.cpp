#include "frontend/model/alias_names.h"

#include <algorithm>

namespace wrenfold {

int16_t AliasChoiceOf(std::span<const int16_t> aliasChoiceSlots, int recordIndex) {
  const size_t slot = static_cast<size_t>(recordIndex) + 1;
  return recordIndex >= 0 && slot < aliasChoiceSlots.size() ? aliasChoiceSlots[slot] : 0;
}

const std::string& ChineseColumnName(const RecognitionRecord& record, int16_t choice) {
  if (choice >= 1 && choice - 1 <= record.aliasUpperIndex && choice - 1 < kMaxAliases)
    return record.aliases[choice - 1].utf8;
  return record.chineseName.utf8;
}

std::vector<AliasMenuItem> AliasMenuItems(const RecognitionRecord& record, int16_t currentChoice) {
  const int itemCount = std::min<int>(record.aliasUpperIndex, kMaxAliases - 1);
  std::vector<AliasMenuItem> items;
  for (int16_t choice = 0; choice <= itemCount && static_cast<int>(items.size()) < itemCount;
       ++choice) {
    if (choice == currentChoice) continue;
    items.push_back(
        {choice == 0 ? record.chineseName.utf8 : record.aliases[choice - 1].utf8, choice});
  }
  return items;
}

}  // namespace wrenfold
