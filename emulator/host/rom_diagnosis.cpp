#include "emulator/host/rom_diagnosis.h"

#include <filesystem>
#include <fstream>

#include "emulator/cart/board_table.h"
#include "formats/ines_header.h"
#include "emulator/cart/rom_loader.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

std::string DiagnoseRomImage(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return "no such file";
  const uintmax_t size = std::filesystem::file_size(path, error);
  std::ifstream file(path, std::ios::binary);
  uint8_t bytes[kInesHeaderSize] = {};
  if (error || !file || !file.read(reinterpret_cast<char*>(bytes), kInesHeaderSize)) {
    return "shorter than an iNES header";
  }
  const InesHeader header = DecodeInesHeader(bytes);
  if (!header.magicOk) return "not an iNES image (no \"NES\" at the start)";
  if (header.prgBankCount > kMaxPrgBanks || header.chrBankCount > kMaxChrBanks) {
    return "more PRG or CHR banks than the emulator holds";
  }
  if (size < kInesHeaderSize + InesDataLength(header)) {
    return "file is shorter than its header promises";
  }
  if (!IsSupportedMapper(header.mapperNumber)) {
    return "mapper " + std::to_string(header.mapperNumber) + " is not supported";
  }
  return "";
}

}  // namespace wrenfold
