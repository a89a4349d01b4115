// The command line of compare-frames.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wrenfold::compare {

enum class Command : uint8_t { kNone, kCompare, kCalibrate };

// Our NTSC picture draws 232 lines and leaves the last 8 blank (F10 shows them), so only the
// rows above are compared unless asked otherwise.
inline constexpr int kDefaultComparedLines = 232;
inline constexpr int kDefaultWindow = 2;

struct CompareOptions {
  Command command = Command::kNone;
  std::string corePath;
  std::string romPath;
  std::string oursDirectory;        // frame-N.png from wrenfold-headless --png-frames
  std::vector<uint32_t> frames;     // compare: the frames; calibrate: only the last counts
  std::string inputScriptPath;      // compare: player 1's buttons, as given to our run
  std::string palettePath;          // compare: read; calibrate: written
  std::string sideBySideDirectory;  // compare: where frame-N.png pictures go (empty: none)
  int lines = kDefaultComparedLines;
  int window = kDefaultWindow;  // reference frames from N - window to N + window are tried
  bool help = false;
};

extern const char* const kCompareUsage;

// Returns the reason when the arguments cannot be used.
std::optional<std::string> ParseCompareOptions(const std::vector<std::string>& arguments,
                                               CompareOptions& options);

}  // namespace wrenfold::compare
