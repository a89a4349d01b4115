// The mixing arithmetic shared by every sound backend: attenuation to gain, summing the
// playing buffers and clamping to 16 bits. Header-only so the SDL and headless backends use
// the very same code.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "platform/sound_service.h"

namespace wrenfold {

// Gains are fixed point with 16 fraction bits; 1.0 passes a sample through unchanged.
inline constexpr int32_t kUnityGain = 1 << 16;

// Linear gain of an attenuation in hundredths of a decibel (0 = 1.0, -600 ~ 0.5).
// kSoundVolumeMin and below are silence.
inline double AttenuationToGain(int32_t hundredthsOfDb) {
  if (hundredthsOfDb <= kSoundVolumeMin) return 0.0;
  if (hundredthsOfDb >= 0) return 1.0;
  return std::pow(10.0, hundredthsOfDb / 2000.0);
}

struct StereoGain {
  int32_t left;
  int32_t right;
};

// Gain of a buffer with the given volume and pan, scaled by the output's master gain.
inline StereoGain BufferGain(int32_t volume, int32_t pan, double masterGain) {
  const double gain = AttenuationToGain(volume) * masterGain;
  const double left = pan > 0 ? AttenuationToGain(-pan) : 1.0;
  const double right = pan < 0 ? AttenuationToGain(pan) : 1.0;
  return {static_cast<int32_t>(std::lround(gain * left * kUnityGain)),
          static_cast<int32_t>(std::lround(gain * right * kUnityGain))};
}

inline int16_t ClampToSample(int64_t value) {
  if (value > INT16_MAX) return INT16_MAX;
  if (value < INT16_MIN) return INT16_MIN;
  return static_cast<int16_t>(value);
}

struct MixSource {
  const int16_t* samples;  // a ring of ringLength samples
  StereoGain gain;
};

// Writes `frames` interleaved stereo frames (left, right) into `stereoOut`, summing every
// source from `position` on and wrapping at `ringLength`. Each side is rounded once after
// the sum, so a single source at unity gain comes out bit for bit.
inline void MixSources(const MixSource* sources, std::size_t sourceCount, uint32_t position,
                       uint32_t ringLength, int16_t* stereoOut, uint32_t frames) {
  constexpr int64_t kHalf = kUnityGain / 2;
  for (uint32_t frame = 0; frame < frames; ++frame) {
    int64_t left = 0;
    int64_t right = 0;
    for (std::size_t i = 0; i < sourceCount; ++i) {
      const int64_t sample = sources[i].samples[position];
      left += sample * sources[i].gain.left;
      right += sample * sources[i].gain.right;
    }
    // The arithmetic shift floors, so adding one half first rounds to the nearest value.
    stereoOut[2 * frame] = ClampToSample((left + kHalf) >> 16);
    stereoOut[2 * frame + 1] = ClampToSample((right + kHalf) >> 16);
    if (++position == ringLength) position = 0;
  }
}

}  // namespace wrenfold
