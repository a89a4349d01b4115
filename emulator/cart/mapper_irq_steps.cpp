#include "emulator/cart/mapper_irq_steps.h"

#include <array>

namespace wrenfold {
namespace {

struct IrqCounterBoard {
  uint8_t mapperNumber;
  MapperIrqSteps steps;
};

// Boards whose IRQ counters are clocked per scanline. None is registered yet, so every
// board runs without a counter.
constexpr std::array<IrqCounterBoard, 0> kIrqCounterBoards{};

}  // namespace

MapperIrqSteps MapperIrqStepsFor(uint8_t mapperNumber) {
  for (const IrqCounterBoard& board : kIrqCounterBoards) {
    if (board.mapperNumber == mapperNumber) return board.steps;
  }
  return {};
}

}  // namespace wrenfold
