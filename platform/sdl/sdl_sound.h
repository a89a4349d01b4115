// Sound service on one SDL audio device. The device's callback mixes the playing buffers at
// the shared play position (sound_buffer_bank.h) into 22050 Hz 16-bit stereo; when the
// hardware runs at another rate or format SDL converts. The audio subsystem is started by
// Open and stopped by Close, here and nowhere else.
#pragma once

#include <cstdint>

#include "platform/common/sound_buffer_bank.h"

namespace wrenfold {

class SdlSoundService : public SoundBufferBank {
 public:
  SdlSoundService() = default;
  SdlSoundService(const SdlSoundService&) = delete;
  SdlSoundService& operator=(const SdlSoundService&) = delete;
  ~SdlSoundService() override;

 protected:
  SoundResult OpenDevice() override;
  void CloseDevice() override;

 private:
  static void AudioCallback(void* service, uint8_t* stream, int length);

  uint32_t device = 0;  // SDL_AudioDeviceID, 0 = none
};

}  // namespace wrenfold
