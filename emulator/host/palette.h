// The NES colour table: the RGB value of every display palette index the renderer writes,
// and the grey version used when the configuration asks for no colour.
#pragma once

#include <cstdint>

#include "emulator/machine_state/io_registers.h"
#include "platform/surface8.h"

namespace wrenfold {

// Three colour sets at indices 0-63, 128-191 and 192-255; 64-127 and 255 are black.
// Index 15 (blank lines) and 120 (screen clear) are black.
extern const DisplayPalette kNesColourTable;

// Each entry's grey: (red + green + blue) / 3, then +1 for indices that leave remainder 1
// divided by 3 and -1 for remainder 2, kept within 0-255.
DisplayPalette MonochromePalette(const DisplayPalette& colours);

// The palette the display is given: the colour table, or its grey version.
DisplayPalette BuildDisplayPalette(bool monochrome);

// The colour emphasis of $2001 bits 5-7, as a number 0-7: bit 0 red, bit 1 green, bit 2 blue.
inline uint8_t EmphasisOf(uint8_t mask) {
  return static_cast<uint8_t>((mask & kMaskEmphasis) >> kMaskEmphasisShift);
}

// `colours` as the picture shows them under colour emphasis 0-7: a primary is dimmed to
// kEmphasisDimmingPercent of its level while another primary is emphasised, so one emphasised
// colour stands out and all three darken the whole picture. Emphasis 0 changes nothing.
inline constexpr int kEmphasisDimmingPercent = 75;
DisplayPalette EmphasisedPalette(const DisplayPalette& colours, uint8_t emphasis);

}  // namespace wrenfold
