// Finding the front-end's data files on a file system that compares names with case: the exact
// name first, then a name that differs only in case, folder by folder.
#pragma once

#include <filesystem>
#include <optional>

namespace wrenfold {

// The existing file base/relative (relative may hold folders), or nothing.
std::optional<std::filesystem::path> LocateFileIgnoringCase(const std::filesystem::path& base,
                                                            const std::filesystem::path& relative);

}  // namespace wrenfold
