#include "emulator/host/host_settings.h"

#include <cstdio>
#include <optional>

namespace wrenfold {
namespace {

// Only values of the text keys can grow long; a value cut here is far beyond what the ROM
// path accepts, so cutting never yields a different usable path.
constexpr std::size_t kMaxKeptLineLength = 1024;

// The character at `pos`, or the terminating zero past the end of the line.
char At(std::string_view line, std::size_t pos) {
  return pos < line.size() ? line[pos] : '\0';
}

std::string_view Rest(std::string_view line, std::size_t pos) {
  return pos < line.size() ? line.substr(pos) : std::string_view{};
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// One to `maxDigits` decimal digits from `pos`. The number ends at the end of the line, at a
// blank, or after `maxDigits` digits; anything else that is not a digit makes it unreadable.
std::optional<int32_t> ReadDigits(std::string_view line, std::size_t pos, int maxDigits) {
  int32_t value = 0;
  for (int count = 0; count < maxDigits; ++count) {
    const char c = At(line, pos + count);
    if (count > 0 && (c == '\0' || c == ' ' || c == '\t')) break;
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

void ReadSingleDigit(std::string_view line, std::size_t pos, uint8_t& field) {
  if (const auto digit = ReadDigits(line, pos, 1)) field = static_cast<uint8_t>(*digit);
}

// Joystick buttons are written counted from 1 and kept counted from 0.
void ReadJoystickButton(std::string_view line, std::size_t pos, int32_t& field) {
  const auto number = ReadDigits(line, pos, 2);
  if (number && *number >= 1 && *number <= kJoystickButtonLimit) field = *number - 1;
}

void ReadScanCode(std::string_view line, std::size_t pos, uint8_t& field) {
  const auto code = ReadDigits(line, pos, 3);
  if (code && *code <= 0xFF) field = static_cast<uint8_t>(*code);
}

void ReadPlayerDevice(char c, PlayerDevice& field) {
  if (c == 'J') field = PlayerDevice::kJoystick;
  if (c == 'K') field = PlayerDevice::kKeyboard;
  if (c == 'N') field = PlayerDevice::kNone;
}

struct KeyboardKey {
  std::string_view key;
  std::size_t valuePos;
  KeyboardButton button;
};

// "KEYSTAR" is compared on seven characters; the front-end writes it as "KEYSTART=".
constexpr KeyboardKey kKeyboardKeys[] = {
    {"KEYUP", 6, kKeyUp},       {"KEYDOWN", 8, kKeyDown}, {"KEYLEFT", 8, kKeyLeft},
    {"KEYRIGHT", 9, kKeyRight}, {"KEYA", 5, kKeyA},       {"KEYB", 5, kKeyB},
    {"KEYTA", 6, kKeyTurboA},   {"KEYTB", 6, kKeyTurboB}, {"KEYSELECT", 10, kKeySelect},
    {"KEYSTAR", 9, kKeyStart},
};

struct JoystickKey {
  std::string_view key;
  std::size_t valuePos;
  JoystickButton button;
};

constexpr JoystickKey kJoystickKeys[] = {
    {"JOYA=", 5, kJoyA},       {"JOYB=", 5, kJoyB},        {"JOYTA=", 6, kJoyTurboA},
    {"JOYTB=", 6, kJoyTurboB}, {"SELECT=", 7, kJoySelect}, {"START=", 6, kJoyStart},
};

// Every key is tested on every line, each independently of the others.
void ApplyConfigLine(std::string_view line, HostSettings& settings) {
  if (!line.empty() && line[0] == ';') return;

  if (line.starts_with("SLMODE=")) {
    if (At(line, 7) == 'Y') settings.scanlineMode = true;
    if (At(line, 7) == 'N') settings.scanlineMode = false;
  }
  // The "=" after DDEVICE is not examined.
  if (line.starts_with("DDEVICE")) settings.displayDevice = Rest(line, 8);
  if (line.starts_with("ROMDIR=")) settings.romDirectory = Rest(line, 7);
  if (line.starts_with("FPS=")) {
    if (const auto fps = ReadDigits(line, 4, 2))
      settings.framesPerSecond = static_cast<int16_t>(*fps);
  }
  if (line.starts_with("RES=")) ReadSingleDigit(line, 4, settings.resolution);
  if (line.starts_with("VIDEO=")) {
    if (At(line, 6) == 'N') settings.videoStandard = VideoStandard::kNtsc;
    if (At(line, 6) == 'P') settings.videoStandard = VideoStandard::kPal;
  }
  if (line.starts_with("BOOT=")) settings.romFileName = Rest(line, 5);
  if (line.starts_with("RAPIDFIRE=")) ReadSingleDigit(line, 10, settings.rapidFirePeriod);
  // Any line starting SOUND turns sound on; the letter after it only picks mono or stereo.
  if (line.starts_with("SOUND")) {
    settings.soundEnabled = true;
    const char mode = At(line, 6);
    if (mode == 'S') settings.stereo = true;
    if (mode == 'M') settings.stereo = false;
    if (mode == 'N') {
      settings.stereo = false;
      settings.soundEnabled = false;
    }
  }
  if (line.starts_with("PLAYER1=")) ReadPlayerDevice(At(line, 8), settings.playerDevice[0]);
  if (line.starts_with("PLAYER2=")) ReadPlayerDevice(At(line, 8), settings.playerDevice[1]);
  for (const JoystickKey& key : kJoystickKeys) {
    if (line.starts_with(key.key)) {
      ReadJoystickButton(line, key.valuePos, settings.joystickButtons[key.button]);
    }
  }
  for (const KeyboardKey& key : kKeyboardKeys) {
    if (line.starts_with(key.key)) {
      ReadScanCode(line, key.valuePos, settings.keyboardScanCodes[key.button]);
    }
  }
  if (line.starts_with("NamcoExt")) settings.namcoSound = At(line, 9) == 'Y';
  if (line.starts_with("VRC6Ext")) settings.vrc6Sound = At(line, 8) == 'Y';
  if (line.starts_with("2XMODE=")) settings.doubleSize = At(line, 7) == 'Y';
  if (line.starts_with("WINDOWED=")) settings.windowed = At(line, 9) == 'Y';
  if (line.starts_with("COLOR=")) settings.monochrome = At(line, 6) != 'Y';
  // The key ends in a lower-case "f", so the front-end's "HARDBUF=" line is never taken and
  // the count keeps its default.
  if (line.starts_with("HARDBUf")) {
    if (const auto count = ReadDigits(line, 8, 1)) settings.hardwareSoundBuffers = *count;
  }
  if (line.starts_with("CORE=")) {
    if (At(line, 5) == 'C') settings.cpuCore = CpuCoreChoice::kReferenceCore;
    if (At(line, 5) == 'A') settings.cpuCore = CpuCoreChoice::kSecondCore;
    if (At(line, 5) == 'F') settings.cpuCore = CpuCoreChoice::kFullCore;
  }
  // Position 7 is the sign ("-" or a blank), the magnitude starts at position 8.
  if (line.starts_with("IRQADJ")) {
    if (const auto magnitude = ReadDigits(line, 8, 3)) {
      settings.irqAdjust = static_cast<int16_t>(At(line, 7) == '-' ? -*magnitude : *magnitude);
    }
  }
}

// Collects bytes into lines and applies each. A CR before the LF is dropped, a line ends at
// its first zero byte, and a line longer than kMaxKeptLineLength keeps only its start.
struct ConfigLineCollector {
  explicit ConfigLineCollector(HostSettings& target) : settings(target) {}

  HostSettings& settings;
  std::string line;
  bool lineStarted = false;
  bool lineCut = false;

  void Feed(std::string_view bytes) {
    for (const char c : bytes) {
      if (c == '\n') {
        EndLine();
        continue;
      }
      lineStarted = true;
      if (line.size() < kMaxKeptLineLength) {
        line.push_back(c);
      } else {
        lineCut = true;
      }
    }
  }

  void Finish() {
    if (lineStarted) EndLine();
  }

  void EndLine() {
    std::string_view text = line;
    if (!lineCut && !text.empty() && text.back() == '\r') text.remove_suffix(1);
    text = text.substr(0, text.find('\0'));
    ApplyConfigLine(text, settings);
    line.clear();
    lineStarted = false;
    lineCut = false;
  }
};

}  // namespace

void ParseHostSettings(std::string_view text, HostSettings& settings) {
  ConfigLineCollector collector{settings};
  collector.Feed(text);
  collector.Finish();
}

bool ReadHostSettings(const std::filesystem::path& path, HostSettings& settings) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  ConfigLineCollector collector{settings};
  char buffer[4096];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    collector.Feed(std::string_view(buffer, count));
  }
  std::fclose(file);
  collector.Finish();
  return true;
}

bool BuildRomPath(HostSettings& settings) {
  settings.romPath.clear();
  settings.extensionIndex = 0;
  if (settings.romFileName.empty()) return true;

  std::string_view directory = settings.romDirectory;
  if (!directory.empty() && (directory.back() == '/' || directory.back() == '\\')) {
    directory.remove_suffix(1);
  }
  const std::size_t length = directory.size() + 1 + settings.romFileName.size();
  if (length > kMaxRomPathLength) return false;

  settings.romPath.reserve(length);
  settings.romPath.append(directory).append(1, '/').append(settings.romFileName);
  // A name shorter than an extension gets its extension written at the start.
  settings.extensionIndex = length >= 3 ? static_cast<int32_t>(length - 3) : 0;
  return true;
}

}  // namespace wrenfold
