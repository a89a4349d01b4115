#include "emulator/machine_state/machine_state.h"

#include <cstring>

namespace wrenfold {

void ResetMachineState(MachineState& machine) {
  std::memset(&machine, 0, sizeof machine);
}

MachineState& TheMachine() {
  // Zero-initialised static storage: the record starts as a freshly created machine.
  static MachineState machine;
  return machine;
}

}  // namespace wrenfold
