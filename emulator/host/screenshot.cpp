#include "emulator/host/screenshot.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "emulator/host/log.h"
#include "emulator/host/png_writer.h"

namespace wrenfold {
namespace {

// Enough attempts for many pictures taken within one second.
constexpr int kMaxNameAttempts = 100;

std::string_view GameName(std::string_view romPath) {
  const std::size_t slash = romPath.find_last_of("/\\");
  std::string_view name = slash == std::string_view::npos ? romPath : romPath.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return name.empty() ? std::string_view("wrenfold") : name;
}

// The picture area of the screen buffer as RGB bytes.
std::optional<std::vector<uint8_t>> PictureRgb(const VideoState& video, const SurfaceRect& area) {
  const Surface8* screen = video.primarySurface;
  if (screen == nullptr || area.x < 0 || area.y < 0 || area.width < 1 || area.height < 1 ||
      area.x + area.width > screen->Width() || area.y + area.height > screen->Height()) {
    return std::nullopt;
  }
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(area.width) * static_cast<std::size_t>(area.height) * 3);
  for (int y = area.y; y < area.y + area.height; ++y) {
    const uint8_t* row = screen->Row(y);
    for (int x = area.x; x < area.x + area.width; ++x) {
      const PaletteEntry& colour = video.palette[row[x]];
      rgb.insert(rgb.end(), {colour.red, colour.green, colour.blue});
    }
  }
  return rgb;
}

void LogFailure(std::string_view reason) {
  LogText("Screenshot failed: ");
  LogText(reason);
  LogText("\n");
}

}  // namespace

std::string ScreenshotFileName(std::string_view romPath, const std::tm& localTime, int attempt) {
  char moment[32];
  std::strftime(moment, sizeof moment, "%Y-%m-%d_%H-%M-%S", &localTime);
  std::string name = std::string(GameName(romPath)) + "_" + moment;
  if (attempt > 1) name += "_" + std::to_string(attempt);
  return name + ".png";
}

void SaveScreenshot(const HostState& host) {
  const SurfaceRect area = PictureAreaOf(host.settings, host.display);
  const std::optional<std::vector<uint8_t>> rgb = PictureRgb(host.video, area);
  if (!rgb) {
    LogFailure("no picture on the screen");
    return;
  }
  std::error_code error;
  std::filesystem::create_directories(kScreenshotFolder, error);
  if (error) {
    LogFailure(std::string(kScreenshotFolder) + ": " + error.message());
    return;
  }
  const std::time_t now = std::time(nullptr);
  std::tm localTime{};
  localtime_r(&now, &localTime);
  for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
    const std::string path = std::string(kScreenshotFolder) + "/" +
                             ScreenshotFileName(host.settings.romPath, localTime, attempt);
    if (std::filesystem::exists(path, error)) continue;
    if (const auto failure = WriteRgbPng(path, area.width, area.height, *rgb)) {
      LogFailure(*failure);
    } else {
      LogText("Screenshot: " + path + "\n");
    }
    return;
  }
  LogFailure("too many pictures this second");
}

}  // namespace wrenfold
