// A fresh folder under the system's temporary folder for one test, removed afterwards, with
// helpers to write and read whole files in it.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace wrenfold::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> counter{0};
    folder = std::filesystem::temp_directory_path() /
             ("wrenfold_fe_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(folder, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return folder; }
  std::filesystem::path operator/(std::string_view name) const { return folder / name; }

  std::filesystem::path Write(std::string_view name, std::string_view bytes) const {
    std::filesystem::path path = folder / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Names in the folder, to prove no temporary file was left behind.
  int EntryCount() const {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(folder),
                                          std::filesystem::directory_iterator()));
  }

 private:
  std::filesystem::path folder;
};

}  // namespace wrenfold::testing
