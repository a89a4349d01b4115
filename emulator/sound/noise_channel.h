// The noise channel ($400C-$400F): values from the noise table, each held for a number of
// output samples, over the whole table or (short mode) over its first 93 entries.
#pragma once

#include <cstdint>

#include "emulator/sound/apu_tables.h"

namespace wrenfold {

inline constexpr uint8_t kShortNoiseSteps = 93;

struct NoiseState {
  uint8_t holdLength;  // samples per noise value
  uint8_t envelopeDivider;
  uint8_t volume;  // envelope volume
  bool envelopeRestartPending;
  uint8_t constantVolume;
  uint16_t sequencePosition;  // 11 bits, over the whole table
  uint8_t shortPosition;      // 0-92
  uint16_t holdCounter;       // samples the current value has been held
  bool high;                  // bit 1 of the current table entry: the value is positive
};

struct NoiseRegisters {
  uint8_t control;
  uint8_t unused;
  uint8_t mode;    // bit 7 short sequence, bits 0-3 hold-table index
  uint8_t length;  // bits 3-7 length index
};

// What the frame driver must do with the channel this frame.
struct NoiseFramePlan {
  bool clearBuffer;  // the length count ran out: silence the whole buffer
  bool render;       // then write this frame's samples
};

// Once a frame: the length count (`lengthCode`, which a $400F write loads), the reload after
// a change and the constant volume.
NoiseFramePlan StartNoiseFrame(NoiseState& noise, const NoiseRegisters& regs, int32_t& lengthCode,
                               int32_t& written);

// Writes `count` samples. The envelope clocks at samples 0, 93, 186 and 270; when it runs out
// without looping it raises `written` so the next frame restarts it at 15.
void RenderNoiseFrame(NoiseState& noise, const NoiseRegisters& regs, const SoundTables& tables,
                      int32_t& written, int16_t* out, uint32_t count);

}  // namespace wrenfold
