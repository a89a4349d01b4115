// Finding the files both programs name (Wrenfold.CFG, Wrenfold.PER, the databases, the
// screenshots, the save files beside a ROM) on a file system that compares names with case, the
// way a user who wrote a name in another letter case expects: the exact name first, then a name
// that differs only in ASCII letter case, folder by folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace wrenfold {

// The existing regular file base/relative (relative may hold folders), or nothing. Each part is
// found by its exact name, else by the first entry in name order that equals it apart from
// ASCII letter case.
std::optional<std::filesystem::path> LocateFileIgnoringCase(const std::filesystem::path& base,
                                                            const std::filesystem::path& relative);

// The file to read or replace for `name` in `folder`: the one LocateFileIgnoringCase finds,
// otherwise `folder`/`name` (where a new file is made).
std::filesystem::path FindFileInFolder(const std::filesystem::path& folder, std::string_view name);

}  // namespace wrenfold
