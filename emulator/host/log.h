// The emulator's text log, wrenfold.tst in the working folder. Every write opens the file,
// appends and closes it again, so the log survives a crash. Write failures are ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wrenfold {

inline constexpr const char* kDefaultLogPath = "wrenfold.tst";

// Truncates the log to empty.
void ResetLog();
// Appends exactly `length` bytes of `text`.
void LogText(const char* text, std::size_t length);
inline void LogText(std::string_view text) { LogText(text.data(), text.size()); }
// Appends the value in decimal followed by "\n".
void LogNumber(int32_t value);
// Appends the display-service name of a failure code (see log.cpp for the tables).
void LogDirectDrawError(uint32_t code);
// Appends the input-service name of a failure code.
void LogDirectInputError(uint32_t code);

// Where the log goes; tests point it at a temporary file. Default: kDefaultLogPath.
void SetLogPath(std::string path);
const std::string& LogPath();

}  // namespace wrenfold
