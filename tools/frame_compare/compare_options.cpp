#include "tools/frame_compare/compare_options.h"

#include "tools/headless_runner/runner_options.h"

namespace wrenfold::compare {

const char* const kCompareUsage =
    "usage: compare-frames compare --core CORE.so --rom ROM --ours DIR --frames LIST\n"
    "                      --palette FILE [--input SCRIPT] [--side-by-side DIR]\n"
    "                      [--window N] [--lines N]\n"
    "       compare-frames calibrate --core CORE.so --rom CHART --ours DIR --frames N\n"
    "                      --palette FILE [--lines N]\n"
    "\n"
    "compare: runs the cartridge in the libretro core CORE.so with the same input script and\n"
    "compares each listed frame with ours, DIR/frame-N.png as written by wrenfold-headless\n"
    "--png-frames. Prints \"frame N similarity S offset K steady yes|no\": S is the share of\n"
    "pixels whose colour number shows, in the reference's palette, as the reference's pixel,\n"
    "best over the reference's frames N-window to N+window (default window 2; K is the frame\n"
    "taken minus N); steady tells whether those reference frames are all alike. The top 232\n"
    "lines are compared (--lines). --side-by-side writes DIR/frame-N.png:\n"
    "ours, the reference's, and the differing pixels in red.\n"
    "\n"
    "calibrate: runs the palette chart cartridge (wrenfold_palette_chart.nes) in the core for\n"
    "N frames; our frames 1 to N in DIR tell which colour number each frame shows. Writes\n"
    "the reference's colour of each number to the palette FILE (\"NN RRGGBB\" lines).\n"
    "\n"
    "Exit status: 0 done, 2 bad arguments or an error.\n";

namespace {

std::optional<std::string> ParseCommandName(const std::string& word, CompareOptions& options) {
  if (word == "compare") {
    options.command = Command::kCompare;
  } else if (word == "calibrate") {
    options.command = Command::kCalibrate;
  } else {
    return "the command is compare or calibrate, not \"" + word + "\"";
  }
  return std::nullopt;
}

std::optional<std::string> ApplyValue(const std::string& option, const std::string& value,
                                      CompareOptions& options) {
  if (option == "--core") {
    options.corePath = value;
  } else if (option == "--rom") {
    options.romPath = value;
  } else if (option == "--ours") {
    options.oursDirectory = value;
  } else if (option == "--frames") {
    auto frames = headless::ParseFrameList(value);
    if (!frames) return "--frames needs frame numbers like 60,300, not \"" + value + "\"";
    options.frames = std::move(*frames);
  } else if (option == "--input") {
    options.inputScriptPath = value;
  } else if (option == "--palette") {
    options.palettePath = value;
  } else if (option == "--side-by-side") {
    options.sideBySideDirectory = value;
  } else if (option == "--window" || option == "--lines") {
    const std::optional<uint32_t> count = headless::ParseCount(value);
    constexpr uint32_t kLargestWindow = 30;
    constexpr uint32_t kLargestLines = 240;
    if (option == "--window") {
      if (!count || *count > kLargestWindow) return "--window needs 0 to 30 frames";
      options.window = static_cast<int>(*count);
    } else {
      if (!count || *count == 0 || *count > kLargestLines) return "--lines needs 1 to 240";
      options.lines = static_cast<int>(*count);
    }
  } else {
    return "unknown option " + option;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ParseCompareOptions(const std::vector<std::string>& arguments,
                                               CompareOptions& options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      return std::nullopt;
    }
    if (i == 0) {
      if (auto error = ParseCommandName(argument, options)) return error;
      continue;
    }
    if (i + 1 >= arguments.size()) return argument + " needs a value";
    if (auto error = ApplyValue(argument, arguments[++i], options)) return error;
  }
  if (options.command == Command::kNone) return "no command given";
  if (options.corePath.empty() || options.romPath.empty() || options.oursDirectory.empty() ||
      options.frames.empty() || options.palettePath.empty()) {
    return "--core, --rom, --ours, --frames and --palette are all needed";
  }
  return std::nullopt;
}

}  // namespace wrenfold::compare
