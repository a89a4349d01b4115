#include "emulator/host/save_states.h"

#include <system_error>
#include <vector>

#include "emulator/host/replacing_file.h"
#include "emulator/host/save_file_paths.h"
#include "emulator/host/state_codec.h"

namespace wrenfold {
namespace {

constexpr std::string_view kSaved = "Save state";
constexpr std::string_view kSaveFailed = "Save state failed";
constexpr std::string_view kLoaded = "Load state";
constexpr std::string_view kLoadRefused = "Load state refused";

}  // namespace

bool SaveState(const MachineState& machine, const std::filesystem::path& path,
               std::string_view romPath) {
  if (IsTheRomImage(path, romPath)) {
    LogFileEvent(kSaveFailed, path, "the cartridge's own file");
    return false;
  }
  StateBytes bytes;
  EncodeState(machine, bytes);
  if (!ReplaceFileContents(path, bytes)) {
    LogFileEvent(kSaveFailed, path, "cannot write the file");
    return false;
  }
  LogFileEvent(kSaved, path);
  return true;
}

bool LoadState(MachineState& machine, const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    LogFileEvent(kLoadRefused, path, "no such file");
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!ReadFileStart(path, kStateSize, bytes)) {
    LogFileEvent(kLoadRefused, path, "cannot read the file");
    return false;
  }
  const StateRefusal refusal = DecodeState(bytes, machine);
  if (refusal != StateRefusal::kNone) {
    LogFileEvent(kLoadRefused, path, RefusalText(refusal));
    return false;
  }
  LogFileEvent(kLoaded, path);
  return true;
}

}  // namespace wrenfold
