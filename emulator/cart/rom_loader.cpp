#include "emulator/cart/rom_loader.h"

#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/board_table.h"
#include "emulator/cart/initial_layout.h"
#include "emulator/host/log.h"
#include "emulator/machine_state/io_registers.h"
#include "files/regular_file.h"
#include "formats/ines_header.h"

namespace wrenfold {
namespace {

constexpr std::string_view kTooManyBanksText =
    "ROM header asks for more banks than the cartridge stores hold\n";
constexpr std::string_view kTruncatedText = "ROM image is shorter than its header says\n";

void LogIdentification(uint8_t mapperNumber, const InesHeader& header) {
  LogText("ROM image identified as Mapper#");
  LogNumber(mapperNumber);
  LogText("ROM bank:");
  LogNumber(header.prgBankCount);
  LogText("VROM bank:");
  LogNumber(header.chrBankCount);
}

// Fills the stores and header fields from a validated image. `data` holds the trainer (if
// any), the PRG and the CHR data, exactly as long as the header promises.
void CommitImage(MachineState& machine, const InesHeader& header, uint8_t mapperNumber,
                 const std::vector<uint8_t>& data) {
  CartridgeHeader& cart = machine.header;
  cart.prgBankCount = header.prgBankCount;
  cart.chrBankCount = header.chrBankCount;
  cart.mirrorVertical = header.mirrorVertical;
  cart.batteryFlag = header.battery;  // kept for the record; no battery RAM is saved
  cart.trainerFlag = header.trainer;
  cart.fourScreen = header.fourScreen;
  cart.mapperNumber = mapperNumber;

  // Tells the PPU write path that pattern memory is ROM.
  if (header.chrBankCount != 0) machine.cpuMem[kPpuStatus] |= kStatusChrRom;

  const uint8_t* next = data.data();
  if (header.trainer) {
    std::memcpy(machine.cpuMem + kTrainerAddress, next, kTrainerSize);
    next += kTrainerSize;
  }
  const std::size_t prgSize = header.prgBankCount * kPrgBankSize;
  const std::size_t chrSize = header.chrBankCount * kChrBankSize;
  if (prgSize != 0) std::memcpy(machine.prgRom, next, prgSize);
  if (chrSize != 0) std::memcpy(machine.chrRom, next + prgSize, chrSize);

  machine.oneScreenB = 0;
}

}  // namespace

// A rejected image (every non-zero code but kRomUnsupportedMapper) changes nothing but the
// two bank caches: the whole image is read and measured before the machine is touched.
int32_t LoadRomImage(MachineState& machine, const char* path) {
  ClearBankCaches(machine);

  if (path == nullptr) return kRomOpenFailed;
  // A folder, FIFO or device is refused before it is opened or read.
  RegularFileStatus status;
  int error;
  UniqueFile file(OpenRegularFileStream(path, status, error));
  if (!file) return kRomOpenFailed;

  uint8_t headerBytes[kInesHeaderSize] = {};
  const std::size_t headerRead = std::fread(headerBytes, 1, sizeof headerBytes, file.get());
  if (std::ferror(file.get())) return kRomOpenFailed;
  const InesHeader header = DecodeInesHeader(headerBytes);
  if (!header.magicOk) return kRomBadMagic;
  if (headerRead < sizeof headerBytes) {
    LogText(kTruncatedText);
    return kRomTruncated;
  }

  const uint8_t mapperNumber = LoadedMapperNumber(header.mapperNumber);
  LogIdentification(mapperNumber, header);

  if (header.prgBankCount > kMaxPrgBanks || header.chrBankCount > kMaxChrBanks) {
    LogText(kTooManyBanksText);
    return kRomTooManyBanks;
  }

  std::vector<uint8_t> data(InesDataLength(header));
  if (!data.empty() && std::fread(data.data(), 1, data.size(), file.get()) != data.size()) {
    LogText(kTruncatedText);
    return kRomTruncated;
  }
  file.reset();

  CommitImage(machine, header, mapperNumber, data);
  return LayOutInitialMemory(machine) ? kRomLoaded : kRomUnsupportedMapper;
}

}  // namespace wrenfold
