// Physical key positions of SDL to DirectInput (PC set-1) scan codes. Both name positions,
// not characters, so the mapping is the same for every keyboard layout.
#pragma once

#include <SDL_scancode.h>

#include <cstdint>

namespace wrenfold {

// 0 for a key that has no DirectInput scan code.
uint8_t DikFromSdlScancode(SDL_Scancode scancode);

}  // namespace wrenfold
