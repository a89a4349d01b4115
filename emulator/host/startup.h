// The emulator's entry sequence and its one teardown.
#pragma once

#include <cstdint>

#include "emulator/host/host_platform.h"
#include "emulator/host/host_state.h"
#include "emulator/machine_state/machine_state.h"
#include "emulator/sound/sound_state.h"

namespace wrenfold {

enum class StartUpResult : uint8_t {
  kReady,       // devices open, splash shown, the cartridge is loaded
  kVideoError,  // window, display, surfaces or keyboard; a message box has said so
  kRomError,    // the cartridge could not be loaded; "Error reading ROM" is in the log
};

// The message box text of a failed display or keyboard step.
inline constexpr const char* kVideoFailureFormat = "Direct Draw Init Failed (%08lx)\n";
inline constexpr const char* kVideoFailureCaption = "ERROR";

// The whole program in the working folder: empties the log, raises the priority, reads
// Wrenfold.CFG, starts the emulator, runs frames until the exit and releases everything.
// A start-up failure or a CPU halt is told in a message box after its log lines. Returns the
// process exit status: 0 after a normal run, 1 when start-up failed or the CPU halted.
int StartUp(MachineState& machine, HostState& host, SoundState& sound, Platform& platform);

// Start-up from the settings already in host.settings (romPath built) to the loaded
// cartridge: timing and display values, pad maps, palette, display and keyboard, the
// joystick, sound, the splash and the cartridge with its expansion sound. Without a sound
// device the emulator goes on silent ("Fail to initialize Direct Sound" in the log, sound
// switched off in host.settings). On failure everything acquired is already released.
// `platform` and `sound` must outlive the run.
StartUpResult StartEmulator(MachineState& machine, HostState& host, SoundState& sound,
                            Platform& platform);

// Releases everything start-up acquired (the ROM path, sound, video, input), each item once;
// later calls find nothing to release.
void ReleaseAll(HostState& host);

}  // namespace wrenfold
