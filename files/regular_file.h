// Opening the files a user names without trusting what they are. Only a regular file (or a link
// to one) is opened, and the open never waits: a FIFO, a device such as /dev/zero, a socket or a
// folder is refused before it is opened. Whole-file reads stop at the size the caller's format
// allows, so an endless or huge file is never read through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace wrenfold {

enum class RegularFileStatus : uint8_t {
  kOk,
  kMissing,     // nothing of that name
  kNotRegular,  // a folder, FIFO, device or socket
  kCannotOpen,  // the system refused the open (permissions, a dangling link, ...)
  kReadFailed,  // opened, but a read failed
  kTooLarge,    // longer than the reader allows
};

// Opens `path` with `accessFlags` (O_RDONLY, O_WRONLY or O_RDWR) when it is a regular file.
// Returns the descriptor, or -1 with `status` (never kOk) and `error` (the errno, 0 for
// kNotRegular) set.
int OpenRegularFile(const std::filesystem::path& path, int accessFlags, RegularFileStatus& status,
                    int& error);

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// The same for reading through stdio ("rb"); null on refusal.
std::FILE* OpenRegularFileStream(const std::filesystem::path& path, RegularFileStatus& status,
                                 int& error);

struct RegularFileRead {
  RegularFileStatus status = RegularFileStatus::kMissing;
  int error = 0;      // errno of a failed open or read
  std::string bytes;  // the whole file; for kTooLarge its first maxBytes + 1 bytes
};

// Reads the whole file when it holds at most `maxBytes`. A longer file is kTooLarge; the read
// stops after maxBytes + 1 bytes.
RegularFileRead ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

// "not a regular file", or the system's text for `error`.
std::string RegularFileProblemText(RegularFileStatus status, int error);

}  // namespace wrenfold
