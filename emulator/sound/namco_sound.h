// The Namco 106's wavetable channels (mapper 19): up to eight channels that play waves stored
// in the 128-byte sound memory machine.namcoRam, each described by eight bytes from 0x40.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"
#include "emulator/sound/expansion_state.h"
#include "emulator/sound/sound_state.h"

namespace wrenfold {

// Channel c's registers begin at namcoRam[0x40 + 8c]: bytes 0, 2 and bits 0-1 of byte 4 the
// 18-bit frequency, bits 2-4 of byte 4 the length code, byte 6 the wave start, byte 7 bits 0-3
// the volume.
inline constexpr int kNamcoRegisterBase = 0x40;
inline constexpr int kNamcoRegistersPerChannel = 8;

// What one channel's registers say, decoded.
struct NamcoVoice {
  uint32_t frequency;  // 0 to 2^18 - 1; 0 is silent
  uint8_t volume;      // 0-15; 0 is silent
  uint8_t waveStart;   // even byte address 0-0x3E
  uint8_t waveLength;  // 2-16 bytes: (8 - length code) x 2
  int32_t stepCycles;  // CPU cycles per wave byte; 0 when the frequency is 0
};

NamcoVoice DecodeNamcoVoice(const uint8_t (&namcoRam)[128], int channel);

// Every stepCycles CPU cycles the channel moves to the next byte of its wave (back to the first
// after waveLength bytes); the output is volume x that whole byte, up to 15 x 255 = 3825.
void RenderNamcoFrame(NamcoChannelState& channel, const NamcoVoice& voice,
                      const uint8_t (&namcoRam)[128], int16_t* out, uint32_t count);

// Creates the eight buffers after InitSound and switches the Namco mixer on; logs
// "Namco Extened Sound Channel Created\n". Returns 0 when a buffer cannot be created.
int CreateNamcoChannels(MachineState& machine, SoundState& sound);

// One frame of the eight channels at the common write position. A channel at volume 0 or
// frequency 0 is silent for the frame and keeps its counter and wave position.
void MixNamcoFrame(MachineState& machine, SoundState& sound);

}  // namespace wrenfold
