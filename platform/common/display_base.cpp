#include "platform/common/display_base.h"

#include <algorithm>

namespace wrenfold {

bool IsSupportedDisplayMode(int width, int height, int bitsPerPixel) {
  if (bitsPerPixel != 8) return false;
  return (width == 640 && height == 480) || (width == 800 && height == 600) ||
         (width == 1024 && height == 768);
}

int WholeWindowScale(const SurfaceRect& area, int usableWidth, int usableHeight) {
  if (area.width < 1 || area.height < 1) return 1;
  return std::max(1, std::min(usableWidth / area.width, usableHeight / area.height));
}

SurfaceRect DisplayBase::PictureArea() const {
  if (pictureArea.width > 0 && pictureArea.height > 0) return pictureArea;
  return SurfaceRect{0, 0, modeWidth, modeHeight};
}

void DisplayBase::SetWindowed(bool wanted) {
  if (windowed == wanted) return;
  windowed = wanted;
  if (stage >= Stage::kWindowOpen) WindowModeChanged();
}

void DisplayBase::SetPictureArea(const SurfaceRect& area) {
  const bool changed = area.x != pictureArea.x || area.y != pictureArea.y ||
                       area.width != pictureArea.width || area.height != pictureArea.height;
  pictureArea = area;
  if (changed && stage >= Stage::kWindowOpen) WindowModeChanged();
}

int32_t DisplayBase::Create(int driverId) {
  if (stage != Stage::kNone) return kDisplayErrInvalidObject;
  const int32_t result = CreateBackend(driverId);
  if (result == kDisplayOk) stage = Stage::kCreated;
  return result;
}

int32_t DisplayBase::OpenFullScreenWindow(const char* title) {
  if (stage != Stage::kCreated) return kDisplayErrInvalidObject;
  if (title == nullptr) return kDisplayErrInvalidParams;
  const int32_t result = OpenWindowBackend(title);
  if (result == kDisplayOk) stage = Stage::kWindowOpen;
  return result;
}

int32_t DisplayBase::SetDisplayMode(int width, int height, int bitsPerPixel) {
  // Once the screen buffer exists its size is fixed for the life of the display object.
  if (stage < Stage::kWindowOpen || primarySurface) return kDisplayErrInvalidObject;
  if (!IsSupportedDisplayMode(width, height, bitsPerPixel)) return kDisplayErrInvalidMode;
  const int32_t result = PrepareScreen(width, height);
  if (result != kDisplayOk) return result;
  modeWidth = width;
  modeHeight = height;
  stage = Stage::kModeSet;
  return kDisplayOk;
}

int32_t DisplayBase::CreatePrimarySurface(Surface8** primary, Surface8** back) {
  if (primary == nullptr || back == nullptr) return kDisplayErrInvalidParams;
  if (stage != Stage::kModeSet || primarySurface) return kDisplayErrInvalidObject;
  if (const int32_t result = CheckSurfaceCreation(true); result != kDisplayOk) return result;
  primarySurface = std::make_unique<Surface8>(modeWidth, modeHeight);
  backBuffer = std::make_unique<Surface8>(modeWidth, modeHeight);
  *primary = primarySurface.get();
  *back = backBuffer.get();
  return kDisplayOk;
}

int32_t DisplayBase::CreateOffscreenSurface(int width, int height, Surface8** surface) {
  if (surface == nullptr || !Surface8::ValidSides(width, height)) return kDisplayErrInvalidParams;
  if (stage == Stage::kNone) return kDisplayErrInvalidObject;
  if (offscreenSurfaces.size() >= kMaxOffscreenSurfaces) return kDisplayErrOutOfMemory;
  if (const int32_t result = CheckSurfaceCreation(false); result != kDisplayOk) return result;
  offscreenSurfaces.push_back(std::make_unique<Surface8>(width, height));
  *surface = offscreenSurfaces.back().get();
  return kDisplayOk;
}

int32_t DisplayBase::SetPalette(const DisplayPalette& colours) {
  if (stage == Stage::kNone) return kDisplayErrInvalidObject;
  palette = colours;
  return kDisplayOk;
}

int32_t DisplayBase::Present() {
  if (!primarySurface) return kDisplayErrInvalidObject;
  if (primarySurface->IsLocked()) return kDisplayErrSurfaceBusy;
  return PresentBackend(*primarySurface, palette);
}

void DisplayBase::Release() {
  if (stage != Stage::kNone) ReleaseBackend();
  primarySurface.reset();
  backBuffer.reset();
  offscreenSurfaces.clear();
  modeWidth = 0;
  modeHeight = 0;
  palette = DisplayPalette{};
  stage = Stage::kNone;
}

}  // namespace wrenfold
