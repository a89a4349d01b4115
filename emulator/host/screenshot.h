// F12: the picture as the screen buffer shows it, saved as a PNG file in Screenshots/ of the
// working folder, named after the game and the moment it was taken.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "emulator/host/host_state.h"

namespace wrenfold {

inline constexpr const char* kScreenshotFolder = "Screenshots";

// "<game>_<YYYY-MM-DD>_<HH-MM-SS>.png", the game being the ROM file name without its folder
// and extension ("wrenfold" when there is none); `attempt` 2, 3, ... adds "_2", "_3" for a
// name already taken.
std::string ScreenshotFileName(std::string_view romPath, const std::tm& localTime, int attempt);

// Saves the picture area of the screen buffer through the display palette and logs the file
// written ("Screenshot: Screenshots/...png") or why nothing was ("Screenshot failed: ...").
void SaveScreenshot(const HostState& host);

}  // namespace wrenfold
