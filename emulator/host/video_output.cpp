#include "emulator/host/video_output.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "emulator/host/log.h"
#include "emulator/host/palette.h"
#include "emulator/host/splash_picture.h"

namespace wrenfold {
namespace {

// The log shows this much of the chosen driver's description.
constexpr std::size_t kLoggedDescriptionLength = 16;

// A driver is taken when the configured name starts with the driver's whole name.
int ChooseDriver(Display& display, const std::string& deviceName) {
  int chosen = kDefaultDisplayDriver;
  display.EnumerateDrivers([&](const DisplayDriverInfo& driver) {
    if (!std::string_view(deviceName).starts_with(driver.name)) return true;
    const std::string_view description = driver.description;
    LogText("Use Device:");
    LogText(description.substr(0, std::min(description.size(), kLoggedDescriptionLength)));
    LogText("\n");
    chosen = driver.id;
    return false;
  });
  return chosen;
}

SurfaceRect ToSurfaceRect(const PictureRect& rect) {
  return SurfaceRect{rect.left, rect.top, rect.right - rect.left + 1, rect.bottom - rect.top + 1};
}

// Every source row on every other screen row from the target's top; the rows between keep
// what the screen held.
void DrawDoubledBands(const Surface8& frame, Surface8& screen, const SurfaceRect& target) {
  for (int row = 0; row < kFrameSurfaceHeight; ++row) {
    CopyRowBand(frame, row, screen, target.y + 2 * row, target.x, target.width);
  }
}

// Three screen rows per source row: each pair of source rows fills rows 0, 2 and 4 of a
// six-row group (the first source row twice), leaving rows 1, 3 and 5 as they were.
void DrawTripledBands(const Surface8& frame, Surface8& screen, const SurfaceRect& target) {
  int destination = target.y;
  for (int source = 0; source < kFrameSurfaceHeight; source += 2) {
    CopyRowBand(frame, source, screen, destination, target.x, target.width);
    CopyRowBand(frame, source, screen, destination + 2, target.x, target.width);
    CopyRowBand(frame, source + 1, screen, destination + 4, target.x, target.width);
    destination += 6;
  }
}

}  // namespace

SurfaceRect PictureAreaOf(const HostSettings& settings, const DisplayGeometry& geometry) {
  if (settings.doubleSize) return ToSurfaceRect(geometry.doubleSizeTarget);
  return SurfaceRect{kNaturalSizeLeft, kNaturalSizeTop, kFrameSurfaceWidth, kFrameSurfaceHeight};
}

int32_t OpenVideo(VideoState& video, Display& display, const HostSettings& settings,
                  const DisplayGeometry& geometry) {
  const int driver = ChooseDriver(display, settings.displayDevice);

  if (const int32_t result = display.Create(driver); DisplayFailed(result)) return result;
  video.display = &display;
  LogText("1 Level Pass\n");
  LogText("Interface got\n");

  display.SetWindowed(settings.windowed);
  display.SetPictureArea(PictureAreaOf(settings, geometry));
  if (const int32_t result = display.OpenFullScreenWindow(kWindowTitle); DisplayFailed(result)) {
    return result;
  }
  LogText("CooperativeLevel Set\n");

  if (const int32_t result =
          display.SetDisplayMode(geometry.modeWidth, geometry.modeHeight, geometry.bitsPerPixel);
      DisplayFailed(result)) {
    return result;
  }
  LogText("lpDD2 object inited.\n");

  if (const int32_t result = display.CreatePrimarySurface(&video.primarySurface, &video.backBuffer);
      DisplayFailed(result)) {
    return result;
  }
  if (const int32_t result = display.CreateOffscreenSurface(kFrameSurfaceWidth, kFrameSurfaceHeight,
                                                            &video.overlaySurface);
      DisplayFailed(result)) {
    return result;
  }
  if (const int32_t result = display.CreateOffscreenSurface(kFrameSurfaceWidth, kFrameSurfaceHeight,
                                                            &video.frameSurface);
      DisplayFailed(result)) {
    return result;
  }
  LogText("all surfaces created.\n");
  return kDisplayOk;
}

bool ShowSplash(VideoState& video) {
  if (video.primarySurface == nullptr || video.backBuffer == nullptr) return false;
  Surface8& screen = *video.primarySurface;
  FillSurface(screen, kScreenClearIndex);
  FillSurface(*video.backBuffer, kScreenClearIndex);

  SurfaceLock lock;
  if (DisplayFailed(screen.Lock(&lock))) return false;
  const int left = (screen.Width() - kSplashWidth) / 2;
  const int top = (screen.Height() - kSplashHeight) / 2;
  if (left < 0 || top < 0) {
    LogText("Bitblt failed\n");
  } else {
    DrawSplashPicture(lock.bits + static_cast<std::ptrdiff_t>(top) * lock.pitch + left, lock.pitch);
  }
  screen.Unlock();
  return true;
}

void AttachPalette(VideoState& video) {
  if (video.display == nullptr) return;
  video.display->SetPalette(video.palette);
  video.emphasis = 0;
  video.display->Present();
}

void ShowEmphasis(VideoState& video, uint8_t emphasis) {
  if (video.display == nullptr || emphasis == video.emphasis) return;
  video.display->SetPalette(EmphasisedPalette(video.palette, emphasis));
  video.emphasis = emphasis;
}

void PresentFrame(VideoState& video, const HostSettings& settings,
                  const DisplayGeometry& geometry) {
  if (video.display == nullptr || video.primarySurface == nullptr ||
      video.frameSurface == nullptr) {
    return;
  }
  const Surface8& frame = *video.frameSurface;
  Surface8& screen = *video.primarySurface;
  const SurfaceRect target = ToSurfaceRect(geometry.doubleSizeTarget);
  if (!settings.doubleSize) {
    CopySurface(frame, screen, kNaturalSizeLeft, kNaturalSizeTop);
  } else if (!settings.scanlineMode) {
    StretchSurface(frame, ToSurfaceRect(geometry.source), screen, target);
  } else if (target.height == 3 * kFrameSurfaceHeight) {
    DrawTripledBands(frame, screen, target);
  } else {
    DrawDoubledBands(frame, screen, target);
  }
  video.display->Present();
}

void ReleaseVideo(VideoState& video) {
  // The surfaces belong to the display object and go with it.
  video.primarySurface = nullptr;
  video.backBuffer = nullptr;
  video.overlaySurface = nullptr;
  video.frameSurface = nullptr;
  if (video.display != nullptr) {
    video.display->Release();
    video.display = nullptr;
  }
}

}  // namespace wrenfold
