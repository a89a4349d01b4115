// Screenshots of encyclopedia entry e: ScrShots/AG<e as 4 digits><A or B>.GIF under the
// working folder, written in the database world as ".\ScrShots\AG0012A.GIF".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace wrenfold {

// ".\ScrShots\AG0012A.GIF" for entry 12, letter 'A'.
std::string ScreenshotDosPath(int entryNumber, char letter);

// A relative path with "\" separators and an optional ".\" in front, as a path of this system:
// ".\ScrShots\AG0012A.GIF" -> "ScrShots/AG0012A.GIF".
std::filesystem::path PathFromDosRelative(std::string_view dosPath);

// The screenshot file under the working folder: the exact name, else one differing only in
// case. Nothing when there is none.
std::optional<std::filesystem::path> FindScreenshot(const std::filesystem::path& workingFolder,
                                                    int entryNumber, char letter);

// "Another": A becomes B and B becomes A (the character code XOR 3).
char OtherScreenshotLetter(char letter);

}  // namespace wrenfold
