// PPU memory writes and the decoded pattern cache (one byte per pixel, value 0-3).
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// A $2007 write: palette (with its mirrors), name tables (with theirs), or pattern memory,
// which takes writes only when the cartridge has pattern RAM rather than CHR ROM.
void PpuWrite(MachineState& machine, uint16_t address, uint8_t value);
// Rebuilds all 512 tiles and clears patternDirty.
void DecodeAllTiles(MachineState& machine);
// Rebuilds tiles start/16 up to (start + length)/16, exclusive; patternDirty is left alone.
void DecodeTileRange(MachineState& machine, uint16_t start, uint32_t length);

}  // namespace wrenfold
