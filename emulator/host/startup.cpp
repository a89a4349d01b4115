#include "emulator/host/startup.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "emulator/cart/board_table.h"
#include "emulator/cart/rom_loader.h"
#include "emulator/host/failure_messages.h"
#include "emulator/host/frame_driver.h"
#include "emulator/host/log.h"
#include "emulator/host/palette.h"
#include "emulator/host/process_priority.h"
#include "emulator/host/run_loop.h"
#include "emulator/host/save_files.h"
#include "emulator/sound/sound_output.h"
#include "files/file_lookup.h"

namespace wrenfold {
namespace {

// The log shows this much of the ROM path.
constexpr std::size_t kLoggedRomPathLength = 30;
constexpr uint32_t kSettleMilliseconds = 400;

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

bool AnyPlayerOnJoystick(const HostSettings& settings) {
  return std::ranges::any_of(settings.playerDevice,
                             [](PlayerDevice device) { return device == PlayerDevice::kJoystick; });
}

void ReportVideoFailure(HostState& host, Platform& platform, int32_t code) {
  LogDirectDrawError(static_cast<uint32_t>(code));
  char message[64];
  std::snprintf(message, sizeof message, kVideoFailureFormat,
                static_cast<unsigned long>(static_cast<uint32_t>(code)));
  platform.messageBox.Show(kVideoFailureCaption, std::string(message) + kVideoFailureAdvice);
  // Releasing the display also closes its window.
  ReleaseAll(host);
}

// The display with its surfaces, then the keyboard. A failure has been reported and
// everything released when this returns false.
bool CreateWindowAndVideo(HostState& host, Platform& platform) {
  int32_t result = OpenVideo(host.video, platform.display, host.settings, host.display);
  if (!DisplayFailed(result)) result = SetUpKeyboard(host.inputDevices, platform.input);
  if (DisplayFailed(result)) {
    ReportVideoFailure(host, platform, result);
    return false;
  }
  return true;
}

bool SetUpSound(MachineState& machine, HostState& host, SoundState& sound, Platform& platform) {
  const HostSettings& settings = host.settings;
  const SoundSettings soundSettings{settings.soundEnabled, settings.stereo,
                                    settings.hardwareSoundBuffers};
  return InitSound(machine, sound, platform.sound, soundSettings) != 0;
}

int32_t LoadCartridge(MachineState& machine, const HostSettings& settings) {
  const std::string_view path = settings.romPath;
  LogText("Open:");
  LogText(path.substr(0, std::min(path.size(), kLoggedRomPathLength)));
  LogText("\n");
  if (path.empty()) return kRomOpenFailed;
  return LoadRomImage(machine, settings.romPath.c_str());
}

// The extra channels need the sound output, so they come only with sound enabled.
void CreateExpansionSound(MachineState& machine, HostState& host, SoundState& sound) {
  const HostSettings& settings = host.settings;
  if (!settings.soundEnabled) return;
  const ExpansionSoundSetup& setup = host.expansionSound;
  switch (BoardFor(machine.header.mapperNumber).expansionChip) {
    case ExpansionChip::kNamco106:
      if (settings.namcoSound && setup.createNamcoChannels != nullptr) {
        setup.createNamcoChannels(machine, sound);
      }
      break;
    case ExpansionChip::kVrc6:
      if (settings.vrc6Sound && setup.createVrc6Channels != nullptr) {
        setup.createVrc6Channels(machine, sound);
      }
      break;
    case ExpansionChip::kNone:
      break;
  }
}

}  // namespace

StartUpResult StartEmulator(MachineState& machine, HostState& host, SoundState& sound,
                            Platform& platform) {
  host.platform = &platform;
  host.sound = &sound;
  host.run = RunState{};

  host.display = DisplayGeometryFor(host.settings.resolution);
  DeriveVideoStandard(host);
  SetUpPlayerMaps(host.input, host.settings);
  host.video.palette = BuildDisplayPalette(host.settings.monochrome);
  LogText("NES system palette initialized\n");

  if (!CreateWindowAndVideo(host, platform)) return StartUpResult::kVideoError;
  platform.clock.Sleep(kSettleMilliseconds);
  if (AnyPlayerOnJoystick(host.settings)) {
    SetUpJoystick(host.inputDevices, platform.input, platform.messageBox);
  }
  // A machine without a sound device still plays, silently.
  if (host.settings.soundEnabled && !SetUpSound(machine, host, sound, platform)) {
    ReleaseSound(sound);
    LogText("Fail to initialize Direct Sound\n");
    host.settings.soundEnabled = false;
  }

  if (!ShowSplash(host.video)) {
    ReleaseAll(host);
    return StartUpResult::kVideoError;
  }
  AttachPalette(host.video);

  if (LoadCartridge(machine, host.settings) != kRomLoaded) {
    LogText("Error reading ROM\n");
    ReleaseAll(host);
    return StartUpResult::kRomError;
  }
  const BoardDescription& board = BoardFor(machine.header.mapperNumber);
  host.run.lineStep = board.lineStep;
  host.run.ppuFetch = board.ppuFetch;
  machine.irqAdjust = host.settings.irqAdjust;
  CreateExpansionSound(machine, host, sound);
  AttachSaveFiles(machine, host);
  return StartUpResult::kReady;
}

int StartUp(MachineState& machine, HostState& host, SoundState& sound, Platform& platform) {
  ResetLog();
  if (RaiseProcessPriority()) LogText("Wrenfold log file\n");
  ReadConfiguration(host);

  // Start-up releases the ROM path on failure; the message needs it.
  const HostSettings configured = host.settings;
  const StartUpResult started = StartEmulator(machine, host, sound, platform);
  if (started == StartUpResult::kRomError) {
    platform.messageBox.Show(kFailureCaption, CartridgeFailureText(configured));
  }
  if (started != StartUpResult::kReady) return 1;
  DispatchWindowEvents(host);
  RunLoop(machine, host);
  CloseSaveFiles(machine, host);
  // Every way out of the run loop has released already; this only makes sure.
  ReleaseAll(host);
  host.platform = nullptr;
  host.sound = nullptr;
  if (machine.haltRequested) {
    // The frame driver has already said when the full CPU core would run the game.
    if (!machine.needsFullCore) platform.messageBox.Show(kFailureCaption, kHaltText);
    return 1;
  }
  return 0;
}

void ReleaseAll(HostState& host) {
  host.settings.romPath.clear();
  host.settings.romPath.shrink_to_fit();
  host.settings.extensionIndex = 0;
  if (host.sound != nullptr) ReleaseSound(*host.sound);
  ReleaseVideo(host.video);
  ReleaseInputDevices(host.inputDevices);
}

}  // namespace wrenfold
