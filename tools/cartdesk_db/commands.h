// The subcommands of cartdesk-db. Each takes the arguments after its name and returns the
// process exit code: 0 done, 1 wrong usage, 2 a file could not be read or written.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/cartdesk_db/db_json.h"

namespace wrenfold::cartdesk_db {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFailure = 2;

using Arguments = std::vector<std::string>;

int RunBuild(const Arguments& arguments);     // SOURCE.json OUTDIR
int RunDump(const Arguments& arguments);      // DBDIR
int RunIdentify(const Arguments& arguments);  // DIR [--db DBDIR]
int RunBench(const Arguments& arguments);     // [--files N] [--records M] [--seed S]

// Read NESROMS.ENC and CARTINFO.ENC from folder (names matched without case), telling every
// problem on standard error. False when a file is missing or damaged; what was read is kept.
bool LoadRecognition(const std::filesystem::path& folder, RecognitionDb& db);
bool LoadEncyclopedia(const std::filesystem::path& folder, EncyclopediaDb& db);
bool LoadDatabases(const std::filesystem::path& folder, Databases& databases);

}  // namespace wrenfold::cartdesk_db
