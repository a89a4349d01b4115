// The picture's way to the screen: the display object with its screen buffer (primary
// surface) and back buffer, the two 256 x 240 surfaces the renderer draws into, the display
// palette, the splash, and presenting a finished frame at natural or double size.
#pragma once

#include <cstdint>

#include "emulator/host/display_geometry.h"
#include "emulator/host/host_settings.h"
#include "platform/display.h"
#include "platform/surface8.h"

namespace wrenfold {

inline constexpr int kFrameSurfaceWidth = 256;
inline constexpr int kFrameSurfaceHeight = 240;

// Where the picture lands on the screen buffer when it is not doubled, whatever the size.
inline constexpr int kNaturalSizeLeft = 192;
inline constexpr int kNaturalSizeTop = 128;

// Palette index that clears the screen (black).
inline constexpr uint8_t kScreenClearIndex = 120;

struct VideoState {
  Display* display = nullptr;  // set once the display object exists, cleared on release
  Surface8* primarySurface = nullptr;
  Surface8* backBuffer = nullptr;      // cleared with the screen, never shown
  Surface8* overlaySurface = nullptr;  // the background and the sprites in front of it
  Surface8* frameSurface = nullptr;    // the sprites behind; the finished picture after compose
  DisplayPalette palette{};            // built at start-up: the colours without emphasis
  uint8_t emphasis = 0;                // the colour emphasis the display's palette shows
};

// Where PresentFrame puts the picture on the screen buffer: at (192, 128) at natural size, or
// the resolution's rectangle in double-size mode. A window (WINDOWED=Yes) shows this part.
SurfaceRect PictureAreaOf(const HostSettings& settings, const DisplayGeometry& geometry);

// Opens the display in the documented order, logging each step that succeeds: the driver
// whose name matches `settings.displayDevice` (else the default display), the window (full
// screen, or windowed showing the picture area), the display mode of `geometry`, the screen
// buffer and back buffer, then the overlay and frame surfaces. Returns the failing step's
// code (nothing is released here), or kDisplayOk.
int32_t OpenVideo(VideoState& video, Display& display, const HostSettings& settings,
                  const DisplayGeometry& geometry);

// Clears the screen and back buffer to black and draws the start-up picture in the middle
// of the screen. False when the screen buffer cannot be drawn on.
bool ShowSplash(VideoState& video);

// Gives the display the palette and shows the screen buffer through it.
void AttachPalette(VideoState& video);

// Gives the display the palette under colour emphasis 0-7 (EmphasisOf, palette.h) when the
// picture to be shown has another emphasis than the last one.
void ShowEmphasis(VideoState& video, uint8_t emphasis);

// Copies the finished frame surface onto the screen buffer (at (192, 128), doubled into
// the resolution's rectangle, or doubled as scanline bands) and shows it. Copy results are
// not checked.
void PresentFrame(VideoState& video, const HostSettings& settings, const DisplayGeometry& geometry);

// Forgets the surfaces and releases the display (closing its window); safe to repeat.
void ReleaseVideo(VideoState& video);

}  // namespace wrenfold
