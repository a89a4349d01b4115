// The name shown in the Chinese-name column: the record's Chinese name or the alias the user
// chose for it. A choice is 0 for the default name and j + 1 for alias j.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "frontend/model/recognition_db.h"

namespace wrenfold {

// The choice of record recordIndex (0-based) from the alias-choice slots, where slot i belongs
// to record i of the file (1-based) and slot 0 is unused; 0 when there is no such slot.
int16_t AliasChoiceOf(std::span<const int16_t> aliasChoiceSlots, int recordIndex);

// The default Chinese name for choice 0, or for a choice naming no stored alias.
const std::string& ChineseColumnName(const RecognitionRecord& record, int16_t choice);

struct AliasMenuItem {
  std::string text;
  int16_t choice = 0;
};

// The popup menu of the Chinese-name column: the default name and aliases 0 to k - 1 (k = the
// alias upper index), without the one now shown, at most k items. Empty when k is 0.
std::vector<AliasMenuItem> AliasMenuItems(const RecognitionRecord& record, int16_t currentChoice);

}  // namespace wrenfold
