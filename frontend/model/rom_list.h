// The ROM list: one entry per cartridge image of the ROM folder, identified against the
// recognition database, and the texts of its three columns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/model/data_file_error.h"
#include "frontend/model/recognition_db.h"
#include "frontend/model/rom_identification.h"
#include "frontend/model/rom_signature.h"

namespace wrenfold {

inline constexpr std::string_view kConflictChineseText = "ROM冲突";
inline constexpr std::string_view kConflictEnglishText = " ";
inline constexpr std::string_view kUnknownChineseText = "未知ROM";
inline constexpr std::string_view kUnknownEnglishText = "Unknown";

struct RomListEntry {
  int recordIndex = -1;  // the one matching record (index into the records), -1 for none
  std::string fileName;  // without the folder
  bool conflict = false;
  bool unknown = false;
  DataFileError fileError = DataFileError::kNone;  // why an unknown file has no fingerprint

  bool HasMatch() const { return recordIndex >= 0; }
  bool operator==(const RomListEntry&) const = default;
};

struct RomList {
  std::vector<RomListEntry> entries;  // list row r shows entries[r]
  int unknownCount = 0;
  bool noRomFiles = true;  // nothing to list (the folder may also be unreadable)
  bool folderUnreadable = false;
};

// Names of the regular files in folder whose name ends in extension (".nes"), compared without
// regard to case, sorted by name. Directories and special files are left out.
std::vector<std::string> ListFilesWithExtension(const std::filesystem::path& folder,
                                                std::string_view extension,
                                                bool* folderUnreadable = nullptr);

// Lists and identifies every ".nes" file of romFolder. A file that cannot be read, or is shorter
// than its header, is an unknown entry carrying the reason.
RomList BuildRomList(const std::filesystem::path& romFolder, const RecognitionIndex& index,
                     CalcCrcFunction calcCrc);

struct RomListRow {
  std::string fileName;
  std::string chineseColumn;
  std::string englishColumn;
};

// The texts one entry puts in the file-name, Chinese-name and English-name lists. The choices
// are the alias-choice slots (slot i for record i, 1-based).
RomListRow RomListRowTexts(const RomListEntry& entry, std::span<const RecognitionRecord> records,
                           std::span<const int16_t> aliasChoiceSlots);

// The caption of the selected entry's name label: English name, or Chinese name when
// showChineseName; empty for an entry without a match.
std::string NameLabelText(const RomListEntry& entry, std::span<const RecognitionRecord> records,
                          bool showChineseName);

// The record number (1-based, as in the file) an entry matched, -1 for none.
int MatchedRecordNumber(const RomListEntry& entry);

// The list shows 26 rows; from 27 entries on the scroll bar appears, its maximum entries - 1.
bool RomListNeedsScrollBar(size_t entryCount);

}  // namespace wrenfold
