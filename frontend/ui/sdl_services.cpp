#include "frontend/ui/sdl_services.h"

#include <SDL.h>

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <string>

namespace wrenfold {
namespace {

// The emulator calls its display drivers by these names (and falls back to its default display
// when DDEVICE= names none of them), so both sides must build them alike.
std::string DisplayName(int index) {
  const char* name = SDL_GetDisplayName(index);
  if (name != nullptr && name[0] != '\0') return name;
  return "Display " + std::to_string(index + 1);
}

std::string DisplayDescription(const std::string& name, const SDL_Rect& bounds) {
  return name + " " + std::to_string(bounds.x) + "," + std::to_string(bounds.y) + " " +
         std::to_string(bounds.w) + "x" + std::to_string(bounds.h);
}

}  // namespace

std::vector<DisplayDevice> EnumerateSdlDisplays() {
  std::vector<DisplayDevice> devices;
  // Qt owns the process's signals; SDL must not take SIGINT and SIGTERM from it.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return devices;
  const int count = SDL_GetNumVideoDisplays();
  for (int index = 0; index < count; ++index) {
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(index, &bounds) != 0) bounds = SDL_Rect{};
    const std::string name = DisplayName(index);
    devices.push_back(
        {QString::fromStdString(DisplayDescription(name, bounds)), QString::fromStdString(name)});
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return devices;
}

JoystickPoll SdlJoystickSource::Poll() {
  if (!subsystemStarted) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return {kJoystickNoDriver, 0};
    subsystemStarted = true;
  }
  // Pumping notices sticks plugged in or pulled out; the queued events themselves are not used.
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  if (joystick != nullptr && !SDL_JoystickGetAttached(joystick)) {
    SDL_JoystickClose(joystick);
    joystick = nullptr;
  }
  if (joystick == nullptr) {
    if (SDL_NumJoysticks() < 1) return {kJoystickUnplugged, 0};
    joystick = SDL_JoystickOpen(0);
    if (joystick == nullptr) return {kJoystickUnplugged, 0};
  }
  SDL_JoystickUpdate();
  uint32_t buttons = 0;
  const int count = std::min(SDL_JoystickNumButtons(joystick), 32);
  for (int button = 0; button < count; ++button) {
    if (SDL_JoystickGetButton(joystick, button) != 0) buttons |= 1u << button;
  }
  return {kJoystickOk, buttons};
}

void SdlJoystickSource::Release() {
  if (joystick != nullptr) SDL_JoystickClose(joystick);
  joystick = nullptr;
  if (subsystemStarted) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  subsystemStarted = false;
}

FrontendServices DefaultFrontendServices() {
  FrontendServices services;
  services.workingFolder = QDir::currentPath();
  services.programFolder = QCoreApplication::applicationDirPath();
  services.enumerateDisplays = EnumerateSdlDisplays;
  services.joystick = std::make_shared<SdlJoystickSource>();
  return services;
}

}  // namespace wrenfold
