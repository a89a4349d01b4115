#include "emulator/host/log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

namespace wrenfold {
namespace {

// Where the log is written. Kept in one record so tests can redirect and restore it.
struct LogSettings {
  std::string path = kDefaultLogPath;
};

LogSettings& TheLogSettings() {
  static LogSettings settings;
  return settings;
}

struct ErrorName {
  uint32_t code;
  std::string_view name;
};

// Some names end their line and some do not, so the entry after them runs on.
// clang-format off
constexpr ErrorName kDirectDrawErrorNames[] = {
    {0x80004001u, "DD_UNSUPPORTED"},
    {0x80004005u, "DD_GENERIC"},
    {0x8007000Eu, "DD_OutMemory\n"},
    {0x80070057u, "DD_INVALIDPARAMS"},
    {0x8876006Eu, "DD_INVALIDCLIPLIST"},
    {0x88760078u, "DD_INVALIDMODE\n"},
    {0x88760082u, "DD_INVALIDOBJECT"},
    {0x88760096u, "DD_INVALIDRECT"},
    {0x887600B4u, "DD_NOALPHAHW"},
    {0x887600CDu, "DD_NOCLIPLIST"},
    {0x887600E1u, "DD_NOEXC\n"},
    {0x887600FAu, "DD_NOMIRRORHW"},
    {0x88760118u, "DD_NORASTEROPHW"},
    {0x887601AEu, "DD_SURFACEBUSY"},
    {0x887601C2u, "DD_SURFACELOST"},
    {0x8876021Cu, "DD_WASSTILLDRAWING\n"},
    {0x8876023Fu, "DD_NOBLTHW"},
    {0x88760240u, "DD_NODDROPSHW"},
};
// clang-format on
constexpr std::string_view kUnknownDirectDrawError = "DD_Not in Pellam's List:)";

// clang-format off
constexpr ErrorName kDirectInputErrorNames[] = {
    {0x80004002u, "DIERR_NOINTERFACE\n"},
    {0x80004005u, "DIERR_GENERIC\n"},
    {0x80040154u, "DIERR_DEVICENOTREG\n"},
    {0x80040201u, "DIERR_DEVICEFULL\n"},
    {0x80040202u, "DIERR_MOREDATA\n"},
    {0x80070002u, "DIERR_NOTFOUND\n"},
    {0x80070005u, "DIERR_HANDLEEXISTS\n"},
    {0x8007000Cu, "DIERR_NOTACQUIRED\n"},
    {0x8007000Eu, "DIERR_OUTOFMEMORY\n"},
    {0x80070015u, "DIERR_NOTINITIALIZED\n"},
    {0x8007001Eu, "DIERR_INPUTLOST\n"},
    {0x80070057u, "DIERR_INVALIDPARAM\n"},
    {0x800700AAu, "DIERR_ACQUIRED\n"},
    {0x80070481u, "DIERR_BETADIRECTINPUTVEZSION\n"},
    {0x800704DFu, "DIERR_ALREADYINITIALIZED\n"},
};
// clang-format on
constexpr std::string_view kUnknownDirectInputError = "DIERR_Not in Pellam's list\n";

template <std::size_t N>
std::string_view FindErrorName(const ErrorName (&table)[N], uint32_t code,
                               std::string_view fallback) {
  for (const ErrorName& entry : table) {
    if (entry.code == code) return entry.name;
  }
  return fallback;
}

// Opens the log (emptied first when `truncate`), writes the bytes and closes it; any failure
// is silently dropped because the program must run on without a log. A log name that is a
// FIFO or a device is left alone: writing there could wait forever or never end.
void WriteToLog(bool truncate, const char* text, std::size_t length) {
  const char* path = TheLogSettings().path.c_str();
  struct stat info {};
  if (::stat(path, &info) == 0 && !S_ISREG(info.st_mode)) return;
  const int flags =
      O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (truncate ? O_TRUNC : O_APPEND);
  const int fd = ::open(path, flags, 0666);
  if (fd < 0) return;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    while (length > 0) {
      const ssize_t written = ::write(fd, text, length);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) break;
      text += written;
      length -= static_cast<std::size_t>(written);
    }
  }
  ::close(fd);
}

}  // namespace

void ResetLog() {
  WriteToLog(true, nullptr, 0);
}

void LogText(const char* text, std::size_t length) {
  if (text == nullptr) return;
  WriteToLog(false, text, length);
}

void LogNumber(int32_t value) {
  char digits[16];
  const int length = std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
  if (length > 0) WriteToLog(false, digits, static_cast<std::size_t>(length));
  LogText("\n");
}

void LogDirectDrawError(uint32_t code) {
  LogText(FindErrorName(kDirectDrawErrorNames, code, kUnknownDirectDrawError));
}

void LogDirectInputError(uint32_t code) {
  LogText(FindErrorName(kDirectInputErrorNames, code, kUnknownDirectInputError));
}

void SetLogPath(std::string path) {
  TheLogSettings().path = std::move(path);
}

const std::string& LogPath() {
  return TheLogSettings().path;
}

}  // namespace wrenfold
