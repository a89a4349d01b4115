// Everything the emulator keeps for its sound: the computed tables, the channel synthesis,
// the sound service's buffers with the common write position, and the expansion-sound hook.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"
#include "emulator/sound/apu_state.h"
#include "emulator/sound/apu_tables.h"
#include "emulator/sound/expansion_state.h"
#include "platform/sound_service.h"

namespace wrenfold {

enum ApuChannel : int {
  kPulse1Channel,
  kPulse2Channel,
  kTriangleChannel,
  kNoiseChannel,
  kDmcChannel,
  kApuChannelCount
};

// Two frames make 735 samples, so 60 frames fill the one-second buffers exactly and a frame
// never runs past a buffer's end.
inline constexpr uint32_t kFirstFrameSamples = 367;
inline constexpr uint32_t kSecondFrameSamples = 368;
inline constexpr uint32_t kMaxFrameSamples = kSecondFrameSamples;

// The sound service's objects and the position every channel writes its frame at.
struct SoundOutput {
  SoundService* service;  // null while sound is off
  bool ready;             // set up completely; MixFrameSound does nothing before
  SoundBufferHandle primary;
  SoundBufferHandle channels[kApuChannelCount];
  uint32_t writePosition;     // sample index 0-22049 of this frame's first sample
  uint32_t samplesThisFrame;  // 367 or 368
  bool firstFrame;            // playback has not been started yet
  uint32_t lastPlayPosition;  // play position seen by the previous mix: tells whether it moves
  // The channel's whole buffer holds silence since it was last cleared: only the channel's
  // own frames write into it, so a disabled channel need not clear it again every frame.
  bool channelSilent[kApuChannelCount];
  int16_t frameSamples[kMaxFrameSamples];  // one channel's frame before it is copied in
};

inline constexpr int kMaxExpansionBuffers = 8;

enum class ExpansionSoundKind : uint8_t { kNone, kVrc6, kNamco };

// Mixes one frame of the cartridge's extra channels into their buffers, from
// output.writePosition for output.samplesThisFrame samples.
using ExpansionMixer = void (*)(void* context, MachineState& machine, SoundOutput& output);

// The cartridge's extra sound channels (VRC6 on mapper 24, Namco 106 on mapper 19). Their
// set-up fills this in after InitSound: the buffers start playing with the APU's, and `mix`
// runs every frame after the APU channels.
struct ExpansionSound {
  ExpansionSoundKind kind;
  uint32_t bufferCount;
  SoundBufferHandle buffers[kMaxExpansionBuffers];
  ExpansionMixer mix;  // null = none
  void* context;       // handed to `mix`
  // The buffer holds silence since it was last cleared (see SoundOutput::channelSilent).
  bool bufferSilent[kMaxExpansionBuffers];
  Vrc6SoundState vrc6;
  NamcoSoundState namco;
};

struct SoundState {
  SoundTables tables;
  ApuState apu;
  SoundOutput output;
  ExpansionSound expansion;
};

// Clears the record to the state before set-up: everything zero except the first frame's
// sample count and the first-frame flag.
void ResetSoundState(SoundState& sound);

// The emulator's sound record. Tests may use their own SoundState instead.
SoundState& TheSoundState();

}  // namespace wrenfold
