// The display service: one full-screen window showing an 8-bit palettised screen buffer.
// The host draws into 8-bit surfaces (platform/surface8.h) and calls Present to show the
// screen buffer, scaled nearest-neighbour and letterboxed to the window. In windowed mode the
// window shows only the picture area of the screen buffer, in a resizable window that opens
// at a whole multiple of the picture's size; Alt+Enter switches between the two modes.
//
// Order of use: EnumerateDrivers, Create, OpenFullScreenWindow, SetDisplayMode,
// CreatePrimarySurface, CreateOffscreenSurface (any number), SetPalette, then Present per
// frame. Every step reports failure with a negative code from platform/display_result.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/display_result.h"
#include "platform/surface8.h"

namespace wrenfold {

inline constexpr const char* kWindowTitle = "Wrenfold 2000 b1";

// Driver id that picks the default display.
inline constexpr int kDefaultDisplayDriver = -1;

struct DisplayDriverInfo {
  std::string name;  // compared with the configured display device name
  std::string description;
  int id = kDefaultDisplayDriver;
};

// Window-system events, in the role the emulator window's messages play.
enum class WindowEventType : uint8_t {
  kClose,         // the window was closed by the user or the system
  kFocusGained,   // the window has the keyboard again
  kFocusLost,     // another window took the keyboard
  kEscapePressed  // the Esc key went down on the window
};

struct WindowEvent {
  WindowEventType type = WindowEventType::kClose;
};

class Display {
 public:
  virtual ~Display() = default;

  // Walks the display drivers in order; the walk stops when `visit` returns false.
  virtual void EnumerateDrivers(const std::function<bool(const DisplayDriverInfo&)>& visit) = 0;
  // Opens the display object on a driver id from the walk. kDefaultDisplayDriver, or an id
  // that no longer exists, takes the default display.
  virtual int32_t Create(int driverId) = 0;
  // Covers the chosen display with the emulator's window (desktop size, cursor hidden), or
  // in windowed mode opens a window of a whole multiple of the picture area.
  virtual int32_t OpenFullScreenWindow(const char* title) = 0;
  // Full screen (false, the start) or a window; before the window opens or while it is open.
  virtual void SetWindowed(bool windowed) = 0;
  virtual bool Windowed() const = 0;
  // The part of the screen buffer that holds the picture, which is what a window shows.
  virtual void SetPictureArea(const SurfaceRect& area) = 0;
  // Sizes the screen buffer: 640 x 480, 800 x 600 or 1024 x 768 at 8 bits per pixel;
  // anything else is kDisplayErrInvalidMode.
  virtual int32_t SetDisplayMode(int width, int height, int bitsPerPixel) = 0;
  // Creates the screen buffer and its back buffer, both the size of the display mode and
  // cleared to 0. The back buffer is never shown. The surfaces live until Release.
  virtual int32_t CreatePrimarySurface(Surface8** primary, Surface8** backBuffer) = 0;
  // Creates an off-screen surface cleared to 0; it lives until Release.
  virtual int32_t CreateOffscreenSurface(int width, int height, Surface8** surface) = 0;
  // Sets the 256 colours the screen buffer's indices are shown with.
  virtual int32_t SetPalette(const DisplayPalette& palette) = 0;
  // Shows the screen buffer on the window through the palette.
  virtual int32_t Present() = 0;
  // Takes the next pending window event; false when there is none.
  virtual bool PollWindowEvent(WindowEvent* event) = 0;
  // Closes the window and frees every surface (their pointers become invalid); safe to call
  // more than once.
  virtual void Release() = 0;
};

}  // namespace wrenfold
