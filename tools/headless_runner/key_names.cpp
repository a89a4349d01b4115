#include "tools/headless_runner/key_names.h"

#include <SDL_keyboard.h>

#include "platform/sdl/sdl_key_map.h"

namespace wrenfold::headless {

std::optional<uint8_t> ScanCodeForKeyName(const std::string& name) {
  // A plain table lookup: SDL needs no initialisation for it.
  const SDL_Scancode scancode = SDL_GetScancodeFromName(name.c_str());
  if (scancode == SDL_SCANCODE_UNKNOWN) return std::nullopt;
  const uint8_t scanCode = DikFromSdlScancode(scancode);
  if (scanCode == 0) return std::nullopt;
  return scanCode;
}

}  // namespace wrenfold::headless
