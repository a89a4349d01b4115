#include "platform/sdl/sdl_display.h"

#include <cstdio>
#include <string>

namespace wrenfold {

namespace {

void ReportSdlFailure(const char* what) {
  std::fprintf(stderr, "%s: %s\n", what, SDL_GetError());
}

std::string DisplayName(int index) {
  const char* name = SDL_GetDisplayName(index);
  if (name != nullptr && name[0] != '\0') return name;
  return "Display " + std::to_string(index + 1);
}

}  // namespace

std::string DisplayDescription(const std::string& name, const SDL_Rect& bounds) {
  return name + " " + std::to_string(bounds.x) + "," + std::to_string(bounds.y) + " " +
         std::to_string(bounds.w) + "x" + std::to_string(bounds.h);
}

void SdlDisplay::EnumerateDrivers(const std::function<bool(const DisplayDriverInfo&)>& visit) {
  if (!platform.StartSubsystems(SDL_INIT_VIDEO)) return;
  const int count = SDL_GetNumVideoDisplays();
  for (int index = 0; index < count; ++index) {
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(index, &bounds) != 0) bounds = SDL_Rect{};
    const std::string name = DisplayName(index);
    if (!visit(DisplayDriverInfo{name, DisplayDescription(name, bounds), index})) return;
  }
}

bool SdlDisplay::PollWindowEvent(WindowEvent* event) {
  platform.PumpEvents();
  return platform.PopWindowEvent(event);
}

int32_t SdlDisplay::CreateBackend(int driverId) {
  if (!platform.StartSubsystems(SDL_INIT_VIDEO)) return kDisplayErrGeneric;
  const int count = SDL_GetNumVideoDisplays();
  if (count < 1) {
    ReportSdlFailure("No display to show the emulator on");
    return kDisplayErrGeneric;
  }
  displayIndex = driverId >= 0 && driverId < count ? driverId : 0;
  return kDisplayOk;
}

int32_t SdlDisplay::OpenWindowBackend(const char* title) {
  SDL_Rect bounds{};
  if (SDL_GetDisplayBounds(displayIndex, &bounds) != 0 || bounds.w < 1 || bounds.h < 1) {
    bounds = SDL_Rect{0, 0, 640, 480};
  }
  window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex),
                            SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex), bounds.w, bounds.h,
                            SDL_WINDOW_FULLSCREEN_DESKTOP);
  if (window == nullptr) {
    ReportSdlFailure("The emulator window could not be opened");
    return kDisplayErrGeneric;
  }
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  renderer = SDL_CreateRenderer(window, -1, 0);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer == nullptr) {
    ReportSdlFailure("No renderer for the emulator window");
    SDL_DestroyWindow(window);
    window = nullptr;
    return kDisplayErrGeneric;
  }
  SDL_ShowCursor(SDL_DISABLE);
  SDL_RaiseWindow(window);
  platform.SetWindow(window);
  return kDisplayOk;
}

int32_t SdlDisplay::PrepareScreen(int width, int height) {
  if (texture != nullptr) SDL_DestroyTexture(texture);
  texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                              width, height);
  if (texture == nullptr) {
    ReportSdlFailure("No texture for the screen buffer");
    return kDisplayErrOutOfMemory;
  }
  // The logical size keeps the aspect ratio and adds black bars where the window differs.
  if (SDL_RenderSetLogicalSize(renderer, width, height) != 0) {
    ReportSdlFailure("The screen buffer cannot be scaled to the window");
    SDL_DestroyTexture(texture);
    texture = nullptr;
    return kDisplayErrGeneric;
  }
  return kDisplayOk;
}

int32_t SdlDisplay::PresentBackend(const Surface8& screen, const DisplayPalette& palette) {
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return kDisplayErrGeneric;
  ExpandThroughPalette(screen, palette, static_cast<uint32_t*>(pixels),
                       pitch / static_cast<int>(sizeof(uint32_t)));
  SDL_UnlockTexture(texture);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, texture, nullptr, nullptr);
  SDL_RenderPresent(renderer);
  platform.PumpEvents();
  return kDisplayOk;
}

void SdlDisplay::ReleaseBackend() {
  if (texture != nullptr) SDL_DestroyTexture(texture);
  if (renderer != nullptr) SDL_DestroyRenderer(renderer);
  if (window != nullptr) {
    platform.SetWindow(nullptr);
    SDL_DestroyWindow(window);
    SDL_ShowCursor(SDL_ENABLE);
  }
  texture = nullptr;
  renderer = nullptr;
  window = nullptr;
}

}  // namespace wrenfold
