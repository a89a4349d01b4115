// Names that are not regular files, as a user (or a prank) may leave them where a program
// expects its configuration, a cartridge or a save: a FIFO nobody writes to, links to endless
// devices, a folder, a link to nothing. And a guard that tells a call that returns from one
// that waits or reads forever.
#pragma once

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace wrenfold::test {

enum class SpecialFile { kFifo, kDevZero, kDevUrandom, kFolder, kDanglingLink };

inline constexpr SpecialFile kSpecialFiles[] = {SpecialFile::kFifo, SpecialFile::kDevZero,
                                                SpecialFile::kDevUrandom, SpecialFile::kFolder,
                                                SpecialFile::kDanglingLink};

inline std::string SpecialFileName(SpecialFile kind) {
  switch (kind) {
    case SpecialFile::kFifo:
      return "Fifo";
    case SpecialFile::kDevZero:
      return "LinkToDevZero";
    case SpecialFile::kDevUrandom:
      return "LinkToDevUrandom";
    case SpecialFile::kFolder:
      return "Folder";
    case SpecialFile::kDanglingLink:
      break;
  }
  return "DanglingLink";
}

// Puts a special file of `kind` at `path` (which must not exist yet).
inline bool MakeSpecialFile(const std::filesystem::path& path, SpecialFile kind) {
  std::error_code error;
  switch (kind) {
    case SpecialFile::kFifo:
      return ::mkfifo(path.c_str(), 0644) == 0;
    case SpecialFile::kDevZero:
      std::filesystem::create_symlink("/dev/zero", path, error);
      break;
    case SpecialFile::kDevUrandom:
      std::filesystem::create_symlink("/dev/urandom", path, error);
      break;
    case SpecialFile::kFolder:
      std::filesystem::create_directory(path, error);
      break;
    case SpecialFile::kDanglingLink:
      std::filesystem::create_symlink(path.string() + ".nowhere", path, error);
      break;
  }
  return !error;
}

// Runs `work` in a child process and reports whether it ended (with status 0) within `limit`;
// a child still busy then is killed, so a reader that blocks fails the test instead of
// hanging it.
inline bool EndsWithin(std::chrono::milliseconds limit, const std::function<bool()>& work) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(work() ? 0 : 1);
  if (child < 0) return false;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace wrenfold::test
