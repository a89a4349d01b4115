// Mapper 24 (Konami VRC6): the expansion-sound registers.
#include "emulator/cart/mappers/vrc6.h"

namespace wrenfold {
namespace {

// $9000-$9002 pulse 1, $A000-$A002 pulse 2, $B000-$B002 sawtooth; four bytes kept per group.
constexpr uint16_t kSoundFirstGroup = 0x9000;
constexpr uint16_t kSoundLastGroup = 0xB000;
constexpr uint16_t kSoundGroupMask = 0xF000;
constexpr uint16_t kSoundRegisterMask = 0x0FFF;
constexpr uint16_t kSoundRegistersPerGroup = 3;
constexpr int kSoundGroupStride = 4;

bool IsSoundRegister(uint16_t address) {
  const uint16_t group = address & kSoundGroupMask;
  return group >= kSoundFirstGroup && group <= kSoundLastGroup &&
         (address & kSoundRegisterMask) < kSoundRegistersPerGroup;
}

}  // namespace

void Vrc6HighWrite(MachineState& machine, uint16_t address, uint8_t value) {
  if (IsSoundRegister(address)) {
    const int group = (address - kSoundFirstGroup) >> 12;
    machine.mapper.vrc6SoundRegs[group * kSoundGroupStride + (address & 3)] = value;
  }
}

}  // namespace wrenfold
