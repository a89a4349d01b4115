// The background of one picture line, drawn a pair of tiles at a time from the pattern cache.
// The two tiles of an even column pair lie in the same attribute quadrant, so each pair takes
// one palette: one attribute fetch, one colouring of sixteen pixels and one 16-byte store.
// The renderer uses this for every board without a fetch hook; a board that watches the
// fetches (its latches can switch patterns between two tiles) is drawn tile by tile instead.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// How pixel values 0-3 become colour numbers. All give the same pixels; the shuffles need
// host instructions (SSSE3, AVX2 on x86-64) that the bit selects do without.
enum class BackgroundColouring : uint8_t {
  kBitSelect,    // masks from the pixel's two bits pick among the palette's four colours
  kByteShuffle,  // one table look-up of sixteen bytes: palette entry = attribute * 4 + pixel
  kWideShuffle,  // the same look-up for two pairs at once
};

// The fastest colouring this host runs.
BackgroundColouring HostBackgroundColouring();

// Whether this host runs `colouring` at all.
bool HostRuns(BackgroundColouring colouring);

// Draws the 256 background pixels of the line that starts at `scroll` (v: coarse X and Y,
// name table, fine Y) and fine X (0-7) into `front`: colour numbers with greyscale applied,
// the leftmost eight pixels left to the caller's left-column mask. The first tile is
// `scroll`'s, the line runs on into the neighbouring name table after column 31.
void DrawBackgroundLine(const MachineState& machine, uint8_t* front, uint16_t scroll, uint8_t fineX,
                        BackgroundColouring colouring);

}  // namespace wrenfold
