// The sprite flags of $2002 on a line that is not drawn.
#pragma once

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// Sets the sprite-0 and sprite-overflow bits of $2002 for `line` from sprite memory alone,
// as an undrawn frame does in place of drawing.
void CountSpritesOnLine(MachineState& machine, int line);

}  // namespace wrenfold
