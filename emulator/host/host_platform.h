// The services the emulator runs on, created by the program's entry (SDL) or by a test or
// the headless runner (headless), and handed to start-up. The emulator never owns them.
#pragma once

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "platform/sound_service.h"

namespace wrenfold {

struct Platform {
  Display& display;
  Input& input;
  Clock& clock;
  MessageBox& messageBox;
  SoundService& sound;
};

}  // namespace wrenfold
