#include "platform/sdl/sdl_platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/sdl_key_map.h"

namespace wrenfold {

namespace {

// Window events kept before new ones are dropped (a close is always kept).
constexpr std::size_t kWindowEventLimit = 64;

}  // namespace

SdlPlatform::~SdlPlatform() {
  if (initialised) SDL_Quit();
}

bool SdlPlatform::StartSubsystems(uint32_t flags) {
  const uint32_t missing = flags & ~started;
  if (missing == 0) return true;
  if (!initialised) {
    if (SDL_Init(0) != 0) {
      std::fprintf(stderr, "SDL could not start: %s\n", SDL_GetError());
      return false;
    }
    initialised = true;
  }
  if (SDL_InitSubSystem(missing) != 0) {
    std::fprintf(stderr, "SDL subsystem 0x%x could not start: %s\n", static_cast<unsigned>(missing),
                 SDL_GetError());
    return false;
  }
  started |= missing;
  return true;
}

void SdlPlatform::SetWindow(SDL_Window* emulatorWindow) {
  window = emulatorWindow;
  if (window == nullptr) windowEvents.clear();
}

bool IsWindowlessVideoDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) driver = std::getenv("SDL_VIDEODRIVER");
  return driver != nullptr &&
         (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

bool SdlPlatform::WindowHasKeyboardFocus() const {
  if (window == nullptr) return false;
  // The windowless video drivers never hand out focus; their window counts as focused so a
  // headless run does not wait forever for the keyboard.
  if (IsWindowlessVideoDriver()) return true;
  return (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void SdlPlatform::PumpEvents() {
  if (!SubsystemsRunning(SDL_INIT_VIDEO)) return;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    switch (event.type) {
      case SDL_QUIT:
        QueueWindowEvent(WindowEventType::kClose);
        break;
      case SDL_WINDOWEVENT:
        if (window == nullptr || event.window.windowID != SDL_GetWindowID(window)) break;
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
          QueueWindowEvent(WindowEventType::kClose);
        } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
          QueueWindowEvent(WindowEventType::kFocusGained);
        } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
          QueueWindowEvent(WindowEventType::kFocusLost);
        }
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        const bool pressed = event.type == SDL_KEYDOWN;
        const bool autoRepeat = event.key.repeat != 0;
        const SDL_Scancode scancode = event.key.keysym.scancode;
        const bool enter = scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER;
        if (pressed && enter && (event.key.keysym.mod & KMOD_ALT) != 0 && windowModeSwitch) {
          // Alt+Enter switches the window mode; the game does not see this Enter press.
          if (!autoRepeat) windowModeSwitch();
          break;
        }
        keys.Push(DikFromSdlScancode(event.key.keysym.scancode), pressed, autoRepeat);
        if (pressed && !autoRepeat && event.key.keysym.scancode == SDL_SCANCODE_ESCAPE) {
          QueueWindowEvent(WindowEventType::kEscapePressed);
        }
        break;
      }
      default:
        break;
    }
  }
}

bool SdlPlatform::PopWindowEvent(WindowEvent* event) {
  if (event == nullptr || windowEvents.empty()) return false;
  *event = windowEvents.front();
  windowEvents.pop_front();
  return true;
}

void SdlPlatform::QueueWindowEvent(WindowEventType type) {
  if (windowEvents.size() >= kWindowEventLimit) {
    if (type != WindowEventType::kClose) return;
    windowEvents.pop_front();
  }
  windowEvents.push_back(WindowEvent{type});
}

}  // namespace wrenfold
