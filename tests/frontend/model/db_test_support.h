// Helpers of the database and ROM-list tests: synthesised cartridge images and database records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string_view>
#include <vector>

#include "frontend/model/recognition_db.h"
#include "tests/frontend/model/scratch_folder.h"

namespace wrenfold::db_test {

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// An iNES image with varied data bytes (so sampled bytes and checksums differ between seeds).
inline std::vector<uint8_t> MakeRomImage(int prgUnits, int chrUnits, bool trainer, uint32_t seed) {
  const size_t dataLength = prgUnits * 16384u + chrUnits * 8192u + (trainer ? 512u : 0u);
  // Sized once and filled in place: growing a vector from an initialiser list makes GCC 12 at
  // -O3 warn about bounds it cannot see (-Warray-bounds).
  std::vector<uint8_t> image(16 + dataLength, 0);
  image[0] = 'N';
  image[1] = 'E';
  image[2] = 'S';
  image[3] = 0x1A;
  image[4] = static_cast<uint8_t>(prgUnits);
  image[5] = static_cast<uint8_t>(chrUnits);
  image[6] = static_cast<uint8_t>(trainer ? 0x04 : 0x00);
  std::mt19937 random(seed);
  for (size_t i = 0; i < dataLength; ++i) image[16 + i] = static_cast<uint8_t>(random());
  return image;
}

inline RomSignature SignatureFilledWith(uint8_t value) {
  RomSignature signature;
  signature.fill(value);
  return signature;
}

inline RecognitionRecord MakeRecord(std::string_view chineseName, std::string_view englishName,
                                    const RomSignature& fingerprint, int mapper = 0) {
  RecognitionRecord record;
  record.number = 1;
  record.fingerprint = fingerprint;
  record.header = {'N',
                   'E',
                   'S',
                   0x1A,
                   2,
                   1,
                   static_cast<uint8_t>((mapper & 0x0F) << 4),
                   static_cast<uint8_t>(mapper & 0xF0)};
  record.chineseName = DbText::FromUtf8(chineseName);
  record.englishName = DbText::FromUtf8(englishName);
  record.aliasUpperIndex = 0;
  record.aliases[0] = DbText::FromUtf8(chineseName);
  return record;
}

// Writes database bytes by hand, the way the file layout tables read.
class ByteBuilder {
 public:
  ByteBuilder& Byte(uint8_t value) {
    bytes.push_back(value);
    return *this;
  }
  ByteBuilder& BigEndian16(uint16_t value) {
    return Byte(static_cast<uint8_t>(value >> 8)).Byte(value & 0xFF);
  }
  ByteBuilder& Fill(size_t count, uint8_t value) {
    bytes.insert(bytes.end(), count, value);
    return *this;
  }
  ByteBuilder& Raw(std::string_view raw) {
    bytes.insert(bytes.end(), raw.begin(), raw.end());
    return *this;
  }
  // A text field: length byte, then the GB bytes.
  ByteBuilder& Text(std::string_view gb) { return Byte(static_cast<uint8_t>(gb.size())).Raw(gb); }

  std::vector<uint8_t> bytes;
};

}  // namespace wrenfold::db_test
