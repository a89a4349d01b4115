#include "emulator/host/host_state.h"

namespace wrenfold {

HostState& TheHost() {
  static HostState host;
  return host;
}

}  // namespace wrenfold
