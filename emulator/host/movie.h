// F1 and F2: movies. A movie file is a save state followed by two bytes per frame, player 1's
// and player 2's padState. Recording writes the state when it starts and the pads of every
// frame after that; playback loads the state and then feeds the recorded pads in place of the
// live ones until the file ends. Each start and stop writes one line to the log.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

#include "emulator/host/replacing_file.h"
#include "emulator/machine_state/machine_state.h"
#include "files/regular_file.h"

namespace wrenfold {

// The movie being recorded and the movie being played; both may run at once, and the
// recording then keeps the played pads.
struct MovieState {
  // A recording replaces the movie file only when it stops, so a recording cut short keeps the
  // movie that was there before.
  std::unique_ptr<ReplacingFile> recording;
  std::unique_ptr<std::FILE, FileCloser> playback;
  std::filesystem::path playbackPath;
};

inline bool IsRecording(const MovieState& movie) {
  return movie.recording != nullptr;
}
inline bool IsPlaying(const MovieState& movie) {
  return movie.playback != nullptr;
}

// Starts a recording into `path` with the machine's state. `romPath` is never written over.
bool StartRecording(const MachineState& machine, MovieState& movie,
                    const std::filesystem::path& path, std::string_view romPath);
// Ends the recording: the movie file now holds it (or, when writing failed, what it held).
void StopRecording(MovieState& movie);

// Loads the movie's state and starts feeding its pads. A movie whose state is missing, short,
// damaged or another cartridge's does not start, and the machine stays as it was.
bool StartPlayback(MachineState& machine, MovieState& movie, const std::filesystem::path& path);
void StopPlayback(MovieState& movie);

// Once per frame after the pads are read: a playing movie replaces machine.padState with the
// frame's two bytes (and ends at the end of its file), then a recording appends padState.
void StepMovie(MachineState& machine, MovieState& movie);

}  // namespace wrenfold
