#include "emulator/host/replacing_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "files/regular_file.h"

namespace wrenfold {
namespace {

constexpr int kTemporaryNameAttempts = 100;

// A new file beside `target`, named after it and this process so two emulators never share
// one. Created with the usual permissions (the umask applies).
std::FILE* CreateTemporaryBeside(const std::filesystem::path& target,
                                 std::filesystem::path& temporary) {
  const std::string stem = target.string() + ".tmp" + std::to_string(::getpid());
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporary = attempt == 0 ? stem : stem + "-" + std::to_string(attempt);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      std::FILE* file = ::fdopen(fd, "wb");
      if (file == nullptr) {
        ::close(fd);
        ::unlink(temporary.c_str());
        temporary.clear();
      }
      return file;
    }
    if (errno != EEXIST) break;
  }
  temporary.clear();
  return nullptr;
}

}  // namespace

bool ReplacingFile::Open(const std::filesystem::path& targetPath) {
  Abandon();
  target = targetPath;
  failed = false;
  file = CreateTemporaryBeside(target, temporary);
  return file != nullptr;
}

bool ReplacingFile::Write(std::span<const uint8_t> bytes) {
  if (file == nullptr || failed) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) failed = true;
  return !failed;
}

bool ReplacingFile::Commit() {
  if (file == nullptr) return false;
  // On the disk before the rename, so a power cut cannot leave the new name on empty data.
  if (failed || std::fflush(file) != 0 || ::fsync(::fileno(file)) != 0) failed = true;
  if (std::fclose(file) != 0) failed = true;
  file = nullptr;
  if (!failed && ::rename(temporary.c_str(), target.c_str()) == 0) {
    temporary.clear();
    return true;
  }
  ::unlink(temporary.c_str());
  temporary.clear();
  return false;
}

void ReplacingFile::Abandon() {
  if (file != nullptr) {
    std::fclose(file);
    file = nullptr;
  }
  if (!temporary.empty()) {
    ::unlink(temporary.c_str());
    temporary.clear();
  }
}

bool ReplaceFileContents(const std::filesystem::path& target, std::span<const uint8_t> bytes) {
  ReplacingFile file;
  return file.Open(target) && file.Write(bytes) && file.Commit();
}

bool ReadFileStart(const std::filesystem::path& path, std::size_t limit,
                   std::vector<uint8_t>& bytes) {
  const RegularFileRead file = ReadRegularFile(path, limit);
  const bool read =
      file.status == RegularFileStatus::kOk || file.status == RegularFileStatus::kTooLarge;
  bytes.assign(file.bytes.begin(), file.bytes.end());
  if (!read) bytes.clear();
  return read;
}

}  // namespace wrenfold
