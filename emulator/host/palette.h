// The NES colour table: the RGB value of every display palette index the renderer writes,
// and the grey version used when the configuration asks for no colour.
#pragma once

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

}  // namespace wrenfold
