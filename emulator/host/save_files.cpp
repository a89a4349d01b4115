#include "emulator/host/save_files.h"

#include "emulator/host/host_state.h"
#include "emulator/host/save_file_paths.h"
#include "emulator/host/save_states.h"

namespace wrenfold {
namespace {

SaveFiles& FilesOf(void* context) {
  return *static_cast<SaveFiles*>(context);
}

void SaveSlot(void*, MachineState& machine, const HostSettings& settings, uint8_t slot) {
  if (settings.romPath.empty()) return;
  SaveState(machine, SlotFilePath(settings.romPath, settings.extensionIndex, slot),
            settings.romPath);
}

void LoadSlot(void*, MachineState& machine, const HostSettings& settings, uint8_t slot) {
  if (settings.romPath.empty()) return;
  LoadState(machine, SlotFilePath(settings.romPath, settings.extensionIndex, slot));
}

void ToggleRecording(void* context, MachineState& machine, const HostSettings& settings, uint8_t) {
  MovieState& movie = FilesOf(context).movie;
  if (IsRecording(movie)) {
    StopRecording(movie);
  } else if (!settings.romPath.empty()) {
    StartRecording(machine, movie, MovieFilePath(settings.romPath, settings.extensionIndex),
                   settings.romPath);
  }
}

void TogglePlayback(void* context, MachineState& machine, const HostSettings& settings, uint8_t) {
  MovieState& movie = FilesOf(context).movie;
  if (IsPlaying(movie)) {
    StopPlayback(movie);
  } else if (!settings.romPath.empty()) {
    StartPlayback(machine, movie, MovieFilePath(settings.romPath, settings.extensionIndex));
  }
}

void StepMovieAction(void* context, MachineState& machine, const HostSettings&, uint8_t) {
  StepMovie(machine, FilesOf(context).movie);
}

}  // namespace

void AttachSaveFiles(const MachineState& machine, HostState& host) {
  host.saveFiles = SaveFiles{};
  host.hotKeys = HotKeyActions{
      .context = &host.saveFiles,
      .toggleRecording = ToggleRecording,
      .togglePlayback = TogglePlayback,
      .saveState = SaveSlot,
      .loadState = LoadSlot,
      .stepMovie = StepMovieAction,
  };
  FindBatteryRam(machine, host.settings.romPath, host.saveFiles.battery);
}

void CloseSaveFiles(const MachineState& machine, HostState& host) {
  SaveFiles& files = host.saveFiles;
  StopRecording(files.movie);
  StopPlayback(files.movie);
  SaveBatteryRam(machine, files.battery);
  // Written once: a second close finds nothing left to do.
  files.battery = BatteryRam{};
}

}  // namespace wrenfold
