// Message boxes on SDL, over the emulator window when it is open. Where no display can show
// one (no window system, or the dummy and offscreen video drivers) the caption and text go
// to standard error and nothing waits.
#pragma once

#include <string_view>

#include "platform/message_box.h"
#include "platform/sdl/sdl_platform.h"

namespace wrenfold {

class SdlMessageBox final : public MessageBox {
 public:
  explicit SdlMessageBox(SdlPlatform& platform) : platform(platform) {}

  void Show(std::string_view caption, std::string_view text) override;

 private:
  SdlPlatform& platform;
};

// True when a window system is reachable, so a message box can be shown and answered.
bool MessageBoxCanBeShown();

}  // namespace wrenfold
