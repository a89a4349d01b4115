// The cartridge IRQ counters that the frame driver clocks once per scanline, before the CPU
// runs the line. A board's counter steps are looked up once per frame by mapper number.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// One counter step. `irqAdjust` is the configured correction of the 114 cycles a line is
// taken to last; `line` is the scanline about to run (0 = first visible line).
using MapperIrqStep = void (*)(MachineState& machine, int16_t irqAdjust, uint16_t line);

struct MapperIrqSteps {
  MapperIrqStep everyLine = nullptr;    // every line of the frame, first of all
  MapperIrqStep visibleLine = nullptr;  // lines 0-239 only, after everyLine
};

// The steps of the board `mapperNumber`; both are null for a board without an IRQ counter.
MapperIrqSteps MapperIrqStepsFor(uint8_t mapperNumber);

}  // namespace wrenfold
