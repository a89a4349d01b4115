// A readable reason why a cartridge image did not load, for the messages of the emulator and
// the headless runner (the log only says "Error reading ROM").
#pragma once

#include <string>

namespace wrenfold {

// Looks at the file's header and size; an empty result means nothing obvious is wrong.
std::string DiagnoseRomImage(const std::string& path);

}  // namespace wrenfold
