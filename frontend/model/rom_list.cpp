#include "frontend/model/rom_list.h"

#include <algorithm>
#include <system_error>

#include "frontend/model/alias_names.h"

namespace wrenfold {
namespace {

bool EndsWithIgnoringCase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(),
                    name.end() - static_cast<std::ptrdiff_t>(suffix.size()), [](char a, char b) {
                      auto lower = [](char c) {
                        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
                      };
                      return lower(a) == lower(b);
                    });
}

const RecognitionRecord* MatchedRecord(const RomListEntry& entry,
                                       std::span<const RecognitionRecord> records) {
  if (entry.recordIndex < 0 || static_cast<size_t>(entry.recordIndex) >= records.size())
    return nullptr;
  return &records[static_cast<size_t>(entry.recordIndex)];
}

}  // namespace

std::vector<std::string> ListFilesWithExtension(const std::filesystem::path& folder,
                                                std::string_view extension,
                                                bool* folderUnreadable) {
  std::vector<std::string> names;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (folderUnreadable != nullptr) *folderUnreadable = static_cast<bool>(error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code statusError;
    // Only regular files (or links to them): opening a pipe would wait forever.
    if (EndsWithIgnoringCase(name, extension) && it->is_regular_file(statusError))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

RomList BuildRomList(const std::filesystem::path& romFolder, const RecognitionIndex& index,
                     CalcCrcFunction calcCrc) {
  RomList list;
  const std::vector<std::string> names =
      ListFilesWithExtension(romFolder, ".nes", &list.folderUnreadable);
  list.noRomFiles = names.empty();
  for (const std::string& name : names) {
    RomListEntry entry;
    entry.fileName = name;
    const RomSignatureResult signature = ComputeRomSignature(romFolder / name, calcCrc);
    entry.fileError = signature.error;
    const RomIdentification identification = signature.error == DataFileError::kNone
                                                 ? index.Identify(signature.signature)
                                                 : RomIdentification{};
    entry.recordIndex = identification.recordIndex;
    entry.conflict = identification.match == RomMatch::kConflict;
    entry.unknown = identification.match == RomMatch::kUnknown;
    if (entry.unknown) ++list.unknownCount;
    list.entries.push_back(std::move(entry));
  }
  return list;
}

RomListRow RomListRowTexts(const RomListEntry& entry, std::span<const RecognitionRecord> records,
                           std::span<const int16_t> aliasChoiceSlots) {
  if (const RecognitionRecord* record = MatchedRecord(entry, records))
    return {entry.fileName,
            ChineseColumnName(*record, AliasChoiceOf(aliasChoiceSlots, entry.recordIndex)),
            record->englishName.utf8};
  if (entry.conflict)
    return {entry.fileName, std::string(kConflictChineseText), std::string(kConflictEnglishText)};
  return {entry.fileName, std::string(kUnknownChineseText), std::string(kUnknownEnglishText)};
}

std::string NameLabelText(const RomListEntry& entry, std::span<const RecognitionRecord> records,
                          bool showChineseName) {
  const RecognitionRecord* record = MatchedRecord(entry, records);
  if (record == nullptr) return {};
  return showChineseName ? record->chineseName.utf8 : record->englishName.utf8;
}

int MatchedRecordNumber(const RomListEntry& entry) {
  return entry.recordIndex >= 0 ? entry.recordIndex + 1 : -1;
}

bool RomListNeedsScrollBar(size_t entryCount) {
  return entryCount >= 27;
}

}  // namespace wrenfold
