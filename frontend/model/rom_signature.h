// The 80-byte fingerprint of a ROM file that identifies it against the recognition database:
// header counts, sampled PRG and CHR bytes, trainer XORs and the CalcCRC checksum.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "frontend/model/data_file_error.h"
#include "frontend/model/recognition_db.h"

namespace wrenfold {

using CalcCrcFunction = int32_t (*)(const char* path);

// The checksum of libsumtab20.so, computed in-process by the same code (for the tools).
int32_t InProcessCalcCrc(const char* path);

// The path as CalcCRC receives it: followed by blanks up to 255 characters. A longer path is
// passed whole rather than cut.
std::string PathForCalcCrc(const std::string& path);

// The fingerprint of a file image (header first). Bytes sampled beyond the end read as 0.
RomSignature RomSignatureOfImage(std::span<const uint8_t> image, int32_t checksum);

struct RomSignatureResult {
  DataFileError error =
      DataFileError::kNone;  // kFileMissing, kReadFailed, kRomTooShort, kChecksumUnavailable
  RomSignature signature{};
};

// Reads the header and the sampled bytes, closes the file, then asks calcCrc for the checksum.
RomSignatureResult ComputeRomSignature(const std::filesystem::path& path, CalcCrcFunction calcCrc);

}  // namespace wrenfold
