// Scripted input: a text file of "FRAME BUTTONS" lines, each giving the complete set of
// player 1's buttons held from that frame on, and "FRAME key NAME" lines, each pressing and
// releasing one key in that frame (the save-state and movie keys, say). Everything is played
// into the headless keyboard, so it takes the emulator's own keyboard path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/host/host_settings.h"
#include "platform/headless/headless_input.h"

namespace wrenfold::headless {

// One script line: from `frame` (counted from 1) on, exactly `buttons` are held, in the
// padState layout (bit 0 A, 1 B, 2 Select, 3 Start, 4 Up, 5 Down, 6 Left, 7 Right).
struct InputStep {
  uint32_t frame = 0;
  uint8_t buttons = 0;

  friend bool operator==(const InputStep&, const InputStep&) = default;
};

// One key pressed and released before frame `frame` runs.
struct KeyTap {
  uint32_t frame = 0;
  uint8_t scanCode = 0;

  friend bool operator==(const KeyTap&, const KeyTap&) = default;
};

struct InputScript {
  std::vector<InputStep> steps;  // frames strictly increasing
  std::vector<KeyTap> taps;      // frames never decreasing, in the order of the script
};

// Parses a whole script. On a bad line returns the reason with its line number.
std::optional<std::string> ParseInputScript(std::string_view text, InputScript& script);

// Reads and parses the file at `path`.
std::optional<std::string> LoadInputScript(const std::string& path, InputScript& script);

// Gives player 1 the keyboard with the keys the player below presses (and no turbo keys).
void UseScriptKeyboard(HostSettings& settings);

// Turns the script into key presses and releases, one frame at a time.
class InputScriptPlayer {
 public:
  explicit InputScriptPlayer(InputScript script) : script(std::move(script)) {}

  // Call before running frame `frame` (from 1): queues the key transitions that take the
  // held buttons to what the script holds in that frame, then the frame's key taps.
  void BeforeFrame(uint32_t frame, HeadlessInput& input);

  uint8_t HeldButtons() const { return held; }

 private:
  InputScript script;
  std::size_t nextStep = 0;
  std::size_t nextTap = 0;
  uint8_t held = 0;
};

}  // namespace wrenfold::headless
