// Lookup tables of the sound synthesis. Everything runs in 22050 Hz output samples: timer
// periods become sample counts through samplesPerPeriod, so no division happens per cycle.
#pragma once

#include <array>
#include <cstdint>

namespace wrenfold {

inline constexpr uint32_t kOutputRate = 22050;
// The APU's timers count at the NTSC CPU clock 1789772 / 16, also on PAL machines.
inline constexpr uint32_t kSoundClock = 111860;
inline constexpr int kSamplesPerPeriodEntries = 2049;  // timer periods 0-2048
inline constexpr int kNoiseTableEntries = 2048;

// Note lengths in frames (half the console's values), by the high five bits of a channel's
// fourth register.
inline constexpr std::array<uint8_t, 32> kLengthTable = {
    5, 127, 10, 1, 20, 2,  40, 3,  80, 4,  30, 5,  7, 6,  13, 7,
    6, 8,   12, 9, 24, 10, 48, 11, 96, 12, 36, 13, 8, 14, 16, 15};

// CPU cycles per delta-modulation bit, by $4010 bits 0-3.
inline constexpr std::array<uint16_t, 16> kDmcRateTable = {428, 380, 340, 320, 286, 254, 226, 214,
                                                           190, 160, 142, 128, 106, 85,  72,  54};

// Output samples each noise value is held, by $400E bits 0-3: the low four bits, plus one,
// of 2, 3, 4, 5, 22, 38, 55, 69, 76, 8, 150, 7, 10, 410, 13, 15.
inline constexpr std::array<uint8_t, 16> kNoiseHoldTable = {3,  4, 5, 6, 7,  7,  8,  6,
                                                            13, 9, 7, 8, 11, 11, 14, 16};

// The tables computed when sound is set up.
struct SoundTables {
  // Output samples that one pulse cycle of timer value p lasts; 0 outside 5-2044.
  uint16_t samplesPerPeriod[kSamplesPerPeriodEntries];
  // Pseudo-random values 0-15 walked by the noise channel.
  uint8_t noise[kNoiseTableEntries];
};

void BuildSamplesPerPeriod(SoundTables& tables);
// Reseeds the C library's generator with 1, its start-up seed, so every run gets the same
// noise; each entry is the low four bits of the negated next rand() value.
void BuildNoiseTable(SoundTables& tables);

}  // namespace wrenfold
