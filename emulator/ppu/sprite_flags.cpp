#include "emulator/ppu/sprite_flags.h"

#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr int kSpriteCount = 64;
constexpr int kSpritesPerLine = 8;

}  // namespace

void CountSpritesOnLine(MachineState& machine, int line) {
  const int height = (machine.cpuMem[kPpuCtrl] & kCtrlTallSprites) ? 16 : 8;
  int onLine = 0;
  for (int sprite = 0; sprite < kSpriteCount; ++sprite) {
    // A sprite's Y byte is one less than its first line; 255 wraps to line 0.
    const int top = static_cast<uint8_t>(machine.oam[sprite * 4] + 1);
    if (line < top || line > top + height - 1) continue;
    ++onLine;
    // Without drawing there is no pixel test: sprite 0 on the line counts as a hit.
    if (sprite == 0) machine.cpuMem[kPpuStatus] |= kStatusSprite0Hit;
  }
  if (onLine > kSpritesPerLine) machine.cpuMem[kPpuStatus] |= kStatusSpriteOverflow;
}

}  // namespace wrenfold
