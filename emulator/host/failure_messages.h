// What the emulator tells the user in plain words when it cannot start or has to stop, in
// message boxes shown after the log lines (without a display they go to standard error).
#pragma once

#include <string>

#include "emulator/host/host_settings.h"

namespace wrenfold {

// Caption of the boxes below.
inline constexpr const char* kFailureCaption = "Wrenfold";

// Follows the display failure's own text in its message box.
inline constexpr const char* kVideoFailureAdvice =
    "\nWrenfold could not open its window and picture on this display, so the game cannot be "
    "shown. Make sure a desktop session is running, or choose another display or resolution in "
    "cartdesk's control panel.";

// Follows the joystick failure's own text in its message box.
inline constexpr const char* kJoystickMissingAdvice =
    "\nNo joystick is connected. The game starts anyway; a joystick or game controller plugged "
    "in while it runs is used at once.";

// The CPU met an opcode it cannot run; the log has its address.
inline constexpr const char* kHaltText =
    "The game stopped: the processor met an instruction it cannot run. The game may need a "
    "board or an instruction Wrenfold does not have, or the ROM image may be damaged. Where it "
    "happened is written in wrenfold.tst in the working folder.";

// Why the cartridge of `settings` (as read from Wrenfold.CFG, before its ROM path was
// released) could not be loaded.
std::string CartridgeFailureText(const HostSettings& settings);

}  // namespace wrenfold
