// Finding the emulator's named files (Wrenfold.CFG and the like) in a folder the way a
// Windows user who wrote the name in another letter case expects.
#pragma once

#include <filesystem>
#include <string_view>

namespace wrenfold {

// `folder`/`name` when that file exists; otherwise the alphabetically first entry of `folder`
// whose name equals `name` apart from ASCII letter case; otherwise `folder`/`name` unchanged.
std::filesystem::path FindFileInFolder(const std::filesystem::path& folder, std::string_view name);

}  // namespace wrenfold
