#include "emulator/sound/apu_tables.h"

#include <cstdlib>

namespace wrenfold {

void BuildSamplesPerPeriod(SoundTables& tables) {
  for (int period = 0; period < kSamplesPerPeriodEntries; ++period) {
    const bool audible = period >= 5 && period <= 2044;
    tables.samplesPerPeriod[period] =
        audible ? static_cast<uint16_t>((period + 1) * kOutputRate / kSoundClock) : 0;
  }
}

void BuildNoiseTable(SoundTables& tables) {
  std::srand(1);
  for (uint8_t& entry : tables.noise) {
    entry = static_cast<uint8_t>(-std::rand() & 15);
  }
}

}  // namespace wrenfold
