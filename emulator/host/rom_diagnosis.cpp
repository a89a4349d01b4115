#include "emulator/host/rom_diagnosis.h"

#include <sys/stat.h>

#include <cstdio>

#include "emulator/cart/board_table.h"
#include "emulator/cart/rom_loader.h"
#include "emulator/machine_state/machine_state.h"
#include "files/regular_file.h"
#include "formats/ines_header.h"

namespace wrenfold {
std::string DiagnoseRomImage(const std::string& path) {
  RegularFileStatus status;
  int error;
  const UniqueFile file(OpenRegularFileStream(path, status, error));
  if (status == RegularFileStatus::kMissing) return "no such file";
  if (status == RegularFileStatus::kNotRegular) return "not a regular file";
  if (!file) return "cannot open the file";
  struct stat info {};
  uint8_t bytes[kInesHeaderSize] = {};
  if (::fstat(::fileno(file.get()), &info) != 0 ||
      std::fread(bytes, 1, kInesHeaderSize, file.get()) != kInesHeaderSize) {
    return "shorter than an iNES header";
  }
  const InesHeader header = DecodeInesHeader(bytes);
  if (!header.magicOk) return "not an iNES image (no \"NES\" at the start)";
  if (header.prgBankCount > kMaxPrgBanks || header.chrBankCount > kMaxChrBanks) {
    return "more PRG or CHR banks than the emulator holds";
  }
  if (static_cast<uint64_t>(info.st_size) < kInesHeaderSize + InesDataLength(header)) {
    return "file is shorter than its header promises";
  }
  if (!IsSupportedMapper(header.mapperNumber)) {
    return "mapper " + std::to_string(header.mapperNumber) + " is not supported";
  }
  return "";
}

}  // namespace wrenfold
