#include "emulator/host/failure_messages.h"

#include "emulator/host/rom_diagnosis.h"

namespace wrenfold {

std::string CartridgeFailureText(const HostSettings& settings) {
  std::string reason;
  if (settings.romFileName.empty()) {
    reason = "no game was chosen (BOOT= in Wrenfold.CFG is empty). Pick a game in cartdesk";
  } else if (settings.romPath.empty()) {
    reason = "its folder and file name together are longer than " +
             std::to_string(kMaxRomPathLength) + " characters";
  } else {
    reason = DiagnoseRomImage(settings.romPath);
    if (reason.empty()) reason = "the image cannot be used";
  }
  const std::string game = settings.romPath.empty() ? settings.romFileName : settings.romPath;
  return "Wrenfold could not load the game" + (game.empty() ? "" : " \"" + game + "\"") + ": " +
         reason + ".";
}

}  // namespace wrenfold
