// Bits of the APU register images in cpuMem, as the write bus stores them; their addresses are
// in the memory map (io_registers.h).
#pragma once

#include <cstdint>

#include "emulator/machine_state/io_registers.h"

namespace wrenfold {

// Pulse and noise control byte ($4000 / $4004 / $400C).
inline constexpr uint8_t kDutyShift = 6;
inline constexpr uint8_t kEnvelopeLoop = 0x20;    // also halts the noise length count
inline constexpr uint8_t kConstantVolume = 0x10;  // the low four bits are the volume itself
inline constexpr uint8_t kVolumeMask = 0x0F;

// Pulse sweep byte ($4001 / $4005).
inline constexpr uint8_t kSweepEnable = 0x80;
inline constexpr uint8_t kSweepNegate = 0x08;
inline constexpr uint8_t kSweepShiftMask = 0x07;

// Triangle control byte ($4008).
inline constexpr uint8_t kTriangleControl = 0x80;
inline constexpr uint8_t kLinearLoadMask = 0x7F;

// Noise mode byte ($400E).
inline constexpr uint8_t kNoiseShortMode = 0x80;

// Delta-modulation control byte ($4010).
inline constexpr uint8_t kDmcIrqEnable = 0x80;
inline constexpr uint8_t kDmcLoop = 0x40;

// Fourth register of a channel: timer high bits below, length index in the top five.
inline constexpr uint8_t kTimerHighMask = 0x07;
inline constexpr uint8_t kLengthIndexShift = 3;

}  // namespace wrenfold
