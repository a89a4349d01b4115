// File helpers shared by the front-end's text stores (Wrenfold.CFG, Wrenfold.PER) and the header
// repair: bounded whole-file reads, the write-permission test, and replacement of a file
// through a temporary copy so that a failed write never leaves a half-written file behind.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace wrenfold {

enum class TextFileStatus { Ok, Missing, Unreadable, TooLarge };

struct TextFileRead {
  TextFileStatus status = TextFileStatus::Missing;
  std::string bytes;
  std::string detail;  // system error text for the log or a message box; empty when Ok
};

// Reads the whole file, refusing files longer than `maxBytes`.
TextFileRead ReadTextFile(const std::filesystem::path& path, size_t maxBytes);

// True when the file's permission bits deny writing to the class (owner, group, others) the
// process belongs to, or the system refuses write access (a read-only mount). The bits are
// consulted even for the superuser, who could otherwise write anything: a file the user marked
// read-only stays untouched.
bool IsWriteProtected(const std::filesystem::path& path);

struct FileReplaceResult {
  bool ok = false;
  std::string detail;  // system error text when !ok
};

// Replaces the file with `bytes`: writes a temporary file in the same folder, flushes it to
// disk and renames it over the target, so the target holds either the old or the new text.
// A symbolic link is followed and its target replaced. An existing write-protected target is
// refused; its permission bits carry over to the new file.
FileReplaceResult ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

}  // namespace wrenfold
