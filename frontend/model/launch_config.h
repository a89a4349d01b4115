// Getting Wrenfold.CFG ready for a start of the emulator from the front-end.
#pragma once

#include <filesystem>
#include <string>

#include "frontend/model/emulator_config.h"

namespace wrenfold {

// Writes the panel's settings to the configuration file in `folder` (as "Update Config" does),
// then patches BOOT=, ROMDIR=, IRQADJ= and DDEVICE= in it, so the emulator runs with what the
// panel shows. Nothing is written when the request is refused.
ConfigStatus PrepareConfigForStart(const std::filesystem::path& folder,
                                   const ControlPanelSettings& settings,
                                   const LaunchRequest& request, std::string* detail = nullptr);

}  // namespace wrenfold
