#include "emulator/host/movie.h"

#include <array>
#include <system_error>

#include "emulator/host/save_file_paths.h"
#include "emulator/host/state_codec.h"
#include "files/regular_file.h"

namespace wrenfold {
namespace {

constexpr std::string_view kRecordStarted = "Record movie";
constexpr std::string_view kRecordFailed = "Record movie failed";
constexpr std::string_view kRecordStopped = "Recording stopped";
constexpr std::string_view kRecordLost = "Recording not kept";
constexpr std::string_view kPlayStarted = "Play movie";
constexpr std::string_view kPlayRefused = "Play movie refused";
constexpr std::string_view kPlayStopped = "Playback stopped";
constexpr std::string_view kPlayEnded = "Playback ended";

constexpr std::string_view kCannotWrite = "cannot write the file";

}  // namespace

bool StartRecording(const MachineState& machine, MovieState& movie,
                    const std::filesystem::path& path, std::string_view romPath) {
  if (IsTheRomImage(path, romPath)) {
    LogFileEvent(kRecordFailed, path, "the cartridge's own file");
    return false;
  }
  auto file = std::make_unique<ReplacingFile>();
  StateBytes state;
  EncodeState(machine, state);
  if (!file->Open(path) || !file->Write(state)) {
    LogFileEvent(kRecordFailed, path, kCannotWrite);
    return false;
  }
  movie.recording = std::move(file);
  LogFileEvent(kRecordStarted, path);
  return true;
}

void StopRecording(MovieState& movie) {
  if (!movie.recording) return;
  std::unique_ptr<ReplacingFile> file = std::move(movie.recording);
  const std::filesystem::path path = file->Target();
  if (file->Commit()) {
    LogFileEvent(kRecordStopped, path);
  } else {
    LogFileEvent(kRecordLost, path, kCannotWrite);
  }
}

bool StartPlayback(MachineState& machine, MovieState& movie, const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    LogFileEvent(kPlayRefused, path, "no such file");
    return false;
  }
  RegularFileStatus status;
  int openError;
  UniqueFile file(OpenRegularFileStream(path, status, openError));
  StateBytes state;
  const std::size_t count =
      file ? std::fread(state.data(), 1, state.size(), file.get()) : std::size_t{0};
  if (!file || std::ferror(file.get()) != 0) {
    LogFileEvent(kPlayRefused, path, "cannot read the file");
    return false;
  }
  const StateRefusal refusal = DecodeState(std::span(state.data(), count), machine);
  if (refusal != StateRefusal::kNone) {
    LogFileEvent(kPlayRefused, path, RefusalText(refusal));
    return false;
  }
  movie.playback = std::move(file);
  movie.playbackPath = path;
  LogFileEvent(kPlayStarted, path);
  return true;
}

void StopPlayback(MovieState& movie) {
  if (!movie.playback) return;
  movie.playback.reset();
  LogFileEvent(kPlayStopped, movie.playbackPath);
}

void StepMovie(MachineState& machine, MovieState& movie) {
  if (movie.playback) {
    std::array<uint8_t, 2> pads;
    if (std::fread(pads.data(), 1, pads.size(), movie.playback.get()) == pads.size()) {
      machine.padState[0] = pads[0];
      machine.padState[1] = pads[1];
    } else {
      movie.playback.reset();
      LogFileEvent(kPlayEnded, movie.playbackPath);
    }
  }
  if (movie.recording) {
    const std::array<uint8_t, 2> pads = {machine.padState[0], machine.padState[1]};
    // A failed write shows when the recording stops: the old movie is then kept.
    movie.recording->Write(pads);
  }
}

}  // namespace wrenfold
