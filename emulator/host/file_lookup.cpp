#include "emulator/host/file_lookup.h"

#include <string>
#include <system_error>

namespace wrenfold {
namespace {

char FoldCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

}  // namespace

std::filesystem::path FindFileInFolder(const std::filesystem::path& folder, std::string_view name) {
  const std::filesystem::path exact = folder / name;
  std::error_code error;
  if (std::filesystem::exists(exact, error)) return exact;

  std::string bestName;
  std::filesystem::directory_iterator entry(folder.empty() ? "." : folder, error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::string entryName = entry->path().filename().string();
    if (EqualIgnoringCase(entryName, name) && (bestName.empty() || entryName < bestName)) {
      bestName = entryName;
    }
  }
  return bestName.empty() ? exact : folder / bestName;
}

}  // namespace wrenfold
