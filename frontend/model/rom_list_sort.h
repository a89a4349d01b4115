// Re-ordering the ROM list by one of its columns or by mapper number.
#pragma once

#include <span>
#include <vector>

#include "frontend/model/recognition_db.h"
#include "frontend/model/rom_list.h"

namespace wrenfold {

enum class RomListSortKey {
  kFileName,     // every entry sorted by file name
  kChineseName,  // the record's Chinese name (not the chosen alias); entries without a match last
  kEnglishName,  // the record's English name; entries without a match last
  kMapper,       // GetMapper of the record; entries without a match last
};

// An exchange sort: each position in turn is compared with every later one and swapped when it
// is greater, or (for the record keys) when it has no match. Ties and the entries without a match
// end in the order those exchanges leave them. Text compares by character code, case-sensitive.
void SortRomList(std::vector<RomListEntry>& entries, std::span<const RecognitionRecord> records,
                 RomListSortKey key);

}  // namespace wrenfold
