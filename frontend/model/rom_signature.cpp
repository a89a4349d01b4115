#include "frontend/model/rom_signature.h"

#include <cstdio>
#include <vector>

#include "checksum/sumtab_checksum.h"
#include "files/regular_file.h"
#include "formats/ines_header.h"

namespace wrenfold {
namespace {

constexpr size_t kCalcCrcPathLength = 255;

// Signature positions (1-based in the layout) as 0-based indexes.
constexpr size_t kPrgXorIndex = 6;
constexpr size_t kPrgTailIndex = 8;
constexpr size_t kChrTailIndex = 40;
constexpr size_t kTrainerXorIndex = 64;
constexpr size_t kChecksumIndex = 72;

}  // namespace

int32_t InProcessCalcCrc(const char* path) {
  return SumtabChecksum(path);
}

std::string PathForCalcCrc(const std::string& path) {
  std::string padded = path;
  if (padded.size() < kCalcCrcPathLength) padded.resize(kCalcCrcPathLength, ' ');
  return padded;
}

RomSignature RomSignatureOfImage(std::span<const uint8_t> image, int32_t checksum) {
  auto at = [&](uint64_t offset) -> uint8_t { return offset < image.size() ? image[offset] : 0; };
  const uint32_t prgUnits = at(4);
  const uint32_t chrUnits = at(5);
  const bool trainer = (at(6) & 0x04) != 0;
  const uint64_t prgStart = trainer ? kInesHeaderSize + kTrainerSize : kInesHeaderSize;
  const uint64_t chrStart = prgStart + 16384ull * prgUnits;

  RomSignature signature{};
  signature[0] = static_cast<uint8_t>(prgUnits);
  signature[1] = static_cast<uint8_t>(chrUnits);
  signature[2] = at(prgStart);
  signature[3] = at(prgStart + 1);
  signature[4] = at(prgStart + 4096);
  signature[5] = at(prgStart + 4097);
  for (uint64_t i = 0; i < 16ull * prgUnits; ++i) {
    signature[kPrgXorIndex] ^= at(prgStart + 1024 * i);
    signature[kPrgXorIndex + 1] ^= at(prgStart + 1024 * i + 1);
  }
  // The last 8 bytes of each quarter of the PRG data.
  for (uint64_t quarter = 1; quarter <= 4; ++quarter)
    for (uint64_t b = 0; b < 8; ++b)
      signature[kPrgTailIndex + (quarter - 1) * 8 + b] =
          at(prgStart + quarter * prgUnits * 4096 - 8 + b);
  // The last 3 bytes of each eighth of the CHR data.
  if (chrUnits != 0)
    for (uint64_t eighth = 1; eighth <= 8; ++eighth)
      for (uint64_t b = 0; b < 3; ++b)
        signature[kChrTailIndex + (eighth - 1) * 3 + b] =
            at(chrStart + eighth * chrUnits * 1024 - 3 + b);
  if (trainer)
    for (uint64_t k = 0; k < 8; ++k)
      for (uint64_t v = 0; v < 64; ++v)
        signature[kTrainerXorIndex + k] ^= at(kInesHeaderSize + 8 * v + k);
  const auto value = static_cast<uint32_t>(checksum);
  for (int b = 0; b < 4; ++b)
    signature[kChecksumIndex + b] = static_cast<uint8_t>(value >> (24 - 8 * b));

  // Positions 9 to 64 are mixed with the first eight.
  for (size_t m = 1; m <= 7; ++m)
    for (size_t g = 0; g < 8; ++g) signature[8 * m + g] ^= signature[g];
  return signature;
}

RomSignatureResult ComputeRomSignature(const std::filesystem::path& path, CalcCrcFunction calcCrc) {
  RomSignatureResult result;
  // A folder, pipe or device named like a ROM is never opened.
  RegularFileStatus status;
  int error;
  std::FILE* file = OpenRegularFileStream(path, status, error);
  if (file == nullptr) {
    result.error = status == RegularFileStatus::kNotRegular ? DataFileError::kReadFailed
                                                            : DataFileError::kFileMissing;
    return result;
  }
  uint8_t header[kInesHeaderSize];
  const size_t headerBytes = std::fread(header, 1, sizeof header, file);
  if (headerBytes < sizeof header) {
    result.error = std::ferror(file) ? DataFileError::kReadFailed : DataFileError::kRomTooShort;
    std::fclose(file);
    return result;
  }
  // Every sampled byte lies in the header, trainer, PRG or CHR data.
  std::vector<uint8_t> image(kInesHeaderSize + InesDataLength(DecodeInesHeader(header)));
  std::copy(header, header + kInesHeaderSize, image.begin());
  const size_t dataBytes =
      std::fread(image.data() + kInesHeaderSize, 1, image.size() - kInesHeaderSize, file);
  const bool readFailed = std::ferror(file) != 0;
  std::fclose(file);
  if (readFailed) {
    result.error = DataFileError::kReadFailed;
    return result;
  }
  image.resize(kInesHeaderSize + dataBytes);
  if (calcCrc == nullptr) {
    result.error = DataFileError::kChecksumUnavailable;
    return result;
  }
  result.signature = RomSignatureOfImage(image, calcCrc(PathForCalcCrc(path.string()).c_str()));
  return result;
}

}  // namespace wrenfold
