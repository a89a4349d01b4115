// The speed figures of a --bench run.
#pragma once

#include <cstdint>
#include <string>

namespace wrenfold::headless {

// Peak resident set of this process so far, in kilobytes (0 when it cannot be read).
uint64_t PeakResidentKilobytes();

// "core=wrenfold-second frames=3000 seconds=0.271 fps=11070 peak_rss_kb=9000", in the
// layout the reference tool prints, so scripts read both alike.
std::string FormatBenchLine(const std::string& coreName, uint32_t frames, double seconds,
                            uint64_t peakKilobytes);

}  // namespace wrenfold::headless
