#include "frontend/model/launch_config.h"

namespace wrenfold {

ConfigStatus PrepareConfigForStart(const std::filesystem::path& folder,
                                   const ControlPanelSettings& settings,
                                   const LaunchRequest& request, std::string* detail) {
  const std::filesystem::path writePath = folder / std::string(kConfigFileName);
  // Refuse a bad request before creating anything.
  const PatchResult trial = PatchConfigText("", request);
  if (trial.status != ConfigStatus::Ok) return trial.status;

  std::filesystem::path readPath = ConfigFileToRead(folder);
  std::error_code error;
  if (!std::filesystem::exists(readPath, error)) {
    const ConfigStatus written = WriteConfig(writePath, settings, detail);
    if (written != ConfigStatus::Ok) return written;
    readPath = writePath;
  }
  return PatchConfigFile(readPath, writePath, request, detail);
}

}  // namespace wrenfold
