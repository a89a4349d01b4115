// CARTINFO.ENC, the encyclopedia: per game a set of tagged blocks (console type, language,
// marks, secrets, producer, game type, introduction, versions, region flags) and links to the
// recognition records it describes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "frontend/model/data_file_error.h"
#include "frontend/model/db_text.h"
#include "frontend/model/recognition_db.h"

namespace wrenfold {

inline constexpr std::string_view kEncyclopediaDbFileName = "CARTINFO.ENC";
inline constexpr std::string_view kEncyclopediaMagic = "Plumb";
inline constexpr size_t kMaxEncyclopediaEntries = 1024;
inline constexpr size_t kMaxSecrets = 32;

enum EncyclopediaTag : uint8_t {
  kTagEnd = 0,
  kTagLink = 1,           // 2 bytes: a record number (1-based) this entry describes; may repeat
  kTagConsoleType = 2,    // 1 byte: 1 NTSC, 2 PAL, 3 NTSC/PAL
  kTagGameLanguage = 3,   // 1 byte: 0 English, 1 Japanese, 2 Chinese
  kTagMarks = 4,          // 1 byte: bit 0 "精品", bit 1 "经典"
  kTagSecrets = 5,        // count byte n, then n texts "name：description"
  kTagPresence6 = 6,      // no payload
  kTagProducer = 7,       // one text
  kTagGameType = 8,       // 1 byte: GameTypeName code
  kTagPresence9 = 9,      // no payload
  kTagPresence10 = 10,    // no payload
  kTagIntroduction = 11,  // one text
  kTagRomVersion = 12,    // 1 byte: VersionName code
  kTagRegionFlags = 13,   // 2 bytes: region and variant flags
};
inline constexpr int kEncyclopediaTagLimit = 14;  // tags run from 1 to 13

struct EncyclopediaEntry {
  std::array<uint8_t, 2> sectionHead{0x03, 0x04};
  std::vector<uint16_t> links;  // record numbers, in file order
  uint8_t consoleType = 0;
  uint8_t gameLanguage = 0;
  uint8_t marks = 0;
  std::vector<DbText> secrets;
  DbText producer;
  uint8_t gameTypeCode = 0;
  DbText introduction;
  uint8_t romVersionCode = 0;
  uint16_t regionFlags = 0;
  std::array<bool, kEncyclopediaTagLimit> present{};  // indexed by tag
  // The tags in the order they are stored, when that is not CanonicalTagOrder (else empty).
  std::vector<uint8_t> tagOrder;

  bool Has(EncyclopediaTag tag) const { return present[tag]; }
  bool operator==(const EncyclopediaEntry&) const = default;
};

struct EncyclopediaDb {
  std::vector<EncyclopediaEntry> entries;  // entry number e (1-based) is entries[e - 1]
  bool operator==(const EncyclopediaDb&) const = default;
};

struct EncyclopediaLoadResult {
  DataFileError error = DataFileError::kNone;
  size_t errorOffset = 0;            // byte position where the fault was found
  std::vector<int> badSectionHeads;  // entries whose head matched neither byte; reading went on
};

// One link block per link, then every other present tag in ascending order.
std::vector<uint8_t> CanonicalTagOrder(const EncyclopediaEntry& entry);

// Reads the entries; on a fault keeps every entry read in full before it. More than 1024
// entries: the first 1024 are kept and kTooManyEntries is returned.
EncyclopediaLoadResult ParseEncyclopediaDb(std::span<const uint8_t> bytes, EncyclopediaDb& db);
EncyclopediaLoadResult LoadEncyclopediaDb(const std::filesystem::path& path, EncyclopediaDb& db);

// The file image; fails (leaving bytes empty) on anything the reader would refuse.
DataFileError SerializeEncyclopediaDb(const EncyclopediaDb& db, std::vector<uint8_t>& bytes);

// Sets the encyclopedia index of every linked record to the linking entry's number (a later
// link wins). Returns how many links name no record; those are ignored.
int LinkEncyclopediaEntries(const EncyclopediaDb& db, std::span<RecognitionRecord> records);

}  // namespace wrenfold
