#include <cstdio>
#include <string>

#include "files/file_lookup.h"
#include "frontend/model/rom_list.h"
#include "tools/cartdesk_db/commands.h"

namespace wrenfold::cartdesk_db {

int RunIdentify(const Arguments& arguments) {
  std::filesystem::path romFolder;
  std::filesystem::path dbFolder;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--db" && i + 1 < arguments.size()) {
      dbFolder = arguments[++i];
    } else if (romFolder.empty() && !arguments[i].starts_with("--")) {
      romFolder = arguments[i];
    } else {
      romFolder.clear();
      break;
    }
  }
  if (romFolder.empty()) {
    std::fputs("usage: cartdesk-db identify DIR [--db DBDIR]\n", stderr);
    return kExitUsage;
  }

  // Without --db the databases are looked for beside the images, as in a cartdesk library.
  if (dbFolder.empty()) dbFolder = romFolder;
  if (!LocateFileIgnoringCase(dbFolder, std::string(kRecognitionDbFileName))) {
    std::fprintf(stderr, "cartdesk-db: no %s in %s (name the database folder with --db DBDIR)\n",
                 std::string(kRecognitionDbFileName).c_str(), dbFolder.c_str());
    return kExitFailure;
  }

  RecognitionDb db;
  const bool complete = LoadRecognition(dbFolder, db);
  const std::vector<RecognitionRecord>& records = db.records;
  const RomList list = BuildRomList(romFolder, RecognitionIndex(records), InProcessCalcCrc);
  if (list.folderUnreadable) {
    std::fprintf(stderr, "cartdesk-db: cannot read the folder %s\n", romFolder.c_str());
    return kExitFailure;
  }
  // One tab-separated line per image: name, verdict, and for a known image its two names.
  for (const RomListEntry& entry : list.entries) {
    if (entry.HasMatch()) {
      const RecognitionRecord& record = records[static_cast<size_t>(entry.recordIndex)];
      std::printf("%s\tknown\t%s\t%s\n", entry.fileName.c_str(), record.englishName.utf8.c_str(),
                  record.chineseName.utf8.c_str());
    } else if (entry.conflict) {
      std::printf("%s\tconflict\n", entry.fileName.c_str());
    } else if (entry.fileError != DataFileError::kNone) {
      std::printf("%s\tunknown\t(%s)\n", entry.fileName.c_str(),
                  std::string(DataFileErrorText(entry.fileError).english).c_str());
    } else {
      std::printf("%s\tunknown\n", entry.fileName.c_str());
    }
  }
  return complete ? kExitOk : kExitFailure;
}

}  // namespace wrenfold::cartdesk_db
