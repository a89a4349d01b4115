// Getting Wrenfold.CFG ready for a start of the emulator from the front-end.
#pragma once

#include <filesystem>
#include <string>

#include "frontend/model/emulator_config.h"

namespace wrenfold {

// Patches BOOT=, ROMDIR=, IRQADJ= and DDEVICE= of the configuration file in `folder`. When the
// folder has no configuration file yet, the panel's settings are written first, so the emulator
// gets a complete file instead of four lines. Nothing is written when the request is refused.
ConfigStatus PrepareConfigForStart(const std::filesystem::path& folder,
                                   const ControlPanelSettings& settings,
                                   const LaunchRequest& request, std::string* detail = nullptr);

}  // namespace wrenfold
