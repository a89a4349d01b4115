// The display on SDL: a desktop-sized full-screen window on the chosen display, or a resizable
// window showing the picture area, the screen buffer turned into RGB through the palette and
// drawn scaled nearest-neighbour, letterboxed.
#pragma once

#include <SDL.h>

#include "platform/common/display_base.h"
#include "platform/sdl/sdl_platform.h"

namespace wrenfold {

class SdlDisplay final : public DisplayBase {
 public:
  explicit SdlDisplay(SdlPlatform& platform) : platform(platform) {}
  ~SdlDisplay() override { Release(); }

  // One driver per SDL display: the display's name, and its name with its bounds.
  void EnumerateDrivers(const std::function<bool(const DisplayDriverInfo&)>& visit) override;
  bool PollWindowEvent(WindowEvent* event) override;

 protected:
  int32_t CreateBackend(int driverId) override;
  int32_t OpenWindowBackend(const char* title) override;
  int32_t PrepareScreen(int width, int height) override;
  int32_t PresentBackend(const Surface8& screen, const DisplayPalette& palette) override;
  void ReleaseBackend() override;
  void WindowModeChanged() override;

 private:
  // The window's size in windowed mode: the picture area times the largest whole number that
  // fits the display's usable area.
  SDL_Point WindowedSize() const;
  // Window flags, cursor and the part of the screen buffer the renderer scales to the window.
  void ApplyWindowMode();

  SdlPlatform& platform;
  int displayIndex = 0;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  bool layoutPending = true;  // ApplyWindowMode is due before the next present
};

// "name x,y wxh" for a display with a name and bounds.
std::string DisplayDescription(const std::string& name, const SDL_Rect& bounds);

}  // namespace wrenfold
