// Writing a user's file without ever leaving it half written: the bytes go to a temporary file
// beside it, which is flushed to the disk and then renamed over the old file in one step. A
// failed or interrupted write leaves the old file as it was.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <vector>

namespace wrenfold {

class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile() { Abandon(); }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file beside `target`. False when the folder cannot take it.
  bool Open(const std::filesystem::path& target);
  // Appends to the temporary file. False when the bytes could not all be written; the file
  // then takes no more and Commit fails.
  bool Write(std::span<const uint8_t> bytes);
  // Makes the written bytes the target's contents. False (and the target untouched) when
  // anything failed since Open.
  bool Commit();
  // Removes the temporary file; the target stays as it was.
  void Abandon();

  bool IsOpen() const { return file != nullptr; }
  const std::filesystem::path& Target() const { return target; }

 private:
  std::FILE* file = nullptr;
  std::filesystem::path target;
  std::filesystem::path temporary;
  bool failed = false;
};

// Open, Write and Commit in one call.
bool ReplaceFileContents(const std::filesystem::path& target, std::span<const uint8_t> bytes);

// Reads the start of the file into `bytes`: all of it when it holds at most `limit` bytes,
// else `limit` + 1 bytes, so a file that is too long shows as such without being read whole.
// False when the file cannot be opened or read, or is not a regular file.
bool ReadFileStart(const std::filesystem::path& path, std::size_t limit,
                   std::vector<uint8_t>& bytes);

}  // namespace wrenfold
