// A readable reason why a cartridge image did not load, for the runner's error message
// (the emulator itself only logs "Error reading ROM").
#pragma once

#include <string>

namespace wrenfold::headless {

// Looks at the file's header and size; an empty result means nothing obvious is wrong.
std::string DiagnoseRomImage(const std::string& path);

}  // namespace wrenfold::headless
