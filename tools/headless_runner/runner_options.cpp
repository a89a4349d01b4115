#include "tools/headless_runner/runner_options.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace wrenfold::headless {

const char* const kUsageText =
    "usage: wrenfold-headless ROM [options]\n"
    "Runs an iNES cartridge without a window, as fast as it goes (no pacing).\n"
    "\n"
    "  --frames N          frames to run (default 600)\n"
    "  --input SCRIPT      press player 1's buttons from a script (format below)\n"
    "  --png FILE          write the last drawn frame as a 256x240 RGB PNG\n"
    "  --hash-frames LIST  print the FNV-1a 64 hash of the palette-index picture of the\n"
    "                      listed frames (e.g. 60,300); frames count from 1\n"
    "  --png-frames LIST   write each listed frame as DIR/frame-N.png, an indexed PNG\n"
    "                      that keeps the colour numbers (DIR from --png-dir)\n"
    "  --png-dir DIR       folder of the --png-frames pictures (default .)\n"
    "  --bench             print frames per second and peak resident memory\n"
    "  --trace             print one CPU trace line per instruction\n"
    "  --no-battery        leave battery RAM alone: start with fresh RAM and write no\n"
    "                      game.sav (for measurements that must not depend on a run)\n"
    "  --wav FILE          write the mixed sound as a 22050 Hz 16-bit stereo WAV\n"
    "  --core reference|second|full\n"
    "                      CPU interpreter (default second); full runs the console's\n"
    "                      whole instruction set, undocumented opcodes included\n"
    "  --verdict auto|status|f8|none\n"
    "                      where the test result is read: the $6000 status block\n"
    "                      (signature DE B0 61, text from $6004), the $00F8 result\n"
    "                      byte, the first of those present (auto, default), or nowhere\n"
    "  --until-verdict     stop as soon as the $6000 status holds a final result\n"
    "  --peek ADDR[:N]     with each hashed frame, print N bytes (default 1, at most\n"
    "                      256) of CPU memory from hex address ADDR, e.g. 6000:8\n"
    "  --log FILE          keep the emulator's log in FILE (default: discarded)\n"
    "  --help              this text\n"
    "\n"
    "Input script: one event per line, '#' starts a comment.\n"
    "  FRAME BUTTONS   from frame FRAME on, exactly the listed buttons of player 1 are\n"
    "                  held (a b select start up down left right); \"-\" releases all\n"
    "  FRAME key NAME  the key NAME is pressed and released in frame FRAME, as a player\n"
    "                  taps it; NAME as SDL names keys: 0-9 choose the save slot, F5\n"
    "                  saves, F7 loads, F1 starts or stops recording the movie, F2\n"
    "                  starts or stops playing it; also Escape, F9, F10, Keypad -\n"
    "Frames count from 1 and never go back; two button lines cannot share a frame.\n"
    "Example:\n"
    "  90 start\n"
    "  100 -\n"
    "  100 key 3\n"
    "  100 key F5\n"
    "  120 right a\n"
    "  130 -\n"
    "  200 key F7\n"
    "\n"
    "Save states (game.SV0 to game.SV9) and the movie (game.MOV) are written and read\n"
    "beside the cartridge as the emulator does. A cartridge with battery RAM reads\n"
    "game.sav at the start and writes it back when the run ends (not with --no-battery).\n"
    "\n"
    "A status of $81 at $6000 (\"press reset\") is answered with a reset 10 frames\n"
    "(about 167 ms of emulated time) later.\n"
    "\n"
    "Exit status: 0 passed, or a clean run of a cartridge that reports nothing (or with\n"
    "--verdict none); 1 failed; 2 no verdict from the source read (a test still running,\n"
    "or nothing at the place --verdict status|f8 names), the CPU stopped on an unknown\n"
    "opcode, bad arguments or an error.\n";

