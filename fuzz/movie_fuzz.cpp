// Movie files (a save state, then two pad bytes a frame) as the emulator plays them: a movie
// whose state is refused does not start and leaves the game as it was; one that starts feeds
// its pads frame by frame and ends at the end of its file. The first input byte picks the
// cartridge and the number of edits made to a valid state (fuzz_support.h); what follows the
// edits is the movie's pad bytes. With its top bit the rest is the whole file as it is.
#include "emulator/host/movie.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/state_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wrenfold;
  using namespace wrenfold::fuzz;
  static MemoryFile file;
  if (size == 0) return 0;
  StateTarget& target = TheStateTargets()[data[0] % kStateTargetCount];
  const std::span<const uint8_t> rest(data + 1, size - 1);
  std::vector<uint8_t> movie;
  std::span<const uint8_t> pads;
  if (data[0] & 0x80) {
    movie.assign(rest.begin(), rest.end());
  } else {
    movie.assign(target.base.begin(), target.base.end());
    pads = ApplyEdits(rest, movie, (data[0] >> 2) & 0x07);
    movie.insert(movie.end(), pads.begin(), pads.end());
  }
  file.Set(movie);

  MachineState& machine = *target.emulator.machine;
  std::memcpy(target.before.get(), &machine, sizeof(MachineState));
  MovieState state;
  if (!StartPlayback(machine, state, file.Path())) {
    FUZZ_CHECK(!IsPlaying(state));
    FUZZ_CHECK(std::memcmp(target.before.get(), &machine, sizeof(MachineState)) == 0);
    return 0;
  }
  const size_t frames = movie.size() > kStateSize ? (movie.size() - kStateSize) / 2 : 0;
  for (size_t frame = 0; frame < frames; ++frame) {
    StepMovie(machine, state);
    FUZZ_CHECK(IsPlaying(state));
    const size_t at = kStateSize + 2 * frame;
    FUZZ_CHECK(machine.padState[0] == movie[at] && machine.padState[1] == movie[at + 1]);
  }
  StepMovie(machine, state);
  FUZZ_CHECK(!IsPlaying(state));
  FUZZ_CHECK(DecodeState(target.base, machine) == StateRefusal::kNone);
  return 0;
}
