#include "frontend/model/fds_loader_model.h"

#include "frontend/model/rom_list.h"

namespace wrenfold {

std::vector<std::string> ListFdsImages(const std::filesystem::path& romDirectory,
                                       bool* folderUnreadable) {
  return ListFilesWithExtension(romDirectory, ".fds", folderUnreadable);
}

std::optional<LaunchRequest> FdsLaunchRequest(std::string_view selectedImage,
                                              const LaunchRequest& mainWindowRequest) {
  if (selectedImage.empty()) return std::nullopt;
  LaunchRequest request = mainWindowRequest;
  request.bootFile = selectedImage;
  return request;
}

}  // namespace wrenfold
