#include "frontend/model/encyclopedia_db.h"

#include <algorithm>

#include "frontend/model/db_bytes.h"

namespace wrenfold {
namespace {

// Reads the payload of one block into the entry; false with the error set on a fault.
bool ReadBlock(DbByteReader& reader, uint8_t tag, EncyclopediaEntry& entry, DataFileError& error) {
  error = DataFileError::kTruncated;
  switch (tag) {
    case kTagLink: {
      uint16_t link = 0;
      if (!reader.ReadBigEndian16(link)) return false;
      if (link & 0x8000) {
        error = DataFileError::kBadLink;
        return false;
      }
      entry.links.push_back(link);
      break;
    }
    case kTagConsoleType:
      if (!reader.ReadByte(entry.consoleType)) return false;
      break;
    case kTagGameLanguage:
      if (!reader.ReadByte(entry.gameLanguage)) return false;
      break;
    case kTagMarks:
      if (!reader.ReadByte(entry.marks)) return false;
      break;
    case kTagSecrets: {
      uint8_t count = 0;
      if (!reader.ReadByte(count)) return false;
      if (count > kMaxSecrets) {
        error = DataFileError::kTooManySecrets;
        return false;
      }
      entry.secrets.assign(count, DbText{});
      for (DbText& secret : entry.secrets)
        if (!reader.ReadText(secret)) return false;
      break;
    }
    case kTagProducer:
      if (!reader.ReadText(entry.producer)) return false;
      break;
    case kTagGameType:
      if (!reader.ReadByte(entry.gameTypeCode)) return false;
      break;
    case kTagIntroduction:
      if (!reader.ReadText(entry.introduction)) return false;
      break;
    case kTagRomVersion:
      if (!reader.ReadByte(entry.romVersionCode)) return false;
      break;
    case kTagRegionFlags:
      if (!reader.ReadBigEndian16(entry.regionFlags)) return false;
      break;
    case kTagPresence6:
    case kTagPresence9:
    case kTagPresence10:
      break;
    default:
      error = DataFileError::kBadTag;
      return false;
  }
  entry.present[tag] = true;
  entry.tagOrder.push_back(tag);
  error = DataFileError::kNone;
  return true;
}

bool WriteBlock(std::vector<uint8_t>& out, uint8_t tag, const EncyclopediaEntry& entry,
                size_t& nextLink) {
  out.push_back(tag);
  switch (tag) {
    case kTagLink:
      AppendBigEndian16(out, entry.links[nextLink++]);
      return true;
    case kTagConsoleType:
      out.push_back(entry.consoleType);
      return true;
    case kTagGameLanguage:
      out.push_back(entry.gameLanguage);
      return true;
    case kTagMarks:
      out.push_back(entry.marks);
      return true;
    case kTagSecrets: {
      out.push_back(static_cast<uint8_t>(entry.secrets.size()));
      bool fits = true;
      for (const DbText& secret : entry.secrets) fits = fits && AppendText(out, secret);
      return fits;
    }
    case kTagProducer:
      return AppendText(out, entry.producer);
    case kTagGameType:
      out.push_back(entry.gameTypeCode);
      return true;
    case kTagIntroduction:
      return AppendText(out, entry.introduction);
    case kTagRomVersion:
      out.push_back(entry.romVersionCode);
      return true;
    case kTagRegionFlags:
      AppendBigEndian16(out, entry.regionFlags);
      return true;
    default:
      return true;
  }
}

// The stored order must name every present tag, no absent one, and one link block per link.
bool TagOrderFits(const EncyclopediaEntry& entry, const std::vector<uint8_t>& order) {
  std::array<bool, kEncyclopediaTagLimit> named{};
  size_t linkBlocks = 0;
  for (uint8_t tag : order) {
    if (tag == kTagEnd || tag >= kEncyclopediaTagLimit) return false;
    named[tag] = true;
    if (tag == kTagLink) ++linkBlocks;
  }
  if (linkBlocks != entry.links.size()) return false;
  for (int tag = kTagConsoleType; tag < kEncyclopediaTagLimit; ++tag)
    if (named[tag] != entry.present[tag]) return false;
  return true;
}

}  // namespace

std::vector<uint8_t> CanonicalTagOrder(const EncyclopediaEntry& entry) {
  std::vector<uint8_t> order(entry.links.size(), kTagLink);
  for (uint8_t tag = kTagConsoleType; tag < kEncyclopediaTagLimit; ++tag)
    if (entry.present[tag]) order.push_back(tag);
  return order;
}

EncyclopediaLoadResult ParseEncyclopediaDb(std::span<const uint8_t> bytes, EncyclopediaDb& db) {
  db = EncyclopediaDb{};
  EncyclopediaLoadResult result;
  DbByteReader reader(bytes);
  uint8_t magic[5] = {};
  if (!reader.ReadBytes(magic, sizeof magic) ||
      std::string_view(reinterpret_cast<const char*>(magic), sizeof magic) != kEncyclopediaMagic) {
    result.error = DataFileError::kBadMagic;
    return result;
  }
  uint16_t count = 0;
  if (!reader.ReadBigEndian16(count)) {
    result.error = DataFileError::kTruncated;
    result.errorOffset = reader.Offset();
    return result;
  }
  if (count & 0x8000) {
    result.error = DataFileError::kBadCount;
    result.errorOffset = 5;
    return result;
  }

  const size_t usable = std::min<size_t>(count, kMaxEncyclopediaEntries);
  for (size_t e = 1; e <= usable; ++e) {
    EncyclopediaEntry entry;
    if (!reader.ReadBytes(entry.sectionHead.data(), 2)) {
      result.error = DataFileError::kTruncated;
      result.errorOffset = reader.Offset();
      return result;
    }
    if (entry.sectionHead[0] != 0x03 && entry.sectionHead[1] != 0x04)
      result.badSectionHeads.push_back(static_cast<int>(e));
    for (;;) {
      const size_t blockStart = reader.Offset();
      uint8_t tag = 0;
      if (!reader.ReadByte(tag)) {
        result.error = DataFileError::kTruncated;
        result.errorOffset = reader.Offset();
        return result;
      }
      if (tag == kTagEnd) break;
      DataFileError error = DataFileError::kNone;
      if (!ReadBlock(reader, tag, entry, error)) {
        result.error = error;
        result.errorOffset = error == DataFileError::kTruncated ? reader.Offset() : blockStart;
        return result;
      }
    }
    if (entry.tagOrder == CanonicalTagOrder(entry)) entry.tagOrder.clear();
    db.entries.push_back(std::move(entry));
  }
  if (count > kMaxEncyclopediaEntries) {
    result.error = DataFileError::kTooManyEntries;
    result.errorOffset = reader.Offset();
  }
  return result;
}

EncyclopediaLoadResult LoadEncyclopediaDb(const std::filesystem::path& path, EncyclopediaDb& db) {
  db = EncyclopediaDb{};
  const DbFileBytes file = ReadDbFile(path);
  if (file.error != DataFileError::kNone) {
    EncyclopediaLoadResult result;
    result.error = file.error;
    return result;
  }
  return ParseEncyclopediaDb(file.View(), db);
}

DataFileError SerializeEncyclopediaDb(const EncyclopediaDb& db, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (db.entries.size() > kMaxEncyclopediaEntries) return DataFileError::kTooManyEntries;
  std::vector<uint8_t> out(kEncyclopediaMagic.begin(), kEncyclopediaMagic.end());
  AppendBigEndian16(out, static_cast<uint16_t>(db.entries.size()));
  for (const EncyclopediaEntry& entry : db.entries) {
    if (entry.secrets.size() > kMaxSecrets) return DataFileError::kTooManySecrets;
    for (uint16_t link : entry.links)
      if (link & 0x8000) return DataFileError::kBadLink;
    const std::vector<uint8_t> order =
        entry.tagOrder.empty() ? CanonicalTagOrder(entry) : entry.tagOrder;
    if (!TagOrderFits(entry, order)) return DataFileError::kBadTag;
    out.insert(out.end(), entry.sectionHead.begin(), entry.sectionHead.end());
    size_t nextLink = 0;
    for (uint8_t tag : order)
      if (!WriteBlock(out, tag, entry, nextLink)) return DataFileError::kTextTooLong;
    out.push_back(kTagEnd);
  }
  bytes = std::move(out);
  return DataFileError::kNone;
}

int LinkEncyclopediaEntries(const EncyclopediaDb& db, std::span<RecognitionRecord> records) {
  int unmatched = 0;
  for (size_t e = 0; e < db.entries.size(); ++e) {
    for (uint16_t link : db.entries[e].links) {
      if (link == 0 || link > records.size()) {
        ++unmatched;
        continue;
      }
      records[link - 1].encyclopediaIndex = static_cast<uint16_t>(e + 1);
    }
  }
  return unmatched;
}

}  // namespace wrenfold
