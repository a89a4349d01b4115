// The two pulse channels ($4000-$4003 and $4004-$4007), synthesised one frame at a time.
#pragma once

#include <cstdint>

#include "emulator/sound/apu_tables.h"

namespace wrenfold {

struct PulseState {
  uint16_t period;           // 11-bit timer value
  uint16_t samplesPerCycle;  // length of the current cycle in output samples
  uint16_t dutyThreshold;    // position at which the output flips within the cycle
  uint16_t position;         // samples since the cycle began
  int16_t output;            // +-volume x 128
  int32_t lengthCounter;     // frames until the note is triggered again
  uint8_t envelopeDivider;
  uint8_t volume;
  bool envelopeActive;
  bool envelopeRestartPending;  // set at every cycle start; the next trigger restarts at 15
  uint8_t sweepDivider;
};

// Register bytes of one pulse channel, $4000-$4003 or $4004-$4007.
struct PulseRegisters {
  uint8_t control;
  uint8_t sweep;
  uint8_t timerLow;
  uint8_t timerHigh;
};

// Change flags raised by the write bus for this channel.
struct PulseChangeFlags {
  int32_t& written;
  const int32_t& sweepWritten;
};

// Once a frame before the samples: the length count (which re-triggers the note), the
// register reload after a change, and the constant volume.
void StartPulseFrame(PulseState& pulse, const PulseRegisters& regs, PulseChangeFlags flags);

// Writes `count` samples. The second pulse clocks its envelope differently at samples 92 and
// 275: its divider counts down unconditionally there, wrapping from 0 to 255.
void RenderPulseFrame(PulseState& pulse, const PulseRegisters& regs, const SoundTables& tables,
                      bool secondPulse, int16_t* out, uint32_t count);

// The threshold for duty (control bits 6-7) within a cycle of `samplesPerCycle` samples.
uint16_t PulseDutyThreshold(uint16_t samplesPerCycle, uint8_t control);

}  // namespace wrenfold
