#include "platform/headless/headless_sound.h"

namespace wrenfold {

HeadlessSoundService::~HeadlessSoundService() {
  Close();
}

void HeadlessSoundService::RenderMix(int16_t* stereoOut, uint32_t frames) {
  MixAndAdvance(stereoOut, frames);
}

// There is no device to fail: a headless run always has sound output.
SoundResult HeadlessSoundService::OpenDevice() {
  return kSoundOk;
}

void HeadlessSoundService::CloseDevice() {}

}  // namespace wrenfold
