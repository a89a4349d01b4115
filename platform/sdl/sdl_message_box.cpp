#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/common/printed_message.h"
#include "platform/sdl/sdl_platform.h"

namespace wrenfold {

namespace {

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && value[0] != '\0';
}

}  // namespace

bool MessageBoxCanBeShown() {
  if (IsWindowlessVideoDriver()) return false;
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

void SdlMessageBox::Show(std::string_view caption, std::string_view text) {
  if (MessageBoxCanBeShown()) {
    const std::string captionText(caption);
    const std::string bodyText(text);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, captionText.c_str(), bodyText.c_str(),
                                 platform.Window()) == 0) {
      return;
    }
  }
  PrintMessage(stderr, caption, text);
}

}  // namespace wrenfold
