#include "frontend/model/launch_config.h"

namespace wrenfold {

ConfigStatus PrepareConfigForStart(const std::filesystem::path& folder,
                                   const ControlPanelSettings& settings,
                                   const LaunchRequest& request, std::string* detail) {
  const std::filesystem::path writePath = folder / std::string(kConfigFileName);
  // Refuse a bad request before creating anything.
  const PatchResult trial = PatchConfigText("", request);
  if (trial.status != ConfigStatus::Ok) return trial.status;

  // What the panel shows is what runs: its settings are stored first, as "Update Config"
  // stores them, and the start's own keys are patched in after.
  const ConfigStatus written = WriteConfig(writePath, settings, detail);
  if (written != ConfigStatus::Ok) return written;
  return PatchConfigFile(writePath, writePath, request, detail);
}

}  // namespace wrenfold
