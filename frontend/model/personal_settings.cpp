#include "frontend/model/personal_settings.h"

#include <algorithm>

#include "files/file_lookup.h"
#include "frontend/model/file_access.h"
#include "frontend/model/number_text.h"

namespace wrenfold {

namespace {

// Count line plus N lines of at most a few bytes each.
constexpr size_t kPersonalFileMaxBytes = 16 * (kLargestRecordCount + 2);

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',';
}

std::vector<std::string_view> SplitItems(std::string_view text) {
  std::vector<std::string_view> items;
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsSeparator(text[pos])) ++pos;
    size_t end = pos;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    if (end > pos) items.push_back(text.substr(pos, end - pos));
    pos = end;
  }
  return items;
}

}  // namespace

int16_t AliasChoice::Get(int record) const {
  return record >= 1 && record <= recordCount ? choiceSlots[static_cast<size_t>(record)] : 0;
}

bool AliasChoice::Set(int record, int16_t choice) {
  if (record < 1 || record > recordCount) return false;
  choiceSlots[static_cast<size_t>(record)] = choice;
  return true;
}

void AliasChoice::AssignFromFile(std::span<const int16_t> choices) {
  recordCount = static_cast<int>(choices.size());
  choiceSlots.assign(choices.size() + 1, 0);
  std::copy(choices.begin(), choices.end(), choiceSlots.begin() + 1);
}

void AliasChoice::ResizeForRecords(int newRecordCount) {
  newRecordCount = std::clamp(newRecordCount, 0, kLargestRecordCount);
  choiceSlots.resize(static_cast<size_t>(newRecordCount + kSpareAliasSlots + 1), 0);
  recordCount = newRecordCount;
}

void AliasChoice::ClearAll() {
  std::fill(choiceSlots.begin(), choiceSlots.begin() + recordCount + 1, 0);
}

std::span<const int16_t> AliasChoice::Choices() const {
  if (recordCount == 0) return {};
  return std::span<const int16_t>(choiceSlots).subspan(1, static_cast<size_t>(recordCount));
}

PersonalSettingsRead ParsePersonalSettings(std::string_view text) {
  PersonalSettingsRead read;
  read.status = PersonalSettingsStatus::Ok;
  std::vector<std::string_view> items = SplitItems(text);
  std::optional<int64_t> count = items.empty() ? std::nullopt : ParseWholeInteger(items[0]);
  if (!count || *count < 0 || *count > kLargestRecordCount + kSpareAliasSlots) {
    read.status = PersonalSettingsStatus::Damaged;
    return read;
  }
  read.choices.assign(static_cast<size_t>(*count), 0);
  for (size_t record = 1; record <= read.choices.size(); ++record) {
    if (record >= items.size()) {
      read.status = PersonalSettingsStatus::Damaged;  // cut short: the rest stay 0
      break;
    }
    std::optional<int64_t> choice = ParseWholeInteger(items[record]);
    if (!choice || *choice < 0 || *choice > kLargestAliasChoice) {
      read.status = PersonalSettingsStatus::Damaged;
      continue;
    }
    read.choices[record - 1] = static_cast<int16_t>(*choice);
  }
  return read;
}

std::string FormatPersonalSettings(const AliasChoice& choices) {
  std::string text = FormatSignedDecimal(choices.Count()) + " \r\n";
  for (int16_t choice : choices.Choices()) text += FormatSignedDecimal(choice) + " \r\n";
  return text;
}

PersonalSettingsRead LoadPersonalSettings(const std::filesystem::path& folder) {
  PersonalSettingsRead read;
  std::optional<std::filesystem::path> path =
      LocateFileIgnoringCase(folder, std::string(kPersonalSettingsFileName));
  if (!path) return read;  // Missing
  TextFileRead file = ReadTextFile(*path, kPersonalFileMaxBytes);
  switch (file.status) {
    case TextFileStatus::Ok:
      break;
    case TextFileStatus::Missing:
      return read;
    case TextFileStatus::Unreadable:
      read.status = PersonalSettingsStatus::Unreadable;
      read.detail = file.detail;
      return read;
    case TextFileStatus::TooLarge:
      read.status = PersonalSettingsStatus::Damaged;
      read.detail = file.detail;
      return read;
  }
  return ParsePersonalSettings(file.bytes);
}

PersonalSettingsStatus SavePersonalSettings(const std::filesystem::path& folder,
                                            const AliasChoice& choices, std::string* detail) {
  FileReplaceResult written =
      ReplaceFileContents(folder / std::filesystem::path(std::string(kPersonalSettingsFileName)),
                          FormatPersonalSettings(choices));
  if (detail) *detail = written.detail;
  return written.ok ? PersonalSettingsStatus::Ok : PersonalSettingsStatus::WriteFailed;
}

}  // namespace wrenfold
