#include "files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace wrenfold {
namespace {

RegularFileStatus StatusOfFailedOpen(int error) {
  return error == ENOENT || error == ENOTDIR ? RegularFileStatus::kMissing
                                             : RegularFileStatus::kCannotOpen;
}

}  // namespace

int OpenRegularFile(const std::filesystem::path& path, int accessFlags, RegularFileStatus& status,
                    int& error) {
  // Looked at before the open, so a device is never opened at all (opening some has effects).
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    error = errno;
    status = StatusOfFailedOpen(error);
    return -1;
  }
  if (!S_ISREG(info.st_mode)) {
    error = 0;
    status = RegularFileStatus::kNotRegular;
    return -1;
  }
  // Non-blocking, in case the name was swapped for a FIFO since; checked again on what opened.
  const int fd = ::open(path.c_str(), accessFlags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    status = StatusOfFailedOpen(error);
    return -1;
  }
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    error = 0;
    status = RegularFileStatus::kNotRegular;
    return -1;
  }
  // Reads of a regular file never wait anyway; the flag is dropped so nothing downstream sees it.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  status = RegularFileStatus::kOk;
  error = 0;
  return fd;
}

std::FILE* OpenRegularFileStream(const std::filesystem::path& path, RegularFileStatus& status,
                                 int& error) {
  const int fd = OpenRegularFile(path, O_RDONLY, status, error);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    error = errno;
    status = RegularFileStatus::kCannotOpen;
    ::close(fd);
  }
  return file;
}

RegularFileRead ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes) {
  RegularFileRead result;
  const int fd = OpenRegularFile(path, O_RDONLY, result.status, result.error);
  if (fd < 0) return result;
  // One byte more than allowed tells a file that is too long from one that fits exactly; a
  // file that grows while it is read cannot push the read past that.
  const std::size_t wanted = maxBytes + 1;
  char buffer[16384];
  while (result.bytes.size() < wanted) {
    const std::size_t ask = std::min(sizeof buffer, wanted - result.bytes.size());
    const ssize_t got = ::read(fd, buffer, ask);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.error = errno;
      result.status = RegularFileStatus::kReadFailed;
      ::close(fd);
      result.bytes.clear();
      return result;
    }
    if (got == 0) break;
    result.bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  result.status =
      result.bytes.size() > maxBytes ? RegularFileStatus::kTooLarge : RegularFileStatus::kOk;
  return result;
}

std::string RegularFileProblemText(RegularFileStatus status, int error) {
  switch (status) {
    case RegularFileStatus::kOk:
      return "";
    case RegularFileStatus::kNotRegular:
      return "not a regular file";
    case RegularFileStatus::kTooLarge:
      return "longer than the format allows";
    case RegularFileStatus::kMissing:
    case RegularFileStatus::kCannotOpen:
    case RegularFileStatus::kReadFailed:
      break;
  }
  return error != 0 ? std::strerror(error) : "cannot read the file";
}

}  // namespace wrenfold
