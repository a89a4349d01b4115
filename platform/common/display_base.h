// The part of the display service that both backends share: the order of the set-up steps,
// the display mode, the surfaces and the palette. A backend adds the driver walk, the
// window, the window events and the showing of the screen buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/display.h"
#include "platform/surface8.h"

namespace wrenfold {

// Off-screen surfaces one display object hands out before it refuses more.
inline constexpr std::size_t kMaxOffscreenSurfaces = 16;

class DisplayBase : public Display {
 public:
  int32_t Create(int driverId) final;
  int32_t OpenFullScreenWindow(const char* title) final;
  int32_t SetDisplayMode(int width, int height, int bitsPerPixel) final;
  int32_t CreatePrimarySurface(Surface8** primary, Surface8** backBuffer) final;
  int32_t CreateOffscreenSurface(int width, int height, Surface8** surface) final;
  int32_t SetPalette(const DisplayPalette& palette) final;
  int32_t Present() final;
  void Release() final;
  void SetWindowed(bool windowed) final;
  bool Windowed() const final { return windowed; }
  void SetPictureArea(const SurfaceRect& area) final;

  // Size of the screen buffer (0 before SetDisplayMode).
  int ModeWidth() const { return modeWidth; }
  int ModeHeight() const { return modeHeight; }
  const DisplayPalette& Palette() const { return palette; }
  // The picture area; the whole screen buffer until one is set.
  SurfaceRect PictureArea() const;

 protected:
  // Each hook runs once the shared checks have passed; a failure leaves the step undone.
  virtual int32_t CreateBackend(int driverId) = 0;
  virtual int32_t OpenWindowBackend(const char* title) = 0;
  virtual int32_t PrepareScreen(int width, int height) = 0;
  virtual int32_t CheckSurfaceCreation(bool /*primary*/) { return kDisplayOk; }
  virtual int32_t PresentBackend(const Surface8& screen, const DisplayPalette& palette) = 0;
  virtual void ReleaseBackend() = 0;
  // The window mode or the picture area changed while the window is open.
  virtual void WindowModeChanged() {}

 private:
  enum class Stage : uint8_t { kNone, kCreated, kWindowOpen, kModeSet };

  Stage stage = Stage::kNone;
  int modeWidth = 0;
  int modeHeight = 0;
  std::unique_ptr<Surface8> primarySurface;
  std::unique_ptr<Surface8> backBuffer;
  std::vector<std::unique_ptr<Surface8>> offscreenSurfaces;
  DisplayPalette palette{};
  bool windowed = false;
  SurfaceRect pictureArea{};  // empty: the whole screen buffer
};

// True for the screen sizes the emulator offers: 640 x 480, 800 x 600 and 1024 x 768.
bool IsSupportedDisplayMode(int width, int height, int bitsPerPixel);

// The largest whole multiple of `area` that fits `usableWidth` x `usableHeight` (the part of
// the desktop a window may take, its frame allowed for); at least 1.
int WholeWindowScale(const SurfaceRect& area, int usableWidth, int usableHeight);

}  // namespace wrenfold
