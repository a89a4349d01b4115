#include "emulator/host/startup.h"

#include <algorithm>
#include <string_view>

#include "emulator/cart/rom_loader.h"
#include "emulator/host/file_lookup.h"
#include "emulator/host/log.h"
#include "emulator/host/process_priority.h"

namespace wrenfold {
namespace {

// The log shows this much of the ROM path.
constexpr std::size_t kLoggedRomPathLength = 30;

void ReadConfiguration(HostState& host) {
  host.settings = HostSettings{};
  // A missing file leaves every default in place; the ROM open then fails on the empty path.
  ReadHostSettings(FindFileInFolder("", kConfigFileName), host.settings);
  if (!BuildRomPath(host.settings)) LogText("ROM path too long\n");
}

void DeriveVideoStandard(HostState& host) {
  const VideoStandard standard = host.settings.videoStandard;
  LogText(standard == VideoStandard::kPal ? "PAL Console\n" : "NTSC Console\n");
  host.timing = FrameTimingFor(standard);
}

int32_t LoadCartridge(MachineState& machine, const HostSettings& settings) {
  const std::string_view path = settings.romPath;
  LogText("Open:");
  LogText(path.substr(0, std::min(path.size(), kLoggedRomPathLength)));
  LogText("\n");
  if (path.empty()) return kRomOpenFailed;
  return LoadRomImage(machine, settings.romPath.c_str());
}

}  // namespace

StartUpResult StartUp(MachineState& machine, HostState& host) {
  ResetLog();
  if (RaiseProcessPriority()) LogText("Wrenfold log file\n");

  ReadConfiguration(host);
  host.display = DisplayGeometryFor(host.settings.resolution);
  DeriveVideoStandard(host);

  if (LoadCartridge(machine, host.settings) != kRomLoaded) {
    LogText("Error reading ROM\n");
    ReleaseAll(host);
    return StartUpResult::kRomError;
  }
  return StartUpResult::kReady;
}

void ReleaseAll(HostState& host) {
  host.settings.romPath.clear();
  host.settings.romPath.shrink_to_fit();
  host.settings.extensionIndex = 0;
}

}  // namespace wrenfold
