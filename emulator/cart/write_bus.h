// The CPU's write side: RAM, PPU registers and latches, sprite DMA, APU register images and
// change flags, the joypad strobe, cartridge RAM and the mapper registers.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

void WriteBus(MachineState& machine, uint16_t address, uint8_t value);

}  // namespace wrenfold
