// Wrenfold.CFG as the emulator reads it: any text gives settings within their ranges and a ROM
// path that fits its buffer.
#include "emulator/host/host_settings.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wrenfold;
  static wrenfold::fuzz::MemoryFile file;
  file.Set({data, size});
  HostSettings settings;
  FUZZ_CHECK(ReadHostSettings(file.Path(), settings) == (size <= kConfigFileMaxBytes));

  FUZZ_CHECK(settings.resolution <= 9 && settings.rapidFirePeriod <= 9);
  FUZZ_CHECK(settings.hardwareSoundBuffers >= 0 && settings.hardwareSoundBuffers <= 9);
  FUZZ_CHECK(settings.framesPerSecond >= 0 && settings.framesPerSecond <= 99);
  FUZZ_CHECK(settings.videoStandard == VideoStandard::kNtsc ||
             settings.videoStandard == VideoStandard::kPal);
  FUZZ_CHECK(static_cast<int>(settings.cpuCore) <= static_cast<int>(CpuCoreChoice::kFullCore));
  for (const PlayerDevice device : settings.playerDevice) {
    FUZZ_CHECK(static_cast<int>(device) <= static_cast<int>(PlayerDevice::kJoystick));
  }
  for (const int32_t button : settings.joystickButtons) {
    FUZZ_CHECK(button >= 0 && button < kJoystickButtonLimit);
  }
  for (const std::string* text :
       {&settings.displayDevice, &settings.romDirectory, &settings.romFileName}) {
    FUZZ_CHECK(text->find('\n') == std::string::npos && text->find('\0') == std::string::npos);
  }
  const bool built = BuildRomPath(settings);
  FUZZ_CHECK(settings.romPath.size() <= kMaxRomPathLength);
  FUZZ_CHECK(settings.extensionIndex >= 0 &&
             static_cast<size_t>(settings.extensionIndex) <= settings.romPath.size());
  if (built && !settings.romFileName.empty()) {
    FUZZ_CHECK(settings.romPath.ends_with("/" + settings.romFileName));
  }
  return 0;
}
