#include <cstdio>

#include "files/file_lookup.h"
#include "tools/cartdesk_db/commands.h"

namespace wrenfold::cartdesk_db {
namespace {

void Report(const std::filesystem::path& path, DataFileError error, size_t offset) {
  const std::string_view messageId = DataFileErrorMessageId(error);
  std::fprintf(stderr, "cartdesk-db: %s: %s (%.*s, at byte %zu)\n", path.c_str(),
               std::string(DataFileErrorText(error).english).c_str(),
               static_cast<int>(messageId.size()), messageId.data(), offset);
}

std::filesystem::path DatabasePath(const std::filesystem::path& folder, std::string_view name) {
  return LocateFileIgnoringCase(folder, std::string(name)).value_or(folder / name);
}

}  // namespace

bool LoadRecognition(const std::filesystem::path& folder, RecognitionDb& db) {
  const std::filesystem::path path = DatabasePath(folder, kRecognitionDbFileName);
  const RecognitionDbLoadResult result = LoadRecognitionDb(path, db);
  if (result.error != DataFileError::kNone) Report(path, result.error, result.errorOffset);
  return result.error == DataFileError::kNone;
}

bool LoadEncyclopedia(const std::filesystem::path& folder, EncyclopediaDb& db) {
  const std::filesystem::path path = DatabasePath(folder, kEncyclopediaDbFileName);
  const EncyclopediaLoadResult result = LoadEncyclopediaDb(path, db);
  for (int entry : result.badSectionHeads)
    std::fprintf(stderr, "cartdesk-db: %s: entry %d has a damaged section head\n", path.c_str(),
                 entry);
  if (result.error != DataFileError::kNone) Report(path, result.error, result.errorOffset);
  return result.error == DataFileError::kNone;
}

bool LoadDatabases(const std::filesystem::path& folder, Databases& databases) {
  const bool recognitionRead = LoadRecognition(folder, databases.recognition);
  const bool encyclopediaRead = LoadEncyclopedia(folder, databases.encyclopedia);
  return recognitionRead && encyclopediaRead;
}

}  // namespace wrenfold::cartdesk_db
