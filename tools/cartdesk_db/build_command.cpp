#include <cstdio>
#include <string>

#include "frontend/model/file_access.h"
#include "tools/cartdesk_db/commands.h"

namespace wrenfold::cartdesk_db {
namespace {

// A JSON source describes at most two databases of 64 MB each, with room for its own syntax.
constexpr size_t kMaxSourceBytes = 256u << 20;

bool WriteDatabaseFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  const FileReplaceResult result = ReplaceFileContents(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (!result.ok)
    std::fprintf(stderr, "cartdesk-db: cannot write %s: %s\n", path.c_str(), result.detail.c_str());
  return result.ok;
}

bool Serialize(const Databases& databases, std::vector<uint8_t>& recognition,
               std::vector<uint8_t>& encyclopedia) {
  DataFileError error = SerializeRecognitionDb(databases.recognition, recognition);
  if (error == DataFileError::kNone)
    error = SerializeEncyclopediaDb(databases.encyclopedia, encyclopedia);
  if (error != DataFileError::kNone)
    std::fprintf(stderr, "cartdesk-db: %s\n",
                 std::string(DataFileErrorText(error).english).c_str());
  return error == DataFileError::kNone;
}

}  // namespace

int RunBuild(const Arguments& arguments) {
  if (arguments.size() != 2) {
    std::fputs("usage: cartdesk-db build SOURCE.json OUTDIR\n", stderr);
    return kExitUsage;
  }
  const std::filesystem::path sourcePath = arguments[0];
  const std::filesystem::path outFolder = arguments[1];
  const TextFileRead source = ReadTextFile(sourcePath, kMaxSourceBytes);
  if (source.status != TextFileStatus::Ok) {
    std::fprintf(stderr, "cartdesk-db: cannot open %s\n", sourcePath.c_str());
    return kExitFailure;
  }

  Databases databases;
  try {
    databases = DatabasesFromJson(Json::parse(source.bytes), sourcePath.parent_path());
  } catch (const Json::exception& error) {
    std::fprintf(stderr, "cartdesk-db: %s: %s\n", sourcePath.c_str(), error.what());
    return kExitFailure;
  } catch (const SourceError& error) {
    std::fprintf(stderr, "cartdesk-db: %s: %s\n", sourcePath.c_str(), error.what());
    return kExitFailure;
  }

  std::vector<uint8_t> recognition;
  std::vector<uint8_t> encyclopedia;
  if (!Serialize(databases, recognition, encyclopedia)) return kExitFailure;
  std::error_code error;
  std::filesystem::create_directories(outFolder, error);
  if (!WriteDatabaseFile(outFolder / kRecognitionDbFileName, recognition) ||
      !WriteDatabaseFile(outFolder / kEncyclopediaDbFileName, encyclopedia))
    return kExitFailure;
  std::printf("%zu records, %zu encyclopedia entries written to %s\n",
              databases.recognition.records.size(), databases.encyclopedia.entries.size(),
              outFolder.c_str());
  return kExitOk;
}

int RunDump(const Arguments& arguments) {
  if (arguments.size() != 1) {
    std::fputs("usage: cartdesk-db dump DBDIR\n", stderr);
    return kExitUsage;
  }
  Databases databases;
  const bool complete = LoadDatabases(arguments[0], databases);
  // What could be read is printed even from a damaged database, so that it can be mended.
  std::fputs(DatabasesToJson(databases).dump(2).c_str(), stdout);
  std::fputs("\n", stdout);
  return complete ? kExitOk : kExitFailure;
}

}  // namespace wrenfold::cartdesk_db
