// Keys of input scripts, named as SDL names them ("F5", "0", "Keypad -", "Escape"), turned into
// the DirectInput scan codes the emulator's keyboard reports, through the SDL platform's own
// table, so a scripted key is exactly the key a player presses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace wrenfold::headless {

// Letter case does not matter. Nothing for a name SDL does not know or a key without a scan code.
std::optional<uint8_t> ScanCodeForKeyName(const std::string& name);

}  // namespace wrenfold::headless
