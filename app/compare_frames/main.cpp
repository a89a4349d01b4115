// compare-frames: compares our frames with those of a reference emulator run as a libretro
// core, and learns the reference's palette from our palette chart cartridge.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/frame_compare/compare_commands.h"
#include "tools/frame_compare/compare_options.h"

int main(int argc, char** argv) {
  using namespace wrenfold::compare;
  CompareOptions options;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (const auto error = ParseCompareOptions(arguments, options)) {
    std::fprintf(stderr, "compare-frames: %s\n\n%s", error->c_str(), kCompareUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kCompareUsage, stdout);
    return 0;
  }
  return options.command == Command::kCalibrate ? RunCalibration(options) : RunComparison(options);
}
