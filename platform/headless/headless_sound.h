// Sound service without a device: the same buffers, volume, pan and mixing as the SDL
// backend, but the play position moves only when RenderMix is asked for output. Tests read
// back what the emulator wrote; the headless runner renders each frame's sound into a file.
#pragma once

#include <cstdint>

#include "platform/common/sound_buffer_bank.h"

namespace wrenfold {

class HeadlessSoundService : public SoundBufferBank {
 public:
  ~HeadlessSoundService() override;

  // Writes `frames` interleaved stereo frames (left, right) of the playing buffers, mixed as
  // a device would hear them, and moves the play position on by that many samples. While
  // nothing plays the output is silence and the position stays.
  void RenderMix(int16_t* stereoOut, uint32_t frames);

 protected:
  SoundResult OpenDevice() override;
  void CloseDevice() override;
};

}  // namespace wrenfold
