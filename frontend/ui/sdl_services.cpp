#include "frontend/ui/sdl_services.h"

#include <SDL.h>

#include <QCoreApplication>
#include <QDir>
#include <string>

#include "platform/sdl/sdl_pad.h"

namespace wrenfold {
namespace {

constexpr uint32_t kSubsystems = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;

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

SdlJoystickSource::SdlJoystickSource() : pad(std::make_unique<SdlPad>()) {}

SdlJoystickSource::~SdlJoystickSource() {
  Release();
}

JoystickPoll SdlJoystickSource::Poll() {
  if (!subsystemStarted) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(kSubsystems) != 0) return {kJoystickNoDriver, 0};
    subsystemStarted = true;
  }
  // Pumping notices sticks plugged in or pulled out; the queued events themselves are not used.
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  SDL_JoystickUpdate();
  if (!pad->Connect()) return {kJoystickUnplugged, 0};
  // The buttons numbered as the emulator numbers them (a game controller in its usual layout).
  const JoystickState state = pad->Read();
  uint32_t buttons = 0;
  for (int button = 0; button < 32; ++button) {
    if (state.buttons[button] != 0) buttons |= 1u << button;
  }
  return {kJoystickOk, buttons};
}

void SdlJoystickSource::Release() {
  pad->Close();
  if (subsystemStarted) SDL_QuitSubSystem(kSubsystems);
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
