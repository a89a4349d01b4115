#include "frontend/model/screenshot_path.h"

#include <cstdio>

#include "files/file_lookup.h"

namespace wrenfold {

std::string ScreenshotDosPath(int entryNumber, char letter) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", entryNumber);
  return std::string(".\\ScrShots\\AG") + digits + letter + ".GIF";
}

std::filesystem::path PathFromDosRelative(std::string_view dosPath) {
  if (dosPath.starts_with(".\\")) dosPath.remove_prefix(2);
  std::filesystem::path path;
  while (!dosPath.empty()) {
    const size_t separator = dosPath.find('\\');
    const std::string_view part = dosPath.substr(0, separator);
    if (!part.empty()) path /= std::string(part);
    if (separator == std::string_view::npos) break;
    dosPath.remove_prefix(separator + 1);
  }
  return path;
}

std::optional<std::filesystem::path> FindScreenshot(const std::filesystem::path& workingFolder,
                                                    int entryNumber, char letter) {
  return LocateFileIgnoringCase(workingFolder,
                                PathFromDosRelative(ScreenshotDosPath(entryNumber, letter)));
}

char OtherScreenshotLetter(char letter) {
  return static_cast<char>(letter ^ 3);
}

}  // namespace wrenfold
