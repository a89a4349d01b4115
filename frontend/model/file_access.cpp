#include "frontend/model/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

#include "files/regular_file.h"

namespace wrenfold {

namespace {

namespace fs = std::filesystem;

std::string ErrnoText(std::string_view what, int error) {
  return std::string(what) + ": " + std::strerror(error);
}

bool ProcessInGroup(gid_t group) {
  if (getegid() == group) return true;
  int count = getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<size_t>(count));
  count = getgroups(count, groups.data());
  return count > 0 && std::find(groups.begin(), groups.begin() + count, group) != groups.end();
}

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(written);
  }
  return true;
}

// A fresh name beside the target; O_EXCL at open time settles any collision.
fs::path TemporarySibling(const fs::path& target, int attempt) {
  static std::atomic<unsigned> counter{0};
  std::string name = "." + target.filename().string() + ".tmp" + std::to_string(getpid()) + "_" +
                     std::to_string(counter.fetch_add(1)) + "_" + std::to_string(attempt);
  return target.parent_path() / name;
}

}  // namespace

TextFileRead ReadTextFile(const fs::path& path, size_t maxBytes) {
  TextFileRead result;
  RegularFileRead file = ReadRegularFile(path, maxBytes);
  switch (file.status) {
    case RegularFileStatus::kOk:
      result.status = TextFileStatus::Ok;
      result.bytes = std::move(file.bytes);
      break;
    case RegularFileStatus::kMissing:
      result.status = TextFileStatus::Missing;
      break;
    case RegularFileStatus::kTooLarge:
      result.status = TextFileStatus::TooLarge;
      result.detail = path.string() + ": longer than " + std::to_string(maxBytes) + " bytes";
      break;
    // A folder, pipe or device is not a settings file; opening a pipe would wait forever.
    case RegularFileStatus::kNotRegular:
    case RegularFileStatus::kCannotOpen:
    case RegularFileStatus::kReadFailed:
      result.status = TextFileStatus::Unreadable;
      result.detail = path.string() + ": " + RegularFileProblemText(file.status, file.error);
      break;
  }
  return result;
}

bool IsWriteProtected(const fs::path& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;
  mode_t writeBit = S_IWOTH;
  if (geteuid() == info.st_uid) {
    writeBit = S_IWUSR;
  } else if (ProcessInGroup(info.st_gid)) {
    writeBit = S_IWGRP;
  }
  if ((info.st_mode & writeBit) == 0) return true;
  return access(path.c_str(), W_OK) != 0;
}

FileReplaceResult ReplaceFileContents(const fs::path& path, std::string_view bytes) {
  FileReplaceResult result;
  std::error_code error;
  fs::path target = path;
  if (fs::is_symlink(path, error)) {
    fs::path resolved = fs::weakly_canonical(path, error);
    if (!error) target = resolved;
  }

  struct stat existing {};
  bool targetExists = stat(target.c_str(), &existing) == 0;
  if (targetExists && IsWriteProtected(target)) {
    result.detail = target.string() + ": the file is read-only";
    return result;
  }

  fs::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temporary = TemporarySibling(target, attempt);
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    result.detail = ErrnoText(temporary.string(), errno);
    return result;
  }

  bool written = WriteAll(fd, bytes);
  int savedErrno = errno;
  if (written && targetExists) {
    written = fchmod(fd, existing.st_mode & 07777) == 0;
    savedErrno = errno;
  }
  if (written) {
    written = fsync(fd) == 0;
    savedErrno = errno;
  }
  if (close(fd) != 0 && written) {
    written = false;
    savedErrno = errno;
  }
  if (written && rename(temporary.c_str(), target.c_str()) != 0) {
    written = false;
    savedErrno = errno;
  }
  if (!written) {
    unlink(temporary.c_str());
    result.detail = ErrnoText(target.string(), savedErrno);
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace wrenfold
