// Bounded big-endian reading and writing of the database files: a read past the end fails
// instead of running off the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "frontend/model/data_file_error.h"
#include "frontend/model/db_text.h"

namespace wrenfold {

class DbByteReader {
 public:
  explicit DbByteReader(std::span<const uint8_t> bytes) : bytes(bytes) {}

  bool ReadByte(uint8_t& value);
  bool ReadBigEndian16(uint16_t& value);
  bool ReadBytes(uint8_t* out, size_t count);
  // A text field: a length byte, then that many bytes of GB text.
  bool ReadText(DbText& text);

  size_t Offset() const { return offset; }

 private:
  std::span<const uint8_t> bytes;
  size_t offset = 0;
};

void AppendBigEndian16(std::vector<uint8_t>& out, uint16_t value);
// False (and nothing appended) when the text does not fit its length byte.
bool AppendText(std::vector<uint8_t>& out, const DbText& text);

// A database file read whole into memory, or why it could not be.
struct DbFileBytes {
  DataFileError error = DataFileError::kNone;
  std::string bytes;
  std::span<const uint8_t> View() const {
    return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
  }
};
DbFileBytes ReadDbFile(const std::filesystem::path& path);

}  // namespace wrenfold
