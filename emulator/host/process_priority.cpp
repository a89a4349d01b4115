#include "emulator/host/process_priority.h"

#include <sys/resource.h>

namespace wrenfold {
namespace {

// A nice value well ahead of ordinary programs, below the range kept for the system.
constexpr int kHighPriorityNice = -10;

}  // namespace

bool RaiseProcessPriority() {
  // On Linux a "process" priority with id 0 applies to the calling thread.
  return setpriority(PRIO_PROCESS, 0, kHighPriorityNice) == 0;
}

}  // namespace wrenfold
