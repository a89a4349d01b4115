// wrenfold-headless: runs a cartridge for a number of frames without a window, for golden
// frames, test cartridges, traces, sound captures and speed measurements.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/headless_runner/headless_run.h"
#include "tools/headless_runner/runner_options.h"

int main(int argc, char** argv) {
  using namespace wrenfold::headless;
  RunnerOptions options;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (const auto error = ParseRunnerOptions(arguments, options)) {
    std::fprintf(stderr, "wrenfold-headless: %s\n\n%s", error->c_str(), kUsageText);
    return 2;
  }
  if (options.help) {
    std::fputs(kUsageText, stdout);
    return 0;
  }
  return RunHeadless(options);
}
