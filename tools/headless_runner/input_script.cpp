#include "tools/headless_runner/input_script.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/dik_codes.h"
#include "tools/headless_runner/key_names.h"
#include "tools/headless_runner/runner_options.h"

namespace wrenfold::headless {
namespace {

struct ButtonKey {
  std::string_view name;
  uint8_t padBit;  // in the padState layout
  KeySlot slot;    // its place among the configured keys
  uint8_t scanCode;
};

// None of these keys is a hot key of the frame driver.
constexpr std::array<ButtonKey, 8> kButtonKeys = {{
    {"a", 0x01, kKeyA, kDikX},
    {"b", 0x02, kKeyB, kDikZ},
    {"select", 0x04, kKeySelect, kDikSpace},
    {"start", 0x08, kKeyStart, kDikReturn},
    {"up", 0x10, kKeyUp, kDikUp},
    {"down", 0x20, kKeyDown, kDikDown},
    {"left", 0x40, kKeyLeft, kDikLeft},
    {"right", 0x80, kKeyRight, kDikRight},
}};

std::string LineError(std::size_t lineNumber, const std::string& what) {
  return "input script line " + std::to_string(lineNumber) + ": " + what;
}

std::string_view StripComment(std::string_view line) {
  const std::size_t hash = line.find('#');
  return hash == std::string_view::npos ? line : line.substr(0, hash);
}

std::string Lowercase(std::string word) {
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return word;
}

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

// The frame of the script's last line so far (0 before the first).
uint32_t LastFrame(const InputScript& script) {
  const uint32_t lastStep = script.steps.empty() ? 0 : script.steps.back().frame;
  const uint32_t lastTap = script.taps.empty() ? 0 : script.taps.back().frame;
  return std::max(lastStep, lastTap);
}

// Takes the next blank-separated word off the front of `text` (empty at the end).
std::string NextWord(std::string_view& text) {
  const std::size_t start = text.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) {
    text = {};
    return {};
  }
  const std::size_t end = std::min(text.find_first_of(" \t\r", start), text.size());
  const std::string word(text.substr(start, end - start));
  text.remove_prefix(end);
  return word;
}

// "key NAME": the rest of the line names the key, spaces included ("Keypad -").
std::optional<std::string> ParseKeyTap(uint32_t frame, std::string_view rest,
                                       std::size_t lineNumber, InputScript& script) {
  const std::string name = Trimmed(rest);
  if (name.empty()) return LineError(lineNumber, "no key name after \"key\"");
  const std::optional<uint8_t> scanCode = ScanCodeForKeyName(name);
  if (!scanCode) {
    return LineError(lineNumber, "unknown key \"" + name + "\" (keys are named as SDL names them)");
  }
  script.taps.push_back({frame, *scanCode});
  return std::nullopt;
}

std::optional<std::string> ParseLine(std::string_view line, std::size_t lineNumber,
                                     InputScript& script) {
  std::string_view rest = StripComment(line);
  const std::string frameWord = NextWord(rest);
  if (frameWord.empty()) return std::nullopt;  // blank or comment only

  const std::optional<uint32_t> frame = ParseCount(frameWord);
  if (!frame || *frame == 0) {
    return LineError(lineNumber, "\"" + frameWord + "\" is not a frame number from 1");
  }
  std::string word = Lowercase(NextWord(rest));
  const bool keyLine = word == "key";
  if (!keyLine && !script.steps.empty() && *frame <= script.steps.back().frame) {
    return LineError(lineNumber, "frame " + frameWord + " does not come after frame " +
                                     std::to_string(script.steps.back().frame));
  }
  if (*frame < LastFrame(script)) {
    return LineError(lineNumber, "frame " + frameWord + " comes before frame " +
                                     std::to_string(LastFrame(script)));
  }
  if (keyLine) return ParseKeyTap(*frame, rest, lineNumber, script);

  InputStep step{*frame, 0};
  bool released = false;
  bool any = false;
  for (; !word.empty(); word = Lowercase(NextWord(rest))) {
    any = true;
    if (word == "-") {
      released = true;
      continue;
    }
    const auto key = std::ranges::find(kButtonKeys, word, &ButtonKey::name);
    if (key == kButtonKeys.end()) return LineError(lineNumber, "unknown button \"" + word + "\"");
    step.buttons |= key->padBit;
  }
  if (!any) return LineError(lineNumber, "no buttons after the frame (\"-\" releases all)");
  if (released && step.buttons != 0) {
    return LineError(lineNumber, "\"-\" cannot be combined with buttons");
  }
  script.steps.push_back(step);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ParseInputScript(std::string_view text, InputScript& script) {
  script = InputScript{};
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    ++lineNumber;
    if (std::optional<std::string> error =
            ParseLine(text.substr(start, end - start), lineNumber, script)) {
      script = InputScript{};
      return error;
    }
    start = end + 1;
  }
  return std::nullopt;
}

std::optional<std::string> LoadInputScript(const std::string& path, InputScript& script) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return "cannot open input script \"" + path + "\"";
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) return "cannot read input script \"" + path + "\"";
  return ParseInputScript(text.str(), script);
}

void UseScriptKeyboard(HostSettings& settings) {
  settings.playerDevice[0] = PlayerDevice::kKeyboard;
  settings.keyboardScanCodes.fill(kNoKey);
  for (const ButtonKey& key : kButtonKeys) settings.keyboardScanCodes[key.slot] = key.scanCode;
}

void InputScriptPlayer::BeforeFrame(uint32_t frame, HeadlessInput& input) {
  uint8_t wanted = held;
  while (nextStep < script.steps.size() && script.steps[nextStep].frame <= frame) {
    wanted = script.steps[nextStep++].buttons;
  }
  for (const ButtonKey& key : kButtonKeys) {
    const bool isHeld = (held & key.padBit) != 0;
    const bool shouldHold = (wanted & key.padBit) != 0;
    if (isHeld != shouldHold) input.InjectKey(key.scanCode, shouldHold);
  }
  held = wanted;
  while (nextTap < script.taps.size() && script.taps[nextTap].frame <= frame) {
    const uint8_t scanCode = script.taps[nextTap++].scanCode;
    input.PressKey(scanCode);
    input.ReleaseKey(scanCode);
  }
}

}  // namespace wrenfold::headless
