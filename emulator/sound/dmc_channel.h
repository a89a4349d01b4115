// The delta-modulation channel ($4010-$4013): one bit of sample memory per rate-table step
// moves a 0-30 level up or down; 81 CPU cycles make one output sample.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

inline constexpr int16_t kCpuCyclesPerSample = 81;

struct DmcState {
  uint8_t level;          // 0-30; 15 is the centre
  uint16_t startAddress;  // $C000 + $4012 x 64
  uint16_t sampleLength;  // $4013 x 16 + 1 bytes
  uint16_t bytePosition;
  uint8_t bitMask;  // the next bit of currentByte; 0 when the byte is used up
  uint8_t currentByte;
  int16_t cycleAccumulator;  // CPU cycles owed to output samples, kept across frames
  int16_t output;            // (15 - level) x 256
  bool ended;                // the sample ran out without looping
};

// The byte at `offset` into a sample starting at `start`. Sample addresses run through
// $8000-$FFFF and wrap from $FFFF to $8000.
uint8_t ReadDmcSampleByte(const MachineState& machine, uint16_t start, uint32_t offset);

// Once a frame: the level from the $4011 image, and a new sample when `written` is set.
void StartDmcFrame(DmcState& dmc, MachineState& machine);

// Writes `count` samples, then stores the level back into the $4011 image (bit 7 set) so the
// next frame continues from it. Logs "I" once when a sample without loop ends with its IRQ
// enabled.
void RenderDmcFrame(DmcState& dmc, MachineState& machine, int16_t* out, uint32_t count);

}  // namespace wrenfold
