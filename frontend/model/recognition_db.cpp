#include "frontend/model/recognition_db.h"

#include <algorithm>

#include "frontend/model/db_bytes.h"
#include "frontend/model/number_text.h"

namespace wrenfold {
namespace {

bool ReadRecord(DbByteReader& reader, RecognitionRecord& record, DataFileError& error) {
  error = DataFileError::kTruncated;
  uint8_t aliasCount = 0;
  if (!reader.ReadBigEndian16(record.number)) return false;
  if (record.number & 0x8000) {
    error = DataFileError::kBadRecordNumber;
    return false;
  }
  if (!reader.ReadBytes(record.fingerprint.data(), record.fingerprint.size()) ||
      !reader.ReadBytes(record.header.data(), record.header.size()) ||
      !reader.ReadText(record.chineseName) || !reader.ReadText(record.englishName) ||
      !reader.ReadByte(aliasCount))
    return false;
  if (aliasCount >= kMaxAliases) {
    error = DataFileError::kBadAliasCount;
    return false;
  }
  record.aliasUpperIndex = aliasCount;
  for (int alias = 0; alias <= aliasCount; ++alias)
    if (!reader.ReadText(record.aliases[alias])) return false;
  record.encyclopediaIndex = 0;
  error = DataFileError::kNone;
  return true;
}

}  // namespace

RecognitionDbLoadResult ParseRecognitionDb(std::span<const uint8_t> bytes, RecognitionDb& db) {
  db = RecognitionDb{};
  DbByteReader reader(bytes);
  uint16_t count = 0;
  if (!reader.ReadBigEndian16(count) || !reader.ReadByte(db.versionByteA) ||
      !reader.ReadByte(db.versionByteB))
    return {DataFileError::kTruncated, reader.Offset()};
  if (count & 0x8000) return {DataFileError::kBadCount, 0};

  // Reserve no more than the bytes could hold: a record is at least 103 bytes.
  db.records.reserve(std::min<size_t>(count, bytes.size() / 103));
  for (uint16_t i = 0; i < count; ++i) {
    const size_t recordStart = reader.Offset();
    RecognitionRecord record;
    DataFileError error = DataFileError::kNone;
    if (!ReadRecord(reader, record, error))
      return {error, error == DataFileError::kTruncated ? reader.Offset() : recordStart};
    db.records.push_back(std::move(record));
  }
  return {};
}

RecognitionDbLoadResult LoadRecognitionDb(const std::filesystem::path& path, RecognitionDb& db) {
  db = RecognitionDb{};
  const DbFileBytes file = ReadDbFile(path);
  if (file.error != DataFileError::kNone) return {file.error, 0};
  return ParseRecognitionDb(file.View(), db);
}

DataFileError SerializeRecognitionDb(const RecognitionDb& db, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (db.records.size() > kMaxRecognitionRecords) return DataFileError::kTooManyRecords;
  std::vector<uint8_t> out;
  AppendBigEndian16(out, static_cast<uint16_t>(db.records.size()));
  out.push_back(db.versionByteA);
  out.push_back(db.versionByteB);
  for (const RecognitionRecord& record : db.records) {
    if (record.number & 0x8000) return DataFileError::kBadRecordNumber;
    if (record.aliasUpperIndex >= kMaxAliases) return DataFileError::kBadAliasCount;
    AppendBigEndian16(out, record.number);
    out.insert(out.end(), record.fingerprint.begin(), record.fingerprint.end());
    out.insert(out.end(), record.header.begin(), record.header.end());
    bool textsFit = AppendText(out, record.chineseName) && AppendText(out, record.englishName);
    out.push_back(static_cast<uint8_t>(record.aliasUpperIndex));
    for (int alias = 0; alias <= record.aliasUpperIndex; ++alias)
      textsFit = textsFit && AppendText(out, record.aliases[alias]);
    if (!textsFit) return DataFileError::kTextTooLong;
  }
  bytes = std::move(out);
  return DataFileError::kNone;
}

std::string DatabaseVersionText(uint8_t versionByteA, uint8_t versionByteB) {
  std::string text = FormatSignedDecimal(versionByteA & 0x0F) + ".";
  text += versionByteB < 16 ? "00" : FormatSignedDecimal(versionByteB >> 4);
  text += ".";
  text += (versionByteB & 0x0F) == 0 ? "00" : FormatSignedDecimal(versionByteB & 0x0F);
  if (versionByteA & 0x80) text += " 非官方版本";
  return text;
}

int GetMapper(const RecognitionRecord& record) {
  return ((record.header[6] & 0xF0) >> 4) | (record.header[7] & 0xF0);
}

}  // namespace wrenfold
