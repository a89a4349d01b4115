// Battery-backed cartridge RAM: when the header's battery bit is set, the 8 KB at $6000-$7FFF
// are read from game.sav beside the ROM after power-on and written back (through a temporary
// file) when the emulator closes normally, so a game's saves survive a restart.
#pragma once

#include <filesystem>
#include <string_view>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

inline constexpr uint16_t kBatteryRamStart = 0x6000;
inline constexpr std::size_t kBatteryRamSize = 0x2000;

struct BatteryRam {
  std::filesystem::path path;  // empty: the cartridge has no battery
  // Cleared when a file was there but not loaded (wrong size, unreadable): it is not ours to
  // overwrite.
  bool writeBack = false;
};

// After the cartridge is loaded: a battery cartridge keeps its RAM in the ROM's name with the
// extension "sav".
void FindBatteryRam(const MachineState& machine, std::string_view romPath, BatteryRam& battery);

// After power-on. A missing file leaves the RAM fresh; a file of another size is ignored with
// a log line. A trainer at $7000-$71FF stays where the loader put it.
void LoadBatteryRam(MachineState& machine, BatteryRam& battery);

// At the normal end of the run. A folder that cannot take the file gets a log line.
void SaveBatteryRam(const MachineState& machine, BatteryRam& battery);

}  // namespace wrenfold
