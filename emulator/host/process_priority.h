// The emulator paces frames by watching the clock, so it asks for a high scheduling priority.
#pragma once

namespace wrenfold {

// Raises the scheduling priority of the calling thread, which runs the whole emulation.
// False when the system refuses (an ordinary user may not raise it); the emulator then runs
// at normal priority.
bool RaiseProcessPriority();

}  // namespace wrenfold
