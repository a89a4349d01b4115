// The running games the save-state and movie targets load their files into, and the check
// every load must pass.
#pragma once

#include <array>
#include <cstring>
#include <memory>

#include "emulator/host/frame_driver.h"
#include "emulator/host/state_codec.h"
#include "fuzz/fuzz_support.h"

namespace wrenfold::fuzz {

inline constexpr size_t kStateTargetCount = 3;

struct StateTarget {
  HeadlessEmulator emulator;
  StateBytes base{};  // a valid state of the running game
  std::unique_ptr<MachineState> before = std::make_unique<MachineState>();
};

inline std::array<StateTarget, kStateTargetCount>& TheStateTargets() {
  static std::array<StateTarget, kStateTargetCount>* targets = [] {
    SilenceLog();
    auto* made = new std::array<StateTarget, kStateTargetCount>();
    const std::string images[kStateTargetCount] = {
        CartridgeImage(1, 1, 0),        // NROM
        CartridgeImage(8, 8, 4, 0x02),  // MMC3 with battery RAM
        CartridgeImage(8, 0, 1),        // MMC1 with pattern RAM
    };
    for (size_t i = 0; i < kStateTargetCount; ++i) {
      const std::filesystem::path folder = ScratchFolder() / std::to_string(i);
      std::filesystem::create_directories(folder);
      (*made)[i].emulator.Start(folder, images[i], 5);
      EncodeState(*(*made)[i].emulator.machine, (*made)[i].base);
    }
    return made;
  }();
  return *targets;
}

// Loads `file` into the target's game. A refusal must leave the whole machine as it was; an
// accepted state must save back to itself and, with `runFrame`, run a frame. The input decides
// whether a frame runs, so a replayed input does what it did in the fuzzer. The game then goes
// back to its base state.
inline void LoadAndCheck(StateTarget& target, std::span<const uint8_t> file, bool runFrame) {
  MachineState& machine = *target.emulator.machine;
  std::memcpy(target.before.get(), &machine, sizeof(MachineState));
  if (DecodeState(file, machine) != StateRefusal::kNone) {
    FUZZ_CHECK(std::memcmp(target.before.get(), &machine, sizeof(MachineState)) == 0);
    return;
  }
  StateBytes saved;
  EncodeState(machine, saved);
  FUZZ_CHECK(DecodeState(saved, machine) == StateRefusal::kNone);
  StateBytes again;
  EncodeState(machine, again);
  FUZZ_CHECK(again == saved);
  if (runFrame) {
    RunFrame(machine, *target.emulator.host, 0);
    machine.haltRequested = 0;  // an opcode the state made up; the next load goes on
  }
  FUZZ_CHECK(DecodeState(target.base, machine) == StateRefusal::kNone);
}

}  // namespace wrenfold::fuzz
