#include "emulator/host/save_file_paths.h"

#include <system_error>

#include "emulator/host/log.h"
#include "files/file_lookup.h"

namespace wrenfold {
namespace {

constexpr std::size_t kExtensionLength = 3;

// The exact name, or the file that differs from it only in letter case.
std::filesystem::path Locate(const std::filesystem::path& exact) {
  return FindFileInFolder(exact.parent_path(), exact.filename().string());
}

}  // namespace

std::string ExtensionFileName(std::string_view romPath, int32_t extensionIndex,
                              std::string_view extension) {
  const std::size_t slash = romPath.find_last_of('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const bool fits = extensionIndex >= 0 && static_cast<std::size_t>(extensionIndex) >= nameStart &&
                    static_cast<std::size_t>(extensionIndex) + kExtensionLength <= romPath.size();
  if (!fits) return std::string(romPath) + "." + std::string(extension);
  return std::string(romPath.substr(0, static_cast<std::size_t>(extensionIndex))) +
         std::string(extension);
}

std::filesystem::path SlotFilePath(std::string_view romPath, int32_t extensionIndex, uint8_t slot) {
  const char extension[] = {'S', 'V', static_cast<char>('0' + slot % 10)};
  return Locate(ExtensionFileName(romPath, extensionIndex, {extension, kExtensionLength}));
}

std::filesystem::path MovieFilePath(std::string_view romPath, int32_t extensionIndex) {
  return Locate(ExtensionFileName(romPath, extensionIndex, "MOV"));
}

std::filesystem::path BatteryFilePath(std::string_view romPath) {
  return Locate(std::filesystem::path(romPath).replace_extension("sav"));
}

bool IsTheRomImage(const std::filesystem::path& path, std::string_view romPath) {
  const std::filesystem::path rom(romPath);
  if (path == rom) return true;
  std::error_code error;
  return std::filesystem::equivalent(path, rom, error) && !error;
}

void LogFileEvent(std::string_view what, const std::filesystem::path& path,
                  std::string_view reason) {
  std::string line(what);
  line += ": ";
  line += path.string();
  if (!reason.empty()) {
    line += " (";
    line += reason;
    line += ")";
  }
  line += "\n";
  LogText(line);
}

}  // namespace wrenfold
