#include "platform/sdl/sdl_sound.h"

#include <SDL.h>

#include <cstdio>

namespace wrenfold {
namespace {

// About 23 ms a callback: short against the two frames the emulator writes ahead.
constexpr Uint16 kCallbackFrames = 512;
constexpr int kBytesPerStereoFrame = 4;

}  // namespace

SdlSoundService::~SdlSoundService() {
  Close();
}

SoundResult SdlSoundService::OpenDevice() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "sound: no audio subsystem: %s\n", SDL_GetError());
    return kSoundNoDriver;
  }
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(kSoundSampleRate);
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = kCallbackFrames;
  wanted.callback = &SdlSoundService::AudioCallback;
  wanted.userdata = this;
  SDL_AudioSpec obtained{};
  // No allowed changes: SDL converts from exactly this format to whatever the device runs.
  device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device == 0) {
    std::fprintf(stderr, "sound: no audio device: %s\n", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return kSoundNoDriver;
  }
  // The device runs from now on; it plays silence until a buffer is started.
  SDL_PauseAudioDevice(device, 0);
  return kSoundOk;
}

void SdlSoundService::CloseDevice() {
  if (device == 0) return;
  SDL_CloseAudioDevice(device);  // waits for a running callback to return
  device = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSoundService::AudioCallback(void* service, uint8_t* stream, int length) {
  static_cast<SdlSoundService*>(service)->MixAndAdvance(
      reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(length / kBytesPerStereoFrame));
}

}  // namespace wrenfold
