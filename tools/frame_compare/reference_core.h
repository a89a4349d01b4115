// A libretro core run headless as the reference emulator: loaded with dlopen, given the
// cartridge, driven one frame at a time with player 1's buttons, and its last picture kept
// as RGB. A core's callbacks carry no context, so only one ReferenceCore may be open at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/frame_compare/rgb_picture.h"

namespace wrenfold::compare {

class ReferenceCore {
 public:
  ReferenceCore() = default;
  ReferenceCore(const ReferenceCore&) = delete;
  ReferenceCore& operator=(const ReferenceCore&) = delete;
  ~ReferenceCore();

  // Loads the core library and the cartridge. Returns the reason when either fails.
  std::optional<std::string> Open(const std::string& corePath, const std::string& romPath);

  // Runs one frame with `buttons` held (the padState layout: bit 0 A, 1 B, 2 Select,
  // 3 Start, 4 Up, 5 Down, 6 Left, 7 Right).
  void RunFrame(uint8_t buttons);

  // The last picture the core presented (empty before the first).
  const RgbPicture& Picture() const { return picture; }

  const std::string& Name() const { return name; }

  // Called by the core through the C callbacks.
  bool Environment(unsigned command, void* data);
  void TakeVideo(const void* data, unsigned width, unsigned height, std::size_t pitch);
  int16_t ButtonState(unsigned port, unsigned device, unsigned id) const;

 private:
  struct Entry;
  void Close();

  void* library = nullptr;
  Entry* entry = nullptr;
  bool gameLoaded = false;
  std::string name;
  std::string systemDirectory;
  std::vector<uint8_t> rom;
  int pixelFormat = 0;
  uint8_t heldButtons = 0;
  RgbPicture picture;
};

}  // namespace wrenfold::compare
