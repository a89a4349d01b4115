// The FDS loader's rules: which files it lists and what a start from it asks the patcher to
// write. The loader shares the main window's patch-and-write routine and its item limit.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/model/emulator_config.h"

namespace wrenfold {

// The disk images of the ROM directory: regular files ending in ".fds" in any case, sorted by
// name. `folderUnreadable` (optional) reports a directory that could not be listed.
std::vector<std::string> ListFdsImages(const std::filesystem::path& romDirectory,
                                       bool* folderUnreadable = nullptr);

// The start request of the loader's start button: the main window's directory, IRQ adjustment
// and display device with the selected disk image as BOOT=. No request without a selection,
// so the button never writes an empty BOOT=.
std::optional<LaunchRequest> FdsLaunchRequest(std::string_view selectedImage,
                                              const LaunchRequest& mainWindowRequest);

}  // namespace wrenfold
