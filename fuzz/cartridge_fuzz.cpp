// Cartridge images as every reader of one takes them from a file: the emulator's loader and its
// diagnosis, the checksum library, and the front-end's fingerprint and header panel.
#include "checksum/sumtab_checksum.h"
#include "emulator/cart/rom_loader.h"
#include "emulator/host/rom_diagnosis.h"
#include "frontend/model/header_repair.h"
#include "frontend/model/rom_signature.h"
#include "fuzz/fuzz_support.h"

namespace wrenfold::fuzz {
namespace {

bool IsLoaderResult(int32_t result) {
  return result == kRomLoaded || result == kRomUnsupportedMapper || result == kRomTooManyBanks ||
         result == kRomTruncated || result == kRomBadMagic || result == kRomOpenFailed;
}

}  // namespace
}  // namespace wrenfold::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wrenfold;
  using namespace wrenfold::fuzz;
  static MemoryFile file;
  static const auto machine = [] {
    SilenceLog();
    return std::make_unique<MachineState>();
  }();
  file.Set({data, size});
  const std::string& path = file.Path();

  const int32_t result = LoadRomImage(*machine, path.c_str());
  FUZZ_CHECK(IsLoaderResult(result));
  // Whatever the loader refuses, the diagnosis has a reason for, and the other way round.
  FUZZ_CHECK(DiagnoseRomImage(path).empty() == (result == kRomLoaded));
  if (result == kRomLoaded) {
    FUZZ_CHECK(machine->header.prgBankCount == data[4] && machine->header.chrBankCount == data[5]);
  }

  const int32_t checksum = SumtabChecksum(path.c_str());
  const RomSignatureResult signature = ComputeRomSignature(path, InProcessCalcCrc);
  FUZZ_CHECK((signature.error == DataFileError::kNone) == (size >= kInesHeaderSize));
  if (signature.error == DataFileError::kNone) {
    const auto value = static_cast<uint32_t>(checksum);
    FUZZ_CHECK(signature.signature[75] == static_cast<uint8_t>(value));
  } else {
    FUZZ_CHECK(checksum == 0);
  }

  const HeaderReadResult header = ReadRomHeader(path);
  FUZZ_CHECK((header.status == HeaderFileStatus::Ok) == (size >= kInesHeaderSize));
  if (header.status == HeaderFileStatus::Ok) {
    FUZZ_CHECK(std::equal(header.bytes.begin(), header.bytes.end(), data));
    const HeaderPanelView view = BuildHeaderPanel(header.bytes, nullptr);
    FUZZ_CHECK(!view.differsFromExpected && !view.storedHeaderDamaged);
  }
  return 0;
}
