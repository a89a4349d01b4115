// Loads one iNES image into the ROM stores and lays out the board's power-on memory picture.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

inline constexpr int32_t kRomLoaded = 0;
inline constexpr int32_t kRomUnsupportedMapper = 3;
inline constexpr int32_t kRomTooManyBanks = 252;  // header asks for more than the stores hold
inline constexpr int32_t kRomTruncated = 253;     // file shorter than its header promises
inline constexpr int32_t kRomBadMagic = 254;
inline constexpr int32_t kRomOpenFailed = 255;

int32_t LoadRomImage(MachineState& machine, const char* path);

}  // namespace wrenfold
