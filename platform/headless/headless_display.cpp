#include "platform/headless/headless_display.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

namespace wrenfold {

namespace {

// Headless windows stand for a desktop of this size.
constexpr int kDesktopWidth = 1024;
constexpr int kDesktopHeight = 768;

DisplayDriverInfo MakeDriver(const std::string& name, int id) {
  return DisplayDriverInfo{
      name, name + " 0,0 " + std::to_string(kDesktopWidth) + "x" + std::to_string(kDesktopHeight),
      id};
}

}  // namespace

HeadlessDisplay::HeadlessDisplay() {
  SetDriverNames({"headless"});
}

void HeadlessDisplay::EnumerateDrivers(const std::function<bool(const DisplayDriverInfo&)>& visit) {
  for (const DisplayDriverInfo& driver : drivers) {
    if (!visit(driver)) return;
  }
}

bool HeadlessDisplay::PollWindowEvent(WindowEvent* event) {
  if (event == nullptr || windowEvents.empty()) return false;
  *event = windowEvents.front();
  windowEvents.pop_front();
  return true;
}

void HeadlessDisplay::SetDriverNames(const std::vector<std::string>& names) {
  drivers.clear();
  for (const std::string& name : names) {
    drivers.push_back(MakeDriver(name, static_cast<int>(drivers.size())));
  }
}

void HeadlessDisplay::FailStep(HeadlessDisplayStep step, int32_t code) {
  if (step < HeadlessDisplayStep::kCount) pendingFailures[static_cast<int>(step)] = code;
}

void HeadlessDisplay::PushWindowEvent(WindowEvent event) {
  windowEvents.push_back(event);
}

std::vector<uint32_t> HeadlessDisplay::PresentedArgb() const {
  std::vector<uint32_t> argb;
  argb.reserve(presentedPixels.size());
  for (uint8_t index : presentedPixels) argb.push_back(ArgbOf(presentedPalette[index]));
  return argb;
}

int32_t HeadlessDisplay::TakeFailure(HeadlessDisplayStep step) {
  return std::exchange(pendingFailures[static_cast<int>(step)], kDisplayOk);
}

int32_t HeadlessDisplay::CreateBackend(int driverId) {
  if (const int32_t failure = TakeFailure(HeadlessDisplayStep::kCreate)) return failure;
  if (drivers.empty()) return kDisplayErrGeneric;
  const bool known = driverId >= 0 && driverId < static_cast<int>(drivers.size());
  chosenDriver = known ? driverId : 0;
  return kDisplayOk;
}

int32_t HeadlessDisplay::OpenWindowBackend(const char* title) {
  if (const int32_t failure = TakeFailure(HeadlessDisplayStep::kOpenWindow)) return failure;
  windowOpen = true;
  windowTitle = title;
  return kDisplayOk;
}

int32_t HeadlessDisplay::PrepareScreen(int, int) {
  return TakeFailure(HeadlessDisplayStep::kSetDisplayMode);
}

int32_t HeadlessDisplay::CheckSurfaceCreation(bool primary) {
  return TakeFailure(primary ? HeadlessDisplayStep::kCreatePrimary
                             : HeadlessDisplayStep::kCreateOffscreen);
}

int32_t HeadlessDisplay::PresentBackend(const Surface8& screen, const DisplayPalette& palette) {
  presentedWidth = screen.Width();
  presentedHeight = screen.Height();
  presentedPalette = palette;
  ++presentCount;
  if (!keepPresentedPixels) {
    presentedPixels.clear();
    return kDisplayOk;
  }
  presentedPixels.resize(static_cast<std::size_t>(presentedWidth) * presentedHeight);
  for (int y = 0; y < presentedHeight; ++y) {
    const uint8_t* row = screen.Row(y);
    std::copy(row, row + presentedWidth,
              presentedPixels.begin() + static_cast<std::ptrdiff_t>(y) * presentedWidth);
  }
  return kDisplayOk;
}

void HeadlessDisplay::ReleaseBackend() {
  windowOpen = false;
  chosenDriver = -1;
  windowEvents.clear();
}

}  // namespace wrenfold
