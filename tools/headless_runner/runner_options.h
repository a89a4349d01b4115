// The command line of wrenfold-headless.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wrenfold::headless {

inline constexpr uint32_t kDefaultFrameCount = 600;

// Where the end-of-run verdict is read from.
enum class VerdictSource : uint8_t {
  kAuto,        // the $6000 status when its signature is there, else the $00F8 result byte
  kStatus,      // only the $6000 status block
  kResultByte,  // only the $00F8 result byte
  kNone,        // no verdict: exit 0 after a clean run
};

enum class CoreChoice : uint8_t { kReference, kSecond, kFull };

struct RunnerOptions {
  std::string romPath;
  uint32_t frames = kDefaultFrameCount;
  std::string inputScriptPath;       // empty: no buttons are pressed
  std::string pngPath;               // empty: no picture is written
  std::vector<uint32_t> hashFrames;  // sorted, without repeats
  std::vector<uint32_t> pngFrames;   // sorted, without repeats; written into pngDirectory
  std::string pngDirectory = ".";
  bool bench = false;
  bool trace = false;
  // --no-battery: battery RAM is neither read nor written, so a measurement never depends on
  // an earlier run nor leaves a file beside somebody else's cartridges.
  bool battery = true;
  std::string wavPath;                    // empty: the sound is not rendered
  CoreChoice core = CoreChoice::kSecond;  // the emulator's own default
  VerdictSource verdict = VerdictSource::kAuto;
  bool untilVerdict = false;  // stop at the first final $6000 status
  std::string logPath;        // empty: the emulator's log is discarded
  // --peek: CPU memory printed beside every hashed frame (count 0: none).
  uint16_t peekAddress = 0;
  uint16_t peekCount = 0;
  bool help = false;
};

// The --help text, with the input script format.
extern const char* const kUsageText;

// Fills `options` from the arguments after the program name. Returns the reason when they
// cannot be used (unknown option, missing or malformed value, no ROM).
std::optional<std::string> ParseRunnerOptions(const std::vector<std::string>& arguments,
                                              RunnerOptions& options);

// "60,300,3000" -> {60, 300, 3000}; every entry a frame number from 1. Sorted, repeats dropped.
std::optional<std::vector<uint32_t>> ParseFrameList(const std::string& text);

// "6000:8" -> address $6000, 8 bytes; "6000" alone is one byte. At most 256 bytes, and the
// range must stay below $10000.
std::optional<std::pair<uint16_t, uint16_t>> ParsePeekRange(const std::string& text);

// A decimal number of at most 9 digits (so it fits and stays meaningful as a frame count).
std::optional<uint32_t> ParseCount(const std::string& text);

}  // namespace wrenfold::headless
