// The running machine as the bytes of a save state, and those bytes back into the machine. A
// load is decoded into a scratch record and checked whole; only a sound state of the running
// cartridge is then read into the machine, anything else leaves every byte of it as it was.
#pragma once

#include <cstdint>
#include <span>

#include "emulator/machine_state/machine_state.h"
#include "emulator/machine_state/state_io.h"

namespace wrenfold {

enum class StateRefusal : uint8_t {
  kNone,
  kTooShort,
  kTooLong,
  kNotAState,       // the file does not begin with "KSV"
  kOtherCartridge,  // another board, other bank counts or other PRG / CHR data
  kDamaged,         // a header flag that is neither 0 nor 1
};

// The log's words for a refusal.
const char* RefusalText(StateRefusal refusal);

// FNV-1a over the PRG data and then the CHR data of the loaded image.
uint32_t RomFingerprint(const MachineState& machine);

void EncodeState(const MachineState& machine, StateBytes& out);

// Replaces the machine with the state in `bytes` (which must be exactly one state long),
// empties the bank caches, which the state does not hold, and rebuilds the pattern cache.
StateRefusal DecodeState(std::span<const uint8_t> bytes, MachineState& machine);

}  // namespace wrenfold
