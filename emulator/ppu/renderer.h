// The scanline renderer: one picture line per call, drawn from the scroll address as it
// stands at the start of the line, into two layers that the frame driver later merges with
// a colour-keyed copy keyed on the backdrop colour. The frame driver moves the scroll from
// line to line (ppu_scroll.h); drawing leaves it alone.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

inline constexpr int kPictureWidth = 256;
inline constexpr int kPictureHeight = 240;

// Draws line `line` (0-239). `front` (a row of the overlay surface) receives the background
// and the sprites in front of it, `rear` (a row of the frame surface) the sprites behind the
// background; each row takes 256 colour numbers. `pitch` is the surfaces' row stride, which
// drawing a single row does not need.
//
// The background starts at v (`vramAddr`: coarse X and Y, name table, fine Y) and fine X.
// Also raises sprite-0 hit on the first line where sprite 0 has an opaque pixel. `ppuFetch`, the
// loaded board's fetch hook (null for most boards), sees every background tile the line fetches.
void RenderLine(MachineState& machine, uint8_t* front, uint8_t* rear, int line, int pitch,
                PpuFetchHook ppuFetch);

// The bits of a palette entry that are shown: all of them, or only the brightness row
// ($00, $10, $20, $30, the greys) while $2001 asks for greyscale (bit 0).
uint8_t ShownColourBits(const MachineState& machine);

// The colour that transparent pixels show: palette entry 0, as ShownColourBits lets it show.
uint8_t BackdropColour(const MachineState& machine);

}  // namespace wrenfold
