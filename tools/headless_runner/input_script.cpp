#include "tools/headless_runner/input_script.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/dik_codes.h"
#include "tools/headless_runner/runner_options.h"

namespace wrenfold::headless {
namespace {

struct ButtonKey {
  std::string_view name;
  uint8_t padBit;       // in the padState layout
  KeyboardButton slot;  // its place among the configured keys
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

std::optional<std::string> ParseLine(std::string_view line, std::size_t lineNumber,
                                     InputScript& script) {
  std::istringstream words{std::string(StripComment(line))};
  std::string frameWord;
  if (!(words >> frameWord)) return std::nullopt;  // blank or comment only

  const std::optional<uint32_t> frame = ParseCount(frameWord);
  if (!frame || *frame == 0) {
    return LineError(lineNumber, "\"" + frameWord + "\" is not a frame number from 1");
  }
  if (!script.steps.empty() && *frame <= script.steps.back().frame) {
    return LineError(lineNumber, "frame " + frameWord + " does not come after frame " +
                                     std::to_string(script.steps.back().frame));
  }

  InputStep step{*frame, 0};
  bool released = false;
  bool any = false;
  for (std::string word; words >> word;) {
    any = true;
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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
  script.steps.clear();
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    ++lineNumber;
    if (std::optional<std::string> error =
            ParseLine(text.substr(start, end - start), lineNumber, script)) {
      script.steps.clear();
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
  if (wanted == held) return;
  for (const ButtonKey& key : kButtonKeys) {
    const bool isHeld = (held & key.padBit) != 0;
    const bool shouldHold = (wanted & key.padBit) != 0;
    if (isHeld != shouldHold) input.InjectKey(key.scanCode, shouldHold);
  }
  held = wanted;
}

}  // namespace wrenfold::headless
