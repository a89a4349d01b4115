// The triangle channel ($4008-$400B): a 16-step wave of up to +-1920 whose cycle lasts four
// quarter-periods Q, twice the pulse cycle of the same timer value.
#pragma once

#include <cstdint>

#include "emulator/sound/apu_tables.h"

namespace wrenfold {

struct TriangleState {
  bool running;
  uint8_t linearCounter;  // wraps below 0
  int32_t lengthCounter;
  bool muted;
  uint16_t period;
  int32_t quarterCycle;    // Q, in output samples
  int32_t thresholds[16];  // k x Q / 16 for k = 1..16, built from shifts
  uint8_t phase;           // 0 rising, 1 falling, 2 falling below 0, 3 rising to 0
  uint8_t level;           // 0-15
  int32_t position;        // samples since the cycle began
};

struct TriangleRegisters {
  uint8_t control;
  uint8_t unused;
  uint8_t timerLow;
  uint8_t timerHigh;
};

// Once a frame: the linear and length counts, the mute rules and the reload that
// `written` (any $4008-$400B write, or the counts running out together) requests.
void StartTriangleFrame(TriangleState& triangle, const TriangleRegisters& regs, int32_t& written);

void RenderTriangleFrame(TriangleState& triangle, const SoundTables& tables, int16_t* out,
                         uint32_t count);

}  // namespace wrenfold
