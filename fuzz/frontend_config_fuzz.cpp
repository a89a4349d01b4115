// Wrenfold.CFG as the front-end reads it back at start and patches it before each start of the
// emulator: the settings stay in their ranges, and a patch yields a file the front-end reads
// again cleanly, holding the start's items once each and ending in ";".
#include <algorithm>

#include "frontend/model/emulator_config.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wrenfold;
  static wrenfold::fuzz::MemoryFile file;
  file.Set({data, size});
  const StartupConfig config = LoadStartupConfig(file.Path(), "/roms");
  const ControlPanelSettings& settings = config.settings;
  FUZZ_CHECK(settings.resolutionIndex >= 1 && settings.resolutionIndex <= 3);
  FUZZ_CHECK(settings.rapidFireInterval >= 0 && settings.rapidFireInterval <= kRapidFireMax);
  FUZZ_CHECK(settings.irqAdjustCaption == "0");
  FUZZ_CHECK(!config.romDirectory.empty());
  for (const int16_t code : settings.keyMap.codes) FUZZ_CHECK(code >= 0 && code <= 255);
  for (const int16_t button : settings.joyMap.buttons) FUZZ_CHECK(button >= 0 && button <= 99);
  FUZZ_CHECK(settings.stereo == false || settings.soundEnabled);

  LaunchRequest request;
  request.bootFile = "game.nes";
  request.romDirectoryText = "/roms/";
  request.irqAdjustCaption = "-3";
  request.displayDeviceId = "Display 0";
  request.cpuCore = CpuCoreChoice::kFullCore;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const PatchResult patched = PatchConfigText(text, request);
  FUZZ_CHECK(patched.status == ConfigStatus::Ok || patched.status == ConfigStatus::Damaged ||
             patched.status == ConfigStatus::TooManyItems);
  if (patched.status != ConfigStatus::Ok) return 0;
  const ConfigItems again = ReadConfigItems(patched.text, kConfigItemCapacity + 8);
  FUZZ_CHECK(again.status == ConfigStatus::Ok);
  FUZZ_CHECK(!again.items.empty() && again.items.back() == ";");
  for (const std::string_view item :
       {"BOOT=game.nes", "ROMDIR=/roms", "IRQADJ=-3", "DDEVICE=Display 0", "CORE=FULL"}) {
    FUZZ_CHECK(std::count(again.items.begin(), again.items.end(), item) >= 1);
  }
  return 0;
}
