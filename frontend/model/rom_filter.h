// The ROM list filter: which listed files stay visible for the words typed in the filter box.
#pragma once

#include <span>
#include <string_view>

#include "frontend/model/recognition_db.h"
#include "frontend/model/rom_list.h"

namespace wrenfold {

// True when every blank-separated word of `filter` (UTF-8) is found in one of the entry's
// names: its file name, the texts its row shows, and for a known file the record's Chinese
// and English names and every alias. Letters A-Z match without regard to case. An empty
// filter keeps every entry.
bool RomEntryMatchesFilter(const RomListEntry& entry, std::span<const RecognitionRecord> records,
                           std::span<const int16_t> aliasChoiceSlots, std::string_view filter);

}  // namespace wrenfold
