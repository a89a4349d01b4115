// A display without a window, for tests and the headless runner: the screen buffer and the
// surfaces live in memory, Present keeps a copy of the screen buffer for the caller to read,
// and window events and step failures are injected by the caller.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/common/display_base.h"

namespace wrenfold {

enum class HeadlessDisplayStep : uint8_t {
  kCreate,
  kOpenWindow,
  kSetDisplayMode,
  kCreatePrimary,
  kCreateOffscreen,
  kCount
};

class HeadlessDisplay final : public DisplayBase {
 public:
  // Offers one driver, "headless".
  HeadlessDisplay();
  ~HeadlessDisplay() override { Release(); }

  void EnumerateDrivers(const std::function<bool(const DisplayDriverInfo&)>& visit) override;
  bool PollWindowEvent(WindowEvent* event) override;

  // Replaces the drivers the walk offers; their ids are their positions.
  void SetDriverNames(const std::vector<std::string>& names);
  // The next call of `step` fails with `code` (a negative display result).
  void FailStep(HeadlessDisplayStep step, int32_t code);
  void PushWindowEvent(WindowEvent event);

  // The driver id Create resolved to (0 for the default), -1 before Create.
  int ChosenDriver() const { return chosenDriver; }
  bool WindowOpen() const { return windowOpen; }
  const std::string& WindowTitle() const { return windowTitle; }

  // Whether Present copies the screen buffer for PresentedPixels (the default). A caller that
  // reads the picture elsewhere, as the headless runner does from the frame surface, turns
  // the copy off; the count and the palette are kept either way.
  void KeepPresentedPixels(bool keep) { keepPresentedPixels = keep; }

  int PresentCount() const { return presentCount; }
  // The screen buffer as last presented, ModeWidth() x ModeHeight() indices without padding;
  // empty while KeepPresentedPixels is off.
  const std::vector<uint8_t>& PresentedPixels() const { return presentedPixels; }
  const DisplayPalette& PresentedPalette() const { return presentedPalette; }
  // The last presented picture as 0xAARRGGBB pixels, row after row.
  std::vector<uint32_t> PresentedArgb() const;

 protected:
  int32_t CreateBackend(int driverId) override;
  int32_t OpenWindowBackend(const char* title) override;
  int32_t PrepareScreen(int width, int height) override;
  int32_t CheckSurfaceCreation(bool primary) override;
  int32_t PresentBackend(const Surface8& screen, const DisplayPalette& palette) override;
  void ReleaseBackend() override;

 private:
  int32_t TakeFailure(HeadlessDisplayStep step);

  std::vector<DisplayDriverInfo> drivers;
  int32_t pendingFailures[static_cast<int>(HeadlessDisplayStep::kCount)] = {};
  std::deque<WindowEvent> windowEvents;
  int chosenDriver = -1;
  bool windowOpen = false;
  std::string windowTitle;
  int presentCount = 0;
  bool keepPresentedPixels = true;
  int presentedWidth = 0;
  int presentedHeight = 0;
  std::vector<uint8_t> presentedPixels;
  DisplayPalette presentedPalette{};
};

}  // namespace wrenfold
