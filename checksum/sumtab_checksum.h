// The identifying checksum of an iNES image: the XOR of every 4-byte group of its trainer, PRG
// and CHR data, each group read as a big-endian 32-bit number. libsumtab20.so exports it as
// CalcCRC; the front-end model compiles the same code for the tools, which run without the
// library.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files/regular_file.h"
#include "formats/ines_header.h"

namespace wrenfold {

// The front-end pads paths with blanks to 255 characters; the open ignores them.
inline std::string StripTrailingBlanks(const char* path) {
  std::string trimmed(path);
  const size_t end = trimmed.find_last_not_of(' ');
  trimmed.erase(end == std::string::npos ? 0 : end + 1);
  return trimmed;
}

inline uint32_t ReadBigEndian32(const uint8_t* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
         uint32_t{bytes[3]};
}

// 0 when the file cannot be opened, is not a regular file or is shorter than its 16-byte header.
inline int32_t SumtabChecksum(const char* path) {
  if (path == nullptr) return 0;
  // Only a regular file: a pipe or device named like a ROM would wait or never end.
  RegularFileStatus status;
  int error;
  std::FILE* file = OpenRegularFileStream(StripTrailingBlanks(path), status, error);
  if (file == nullptr) return 0;

  // The header goes through the same 4-byte buffer as the data, four groups at a time.
  uint8_t group[4] = {};
  uint8_t headerBytes[kInesHeaderSize];
  for (int i = 0; i < kInesHeaderSize / 4; ++i) {
    if (std::fread(group, 1, 4, file) != 4) {
      std::fclose(file);
      return 0;
    }
    std::memcpy(headerBytes + 4 * i, group, 4);
  }
  const uint32_t dataLength = InesDataLength(DecodeInesHeader(headerBytes));

  constexpr size_t kChunkSize = 64 * 1024;  // a multiple of 4
  std::vector<uint8_t> chunk(kChunkSize);
  uint64_t groupsLeft = (uint64_t{dataLength} + 3) / 4;
  uint32_t checksum = 0;
  while (groupsLeft > 0) {
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(groupsLeft * 4, kChunkSize));
    const size_t got = std::fread(chunk.data(), 1, wanted, file);
    const size_t fullGroups = got / 4;
    for (size_t g = 0; g < fullGroups; ++g) checksum ^= ReadBigEndian32(&chunk[4 * g]);
    if (fullGroups > 0) std::memcpy(group, &chunk[4 * (fullGroups - 1)], 4);
    groupsLeft -= fullGroups;
    if (got < wanted) {
      // The file ends inside the data. A short read refills only the bytes still there, the
      // rest of the buffer keeps the previous group, and every remaining group XORs that same
      // buffer again: an odd number of them leaves it in the result once.
      std::memcpy(group, &chunk[4 * fullGroups], got % 4);
      if (groupsLeft % 2 == 1) checksum ^= ReadBigEndian32(group);
      groupsLeft = 0;
    }
  }
  std::fclose(file);
  return static_cast<int32_t>(checksum);
}

}  // namespace wrenfold
