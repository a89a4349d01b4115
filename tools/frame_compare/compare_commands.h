// The two things compare-frames does: learn the reference's palette from the chart cartridge,
// and compare a cartridge's frames with the reference's.
#pragma once

#include "tools/frame_compare/compare_options.h"

namespace wrenfold::compare {

// Both print their results on standard output and return the exit status (0 or 2).
int RunCalibration(const CompareOptions& options);
int RunComparison(const CompareOptions& options);

}  // namespace wrenfold::compare
