// Addresses and bits of the APU register images in cpuMem, as the write bus stores them.
#pragma once

#include <cstdint>

namespace wrenfold {

// Each channel has four registers from its base; index 0 is the control byte.
inline constexpr uint16_t kPulse1Registers = 0x4000;
inline constexpr uint16_t kPulse2Registers = 0x4004;
inline constexpr uint16_t kTriangleRegisters = 0x4008;
inline constexpr uint16_t kNoiseRegisters = 0x400C;
inline constexpr uint16_t kDmcRegisters = 0x4010;
inline constexpr uint16_t kDmcLevelRegister = 0x4011;
// $4015: one enable bit per channel, pulse 1 in bit 0 to delta modulation in bit 4.
inline constexpr uint16_t kApuStatusRegister = 0x4015;

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
