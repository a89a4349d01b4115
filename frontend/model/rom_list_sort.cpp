#include "frontend/model/rom_list_sort.h"

#include <utility>

namespace wrenfold {
namespace {

bool HasRecord(const RomListEntry& entry, std::span<const RecognitionRecord> records) {
  return entry.recordIndex >= 0 && static_cast<size_t>(entry.recordIndex) < records.size();
}

// Whether the entry at p goes behind the entry at q.
bool ShouldSwap(const RomListEntry& p, const RomListEntry& q,
                std::span<const RecognitionRecord> records, RomListSortKey key) {
  if (key == RomListSortKey::kFileName) return p.fileName > q.fileName;
  if (!HasRecord(p, records)) return true;
  if (!HasRecord(q, records)) return false;
  const RecognitionRecord& a = records[static_cast<size_t>(p.recordIndex)];
  const RecognitionRecord& b = records[static_cast<size_t>(q.recordIndex)];
  switch (key) {
    // UTF-8 byte order is code-point order, which is the order of the characters' codes.
    case RomListSortKey::kChineseName:
      return a.chineseName.utf8 > b.chineseName.utf8;
    case RomListSortKey::kEnglishName:
      return a.englishName.utf8 > b.englishName.utf8;
    case RomListSortKey::kMapper:
      return GetMapper(a) > GetMapper(b);
    case RomListSortKey::kFileName:
      break;
  }
  return false;
}

}  // namespace

void SortRomList(std::vector<RomListEntry>& entries, std::span<const RecognitionRecord> records,
                 RomListSortKey key) {
  for (size_t p = 0; p < entries.size(); ++p)
    for (size_t q = p + 1; q < entries.size(); ++q)
      if (ShouldSwap(entries[p], entries[q], records, key)) std::swap(entries[p], entries[q]);
}

}  // namespace wrenfold
