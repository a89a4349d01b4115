// NESROMS.ENC, the recognition database: per known ROM image its 80-byte fingerprint, its
// correct iNES header, its Chinese and English names and its aliases.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/model/data_file_error.h"
#include "frontend/model/db_text.h"

namespace wrenfold {

inline constexpr std::string_view kRecognitionDbFileName = "NESROMS.ENC";
inline constexpr size_t kRomSignatureSize = 80;
inline constexpr int kMaxAliases = 5;
inline constexpr size_t kMaxRecognitionRecords = 0x7FFF;  // the count's top bit must be 0

using RomSignature = std::array<uint8_t, kRomSignatureSize>;
using InesHeaderBytes = std::array<uint8_t, 16>;

struct RecognitionRecord {
  uint16_t number = 0;  // stored in the file; the front-end does not use it
  RomSignature fingerprint{};
  InesHeaderBytes header{};  // the correct header of the ROM
  DbText chineseName;
  DbText englishName;
  uint16_t aliasUpperIndex = 0;  // k: aliases 0 to k are stored
  std::array<DbText, kMaxAliases> aliases;
  uint16_t encyclopediaIndex = 0;  // CARTINFO.ENC entry number, 0 = none (set by the linking)

  bool operator==(const RecognitionRecord&) const = default;
};

struct RecognitionDb {
  uint8_t versionByteA = 0;                // low 4 bits: major version; bit 7: unofficial database
  uint8_t versionByteB = 0;                // high 4 bits: minor version; low 4 bits: revision
  std::vector<RecognitionRecord> records;  // record i of the file (1-based) is records[i - 1]

  bool operator==(const RecognitionDb&) const = default;
};

struct RecognitionDbLoadResult {
  DataFileError error = DataFileError::kNone;
  size_t errorOffset = 0;  // byte position where the fault was found
};

// Reads the records; on a fault keeps every record read in full before it.
RecognitionDbLoadResult ParseRecognitionDb(std::span<const uint8_t> bytes, RecognitionDb& db);
RecognitionDbLoadResult LoadRecognitionDb(const std::filesystem::path& path, RecognitionDb& db);

// The file image; fails (leaving bytes empty) on a text over 255 bytes, an alias upper index
// over 4, a record number with the top bit set or more than 32767 records.
DataFileError SerializeRecognitionDb(const RecognitionDb& db, std::vector<uint8_t>& bytes);

// " 2. 1. 5" for bytes 0x02 0x15, " 2.00.00" for 0x02 0x00, " 非官方版本" added when bit 7 of A
// is set.
std::string DatabaseVersionText(uint8_t versionByteA, uint8_t versionByteB);

// The mapper number of the record's stored header (no "Dis" correction).
int GetMapper(const RecognitionRecord& record);

}  // namespace wrenfold
