// One run of a cartridge without a window: the headless services, the emulator's own
// start-up, RunFrame after RunFrame with no pacing, and what the options ask to be recorded.
#pragma once

#include "tools/headless_runner/runner_options.h"

namespace wrenfold::headless {

// Runs the cartridge as `options` say, printing hashes, figures and the verdict on standard
// output and problems on standard error. Returns the process exit status.
int RunHeadless(const RunnerOptions& options);

}  // namespace wrenfold::headless
