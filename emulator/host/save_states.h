// F5 and F7: the machine written to a slot's state file and read back from it. Each save and
// each load writes one line to the log, with the reason when it failed or was refused.
#pragma once

#include <filesystem>
#include <string_view>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// Writes the state through a temporary file renamed over `path`, so a failed write keeps the
// slot's previous state. `romPath` is the running image, which is never written over. False
// when the state was not written.
bool SaveState(const MachineState& machine, const std::filesystem::path& path,
               std::string_view romPath);

// Loads `path` when it holds a state of the running cartridge. Otherwise (missing, short,
// long, damaged, another cartridge's) the machine stays exactly as it was and false returns.
bool LoadState(MachineState& machine, const std::filesystem::path& path);

}  // namespace wrenfold
