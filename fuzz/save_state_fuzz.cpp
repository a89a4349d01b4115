// Save states as the emulator loads them into a running game: each file is either refused with
// every byte of the machine as it was, or loaded so that it saves back the same and the game
// runs on. Three cartridges take turns (NROM, MMC3 with battery RAM, MMC1 with pattern RAM).
// The first input byte picks the cartridge with its low six bits, with bit 6 whether an
// accepted state runs a frame, and with its top bit whether the rest is the file itself (any
// length) or edits of a valid state of that cartridge (fuzz_support.h).
#include <cstring>

#include "emulator/host/state_codec.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/state_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wrenfold;
  using namespace wrenfold::fuzz;
  if (size == 0) return 0;
  constexpr uint8_t kRawFile = 0x80;
  constexpr uint8_t kRunFrame = 0x40;
  constexpr uint8_t kCartridgeBits = 0x3F;
  StateTarget& target = TheStateTargets()[(data[0] & kCartridgeBits) % kStateTargetCount];
  const std::span<const uint8_t> rest(data + 1, size - 1);
  std::vector<uint8_t> file;
  if (data[0] & kRawFile) {
    file.assign(rest.begin(), rest.end());
  } else {
    file.assign(target.base.begin(), target.base.end());
    ApplyEdits(rest, file, rest.size());
  }
  LoadAndCheck(target, file, (data[0] & kRunFrame) != 0);
  return 0;
}