namespace {

constexpr std::size_t kMaxCountDigits = 9;

bool TakesValue(const std::string& option) {
  static constexpr const char* kValued[] = {
      "--frames", "--input", "--png",     "--hash-frames", "--png-frames", "--png-dir",
      "--wav",    "--core",  "--verdict", "--log",         "--peek"};
  return std::ranges::any_of(kValued, [&](const char* name) { return option == name; });
}

std::optional<std::string> ApplyValue(const std::string& option, const std::string& value,
                                      RunnerOptions& options) {
  if (value.empty()) return option + " needs a value";
  if (option == "--frames") {
    const std::optional<uint32_t> count = ParseCount(value);
    if (!count || *count == 0) return "--frames needs a frame count from 1, not \"" + value + "\"";
    options.frames = *count;
  } else if (option == "--input") {
    options.inputScriptPath = value;
  } else if (option == "--png") {
    options.pngPath = value;
  } else if (option == "--hash-frames") {
    std::optional<std::vector<uint32_t>> frames = ParseFrameList(value);
    if (!frames) return "--hash-frames needs frame numbers like 60,300, not \"" + value + "\"";
    options.hashFrames = std::move(*frames);
  } else if (option == "--png-frames") {
    std::optional<std::vector<uint32_t>> frames = ParseFrameList(value);
    if (!frames) return "--png-frames needs frame numbers like 60,300, not \"" + value + "\"";
    options.pngFrames = std::move(*frames);
  } else if (option == "--png-dir") {
    options.pngDirectory = value;
  } else if (option == "--wav") {
    options.wavPath = value;
  } else if (option == "--core") {
    if (value == "reference") {
      options.core = CoreChoice::kReference;
    } else if (value == "second") {
      options.core = CoreChoice::kSecond;
    } else if (value == "full") {
      options.core = CoreChoice::kFull;
    } else {
      return "--core is reference, second or full, not \"" + value + "\"";
    }
  } else if (option == "--verdict") {
    if (value == "auto") {
      options.verdict = VerdictSource::kAuto;
    } else if (value == "status") {
      options.verdict = VerdictSource::kStatus;
    } else if (value == "f8") {
      options.verdict = VerdictSource::kResultByte;
    } else if (value == "none") {
      options.verdict = VerdictSource::kNone;
    } else {
      return "--verdict is auto, status, f8 or none, not \"" + value + "\"";
    }
  } else if (option == "--log") {
    options.logPath = value;
  } else if (option == "--peek") {
    const auto range = ParsePeekRange(value);
    if (!range) return "--peek needs a hex address and a count like 6000:8, not \"" + value + "\"";
    options.peekAddress = range->first;
    options.peekCount = range->second;
  }
  return std::nullopt;
}

}  // namespace

std::optional<uint32_t> ParseCount(const std::string& text) {
  if (text.empty() || text.size() > kMaxCountDigits) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  return value;
}

std::optional<std::pair<uint16_t, uint16_t>> ParsePeekRange(const std::string& text) {
  constexpr uint32_t kMaxPeekBytes = 256;
  const std::size_t colon = text.find(':');
  const std::string addressText = text.substr(0, colon);
  if (addressText.empty() || addressText.size() > 4) return std::nullopt;
  uint32_t address = 0;
  for (char c : addressText) {
    const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                      : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                                                                  : -1;
    if (digit < 0) return std::nullopt;
    address = address * 16 + static_cast<uint32_t>(digit);
  }
  uint32_t count = 1;
  if (colon != std::string::npos) {
    const std::optional<uint32_t> parsed = ParseCount(text.substr(colon + 1));
    if (!parsed) return std::nullopt;
    count = *parsed;
  }
  if (count == 0 || count > kMaxPeekBytes || address + count > 0x10000) return std::nullopt;
  return std::pair{static_cast<uint16_t>(address), static_cast<uint16_t>(count)};
}

std::optional<std::vector<uint32_t>> ParseFrameList(const std::string& text) {
  std::vector<uint32_t> frames;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::optional<uint32_t> frame = ParseCount(text.substr(start, comma - start));
    if (!frame || *frame == 0) return std::nullopt;
    frames.push_back(*frame);
    start = comma + 1;
  }
  std::ranges::sort(frames);
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
  return frames;
}

std::optional<std::string> ParseRunnerOptions(const std::vector<std::string>& arguments,
                                              RunnerOptions& options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--bench") {
      options.bench = true;
    } else if (argument == "--trace") {
      options.trace = true;
    } else if (argument == "--no-battery") {
      options.battery = false;
    } else if (argument == "--until-verdict") {
      options.untilVerdict = true;
    } else if (TakesValue(argument)) {
      if (i + 1 >= arguments.size()) return argument + " needs a value";
      if (std::optional<std::string> error = ApplyValue(argument, arguments[++i], options)) {
        return error;
      }
    } else if (argument.starts_with("--")) {
      return "unknown option " + argument;
    } else if (options.romPath.empty()) {
      options.romPath = argument;
    } else {
      return "only one cartridge can be run, got \"" + options.romPath + "\" and \"" + argument +
             "\"";
    }
  }
  if (!options.help && options.romPath.empty()) return "no cartridge given";
  return std::nullopt;
}

}  // namespace wrenfold::headless
