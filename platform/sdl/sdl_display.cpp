#include "platform/sdl/sdl_display.h"

#include <cstdio>
#include <string>

namespace wrenfold {

namespace {

void ReportSdlFailure(const char* what) {
  std::fprintf(stderr, "%s: %s\n", what, SDL_GetError());
}

// Room left around a window for its frame, title bar and the desktop's panels.
constexpr int kWindowFrameAllowance = 64;

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
  const SDL_Point windowedSize = WindowedSize();
  window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex),
                            SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex),
                            Windowed() ? windowedSize.x : bounds.w,
                            Windowed() ? windowedSize.y : bounds.h,
                            Windowed() ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP);
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
  SDL_ShowCursor(Windowed() ? SDL_ENABLE : SDL_DISABLE);
  SDL_RaiseWindow(window);
  platform.SetWindow(window);
  platform.SetWindowModeSwitch([this] { SetWindowed(!Windowed()); });
  return kDisplayOk;
}

SDL_Point SdlDisplay::WindowedSize() const {
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(displayIndex, &usable) != 0 || usable.w < 1 || usable.h < 1) {
    usable = SDL_Rect{0, 0, 1024, 768};
  }
  const SurfaceRect area = PictureArea();
  const SurfaceRect picture = area.width > 0 ? area : SurfaceRect{0, 0, 256, 240};
  const int scale =
      WholeWindowScale(picture, usable.w - kWindowFrameAllowance, usable.h - kWindowFrameAllowance);
  return SDL_Point{picture.width * scale, picture.height * scale};
}

void SdlDisplay::WindowModeChanged() {
  if (window == nullptr) return;
  if (Windowed()) {
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowResizable(window, SDL_TRUE);
    const SDL_Point size = WindowedSize();
    SDL_SetWindowSize(window, size.x, size.y);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(displayIndex));
  } else {
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  SDL_ShowCursor(Windowed() ? SDL_ENABLE : SDL_DISABLE);
  layoutPending = true;
}

void SdlDisplay::ApplyWindowMode() {
  if (renderer == nullptr || ModeWidth() == 0) return;
  // The logical size keeps the aspect ratio and adds black bars where the window differs.
  const SurfaceRect shown =
      Windowed() ? PictureArea() : SurfaceRect{0, 0, ModeWidth(), ModeHeight()};
  SDL_RenderSetLogicalSize(renderer, shown.width, shown.height);
}

int32_t SdlDisplay::PrepareScreen(int width, int height) {
  if (texture != nullptr) SDL_DestroyTexture(texture);
  texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                              width, height);
  if (texture == nullptr) {
    ReportSdlFailure("No texture for the screen buffer");
    return kDisplayErrOutOfMemory;
  }
  // The logical size keeps the aspect ratio and adds black bars where the window differs; a
  // window shows the picture area only (ApplyWindowMode, once the mode is set).
  if (SDL_RenderSetLogicalSize(renderer, width, height) != 0) {
    ReportSdlFailure("The screen buffer cannot be scaled to the window");
    SDL_DestroyTexture(texture);
    texture = nullptr;
    return kDisplayErrGeneric;
  }
  layoutPending = true;
  return kDisplayOk;
}

int32_t SdlDisplay::PresentBackend(const Surface8& screen, const DisplayPalette& palette) {
  void* pixels = nullptr;
  int pitch = 0;
  if (layoutPending) {
    ApplyWindowMode();
    layoutPending = false;
  }
  if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return kDisplayErrGeneric;
  ExpandThroughPalette(screen, palette, static_cast<uint32_t*>(pixels),
                       pitch / static_cast<int>(sizeof(uint32_t)));
  SDL_UnlockTexture(texture);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  if (Windowed()) {
    const SurfaceRect area = PictureArea();
    const SDL_Rect source{area.x, area.y, area.width, area.height};
    SDL_RenderCopy(renderer, texture, &source, nullptr);
  } else {
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
  }
  SDL_RenderPresent(renderer);
  platform.PumpEvents();
  return kDisplayOk;
}

void SdlDisplay::ReleaseBackend() {
  if (texture != nullptr) SDL_DestroyTexture(texture);
  if (renderer != nullptr) SDL_DestroyRenderer(renderer);
  if (window != nullptr) {
    platform.SetWindowModeSwitch(nullptr);
    platform.SetWindow(nullptr);
    SDL_DestroyWindow(window);
    SDL_ShowCursor(SDL_ENABLE);
  }
  texture = nullptr;
  renderer = nullptr;
  window = nullptr;
}

}  // namespace wrenfold
