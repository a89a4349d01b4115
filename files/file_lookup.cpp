#include "files/file_lookup.h"

#include <algorithm>
#include <string>
#include <system_error>

namespace wrenfold {
namespace {

std::string AsciiLower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
  return text;
}

// The entry of folder named like name: the exact name, else the first (in name order) that
// differs only in case.
std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& folder,
                                               const std::string& name) {
  std::error_code error;
  if (std::filesystem::exists(folder / name, error)) return folder / name;
  const std::string wanted = AsciiLower(name);
  std::optional<std::string> best;
  std::filesystem::directory_iterator it(folder.empty() ? "." : folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::string candidate = it->path().filename().string();
    if (AsciiLower(candidate) == wanted && (!best || candidate < *best)) best = candidate;
  }
  if (!best) return std::nullopt;
  return folder / *best;
}

}  // namespace

std::optional<std::filesystem::path> LocateFileIgnoringCase(const std::filesystem::path& base,
                                                            const std::filesystem::path& relative) {
  std::filesystem::path current = base;
  for (const std::filesystem::path& part : relative) {
    const std::string name = part.string();
    if (name.empty() || name == ".") continue;
    const auto found = FindEntry(current, name);
    if (!found) return std::nullopt;
    current = *found;
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(current, error)) return std::nullopt;
  return current;
}

std::filesystem::path FindFileInFolder(const std::filesystem::path& folder, std::string_view name) {
  return LocateFileIgnoringCase(folder, name).value_or(folder / name);
}

}  // namespace wrenfold
