#include "frontend/model/db_bytes.h"

#include <string_view>
#include <utility>

#include "frontend/model/file_access.h"

namespace wrenfold {

bool DbByteReader::ReadByte(uint8_t& value) {
  if (offset >= bytes.size()) return false;
  value = bytes[offset++];
  return true;
}

bool DbByteReader::ReadBigEndian16(uint16_t& value) {
  if (bytes.size() - offset < 2) return false;
  value = static_cast<uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
  offset += 2;
  return true;
}

bool DbByteReader::ReadBytes(uint8_t* out, size_t count) {
  if (bytes.size() - offset < count) return false;
  for (size_t i = 0; i < count; ++i) out[i] = bytes[offset + i];
  offset += count;
  return true;
}

bool DbByteReader::ReadText(DbText& text) {
  uint8_t length = 0;
  if (!ReadByte(length) || bytes.size() - offset < length) return false;
  text = DbText::FromGb(
      std::string_view(reinterpret_cast<const char*>(bytes.data() + offset), length));
  offset += length;
  return true;
}

void AppendBigEndian16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value & 0xFF));
}

bool AppendText(std::vector<uint8_t>& out, const DbText& text) {
  if (text.gb.size() > 255) return false;
  out.push_back(static_cast<uint8_t>(text.gb.size()));
  out.insert(out.end(), text.gb.begin(), text.gb.end());
  return true;
}

DbFileBytes ReadDbFile(const std::filesystem::path& path) {
  // Far above the largest file the formats can describe in sensible use (32767 records of
  // at most 1891 bytes), low enough that a stray huge file is refused.
  constexpr size_t kMaxDbFileBytes = 64u << 20;
  DbFileBytes file;
  TextFileRead read = ReadTextFile(path, kMaxDbFileBytes);
  switch (read.status) {
    case TextFileStatus::Ok:
      file.bytes = std::move(read.bytes);
      break;
    case TextFileStatus::Missing:
      file.error = DataFileError::kFileMissing;
      break;
    case TextFileStatus::Unreadable:
      file.error = DataFileError::kReadFailed;
      break;
    case TextFileStatus::TooLarge:
      file.error = DataFileError::kFileTooLarge;
      break;
  }
  return file;
}

}  // namespace wrenfold
