#include "tools/headless_runner/bench_report.h"

#include <sys/resource.h>

#include <cstdio>

namespace wrenfold::headless {

uint64_t PeakResidentKilobytes() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  // Linux reports ru_maxrss in kilobytes.
  return usage.ru_maxrss > 0 ? static_cast<uint64_t>(usage.ru_maxrss) : 0;
}

std::string FormatBenchLine(const std::string& coreName, uint32_t frames, double seconds,
                            uint64_t peakKilobytes) {
  const double fps = seconds > 0 ? frames / seconds : 0.0;
  char line[160];
  std::snprintf(line, sizeof line, "core=%s frames=%u seconds=%.3f fps=%.0f peak_rss_kb=%llu",
                coreName.c_str(), frames, seconds, fps,
                static_cast<unsigned long long>(peakKilobytes));
  return line;
}

}  // namespace wrenfold::headless
