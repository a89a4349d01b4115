// The synthesis state of the cartridge's extra sound channels: the VRC6's two pulses and
// sawtooth (mapper 24) and the Namco 106's eight wavetable channels (mapper 19). Like the APU
// channels it is not part of a save state; only the registers it reads are.
#pragma once

#include <cstdint>

namespace wrenfold {

inline constexpr int kVrc6PulseCount = 2;
inline constexpr int kVrc6ChannelCount = 3;  // pulse, pulse, sawtooth
inline constexpr int kNamcoChannelCount = 8;

struct Vrc6PulseState {
  int32_t counter;    // CPU cycles left in the current period
  int32_t threshold;  // the output drops to 0 once the counter falls below this
  int16_t output;     // volume x 256 or 0
  // The constant-output mode has been logged; cleared when the channel leaves it, so the
  // log gets one "D" per stretch instead of one per frame.
  bool constantLogged;
};

struct Vrc6SawState {
  int32_t counter;      // CPU cycles left in the current accumulator step
  uint8_t accumulator;  // grows by the rate at each step and wraps at 256
  uint8_t step;         // 0-6; the seventh step clears the accumulator
  int16_t output;       // (accumulator / 8) x 256
};

struct NamcoChannelState {
  int32_t counter;   // CPU cycles left in the current wave step
  uint8_t position;  // byte of the wave being played, below the wave length
  int16_t output;    // volume x wave byte, kept across frames
};

struct Vrc6SoundState {
  Vrc6PulseState pulse[kVrc6PulseCount];
  Vrc6SawState saw;
};

struct NamcoSoundState {
  NamcoChannelState channels[kNamcoChannelCount];
};

}  // namespace wrenfold
