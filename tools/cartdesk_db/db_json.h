// The readable form of the two databases: UTF-8 JSON that lists the records (by ROM file or by
// stored fingerprint) and the encyclopedia entries. `build` reads it, `dump` writes it.
//
//   {
//     "version": {"major": 2, "minor": 1, "revision": 5, "unofficial": false},
//     "records": [
//       {"number": 1, "rom": "roms/Contra (J).nes",            <- or "fingerprint": 160 hex digits
//        "header": "4E45531A...",                               <- optional with "rom"
//        "chineseName": "魂斗罗", "englishName": "Contra (J)",
//        "aliases": ["魂斗罗"],                                 <- 1 to 5, default: the Chinese
//        name "encyclopedia": {"producer": "Konami", ...}}           <- optional, an entry for this
//        record
//     ],
//     "encyclopedia": [
//       {"links": [1], "consoleType": 1, "gameLanguage": 1, "marks": 3, "secrets": ["无敌：..."],
//        "tag6": true, "producer": "Konami", "gameType": 1, "tag9": true, "tag10": true,
//        "introduction": "...", "romVersion": 1, "regionFlags": 3}
//     ]
//   }
//
// A text is a string, or {"gb": "hex bytes"} for stored bytes that are no clean GB text. Entries
// given inside records follow the top-level entries, in record order. "sectionHead" and
// "tagOrder" appear only where a file differs from the usual layout.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "frontend/model/encyclopedia_db.h"
#include "frontend/model/recognition_db.h"

namespace wrenfold::cartdesk_db {

using Json = nlohmann::ordered_json;

struct Databases {
  RecognitionDb recognition;
  EncyclopediaDb encyclopedia;
};

// A source that cannot be turned into databases; what() names the place ("records[3].aliases").
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a source; "rom" paths are relative to sourceFolder. Throws SourceError.
Databases DatabasesFromJson(const Json& source, const std::filesystem::path& sourceFolder);

Json DatabasesToJson(const Databases& databases);

}  // namespace wrenfold::cartdesk_db
