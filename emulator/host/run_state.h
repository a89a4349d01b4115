// What the frame driver keeps between frames besides the machine: the line being run, the
// hot keys' choices and whether the program is closing.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"

namespace wrenfold {

struct RunState {
  uint16_t currentLine = 0;  // the scanline being run
  // The loaded board's hooks that the frame driver calls, looked up at load; null: none.
  BoardLineStep lineStep = nullptr;
  PpuFetchHook ppuFetch = nullptr;
  uint8_t saveSlot = 0;          // 0-9, chosen with the number keys
  uint32_t chrViewerOffset = 0;  // F9: offset of the CHR ROM page last copied into pattern memory
  // Set together with ReleaseAll (Esc, window closed, CPU halted); no frame runs after it.
  bool exitRequested = false;
};

}  // namespace wrenfold
