// The one owner of the SDL library in the process. It initialises SDL's subsystems on first
// use and shuts SDL down once, when it is destroyed; every SDL service of the platform layer
// takes a reference to it, and it must outlive them. It also pumps SDL's single event queue,
// routing key transitions to the keyboard buffer and window events to the window queue.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <functional>

#include "platform/common/buffered_keyboard.h"
#include "platform/display.h"

namespace wrenfold {

class SdlPlatform {
 public:
  SdlPlatform() = default;
  ~SdlPlatform();
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  // Starts the SDL subsystems in `flags` (SDL_INIT_*) that are not running yet. On failure
  // the reason goes to standard error and false comes back.
  bool StartSubsystems(uint32_t flags);
  bool SubsystemsRunning(uint32_t flags) const { return (started & flags) == flags; }

  // The emulator window, while the display has one open.
  SDL_Window* Window() const { return window; }
  void SetWindow(SDL_Window* emulatorWindow);
  bool WindowHasKeyboardFocus() const;

  // Drains SDL's event queue. Alt+Enter goes to the window-mode switch instead of the keyboard.
  void PumpEvents();
  void SetWindowModeSwitch(std::function<void()> toggle) { windowModeSwitch = std::move(toggle); }
  bool PopWindowEvent(WindowEvent* event);
  KeyEventBuffer& Keys() { return keys; }

 private:
  void QueueWindowEvent(WindowEventType type);

  uint32_t started = 0;
  bool initialised = false;
  SDL_Window* window = nullptr;
  KeyEventBuffer keys;
  std::deque<WindowEvent> windowEvents;
  std::function<void()> windowModeSwitch;
};

// True while SDL runs one of its windowless video drivers ("dummy", "offscreen"): no window
// system shows anything, hands out focus or answers a message box.
bool IsWindowlessVideoDriver();

}  // namespace wrenfold
