#include "emulator/host/host_settings.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>

#include "files/regular_file.h"

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

// The value words differ in their first letters, which is all that is read of them.
void ReadPlayerDevice(char c, PlayerDevice& field) {
  for (const PlayerDevice device : kPlayerDevices) {
    if (c == PlayerDeviceWord(device)[0]) field = device;
  }
}

void ReadCpuCore(char c, CpuCoreChoice& field) {
  for (const CpuCoreChoice core : kCpuCoreChoices) {
    if (c == CpuCoreWord(core)[0]) field = core;
  }
}

bool Matches(std::string_view line, const ConfigKey& key) {
  return line.starts_with(key.Compared());
}

char ValueLetter(std::string_view line, const ConfigKey& key) {
  return At(line, key.ValueStart());
}

bool IsYes(std::string_view line, const ConfigKey& key) {
  return ValueLetter(line, key) == kYes[0];
}

// Spelt with a lower-case "f", so the front-end's "HARDBUF=" line is never taken and the count
// keeps its default.
constexpr std::string_view kHardwareBuffersKey = "HARDBUf";
constexpr std::size_t kHardwareBuffersValue = 8;

// Position 7 of an IRQADJ line is the sign ("-" or a blank), the magnitude starts at 8. Five
// digits hold every value of the 16-bit range the front-end steps through.
constexpr std::size_t kIrqAdjustSign = 7;
constexpr std::size_t kIrqAdjustDigits = 8;
constexpr int kIrqAdjustMaxDigits = 5;

int16_t SignedIrqAdjust(bool negative, int32_t magnitude) {
  const int32_t value = negative ? -magnitude : magnitude;
  return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

// Every key is tested on every line, each independently of the others.
void ApplyConfigLine(std::string_view line, HostSettings& settings) {
  if (!line.empty() && line[0] == ';') return;

  if (Matches(line, kScanlineKey)) {
    if (IsYes(line, kScanlineKey)) settings.scanlineMode = true;
    if (ValueLetter(line, kScanlineKey) == kNo[0]) settings.scanlineMode = false;
  }
  // The "=" after DDEVICE is not examined.
  if (Matches(line, kDisplayDeviceKey)) {
    settings.displayDevice = Rest(line, kDisplayDeviceKey.ValueStart());
  }
  if (Matches(line, kRomDirectoryKey)) {
    settings.romDirectory = Rest(line, kRomDirectoryKey.ValueStart());
  }
  if (Matches(line, kFpsKey)) {
    if (const auto fps = ReadDigits(line, kFpsKey.ValueStart(), 2))
      settings.framesPerSecond = static_cast<int16_t>(*fps);
  }
  if (Matches(line, kResolutionKey)) {
    ReadSingleDigit(line, kResolutionKey.ValueStart(), settings.resolution);
  }
  if (Matches(line, kVideoKey)) {
    if (ValueLetter(line, kVideoKey) == kNtsc[0]) settings.videoStandard = VideoStandard::kNtsc;
    if (ValueLetter(line, kVideoKey) == kPal[0]) settings.videoStandard = VideoStandard::kPal;
  }
  if (Matches(line, kBootKey)) settings.romFileName = Rest(line, kBootKey.ValueStart());
  if (Matches(line, kRapidFireKey)) {
    ReadSingleDigit(line, kRapidFireKey.ValueStart(), settings.rapidFirePeriod);
  }
  // Any line starting SOUND turns sound on; the letter after it only picks mono or stereo.
  if (Matches(line, kSoundKey)) {
    settings.soundEnabled = true;
    const char mode = ValueLetter(line, kSoundKey);
    if (mode == kSoundStereo[0]) settings.stereo = true;
    if (mode == kSoundMono[0]) settings.stereo = false;
    if (mode == kSoundNone[0]) {
      settings.stereo = false;
      settings.soundEnabled = false;
    }
  }
  for (std::size_t player = 0; player < kPlayerKeys.size(); ++player) {
    if (Matches(line, kPlayerKeys[player])) {
      ReadPlayerDevice(ValueLetter(line, kPlayerKeys[player]), settings.playerDevice[player]);
    }
  }
  for (int slot = 0; slot < kJoySlotCount; ++slot) {
    const ConfigKey& key = kJoySlotKeys[slot];
    if (Matches(line, key))
      ReadJoystickButton(line, key.ValueStart(), settings.joystickButtons[slot]);
  }
  for (int slot = 0; slot < kKeySlotCount; ++slot) {
    const ConfigKey& key = kKeySlotKeys[slot];
    if (Matches(line, key)) ReadScanCode(line, key.ValueStart(), settings.keyboardScanCodes[slot]);
  }
  if (Matches(line, kNamcoSoundKey)) settings.namcoSound = IsYes(line, kNamcoSoundKey);
  if (Matches(line, kVrc6SoundKey)) settings.vrc6Sound = IsYes(line, kVrc6SoundKey);
  if (Matches(line, kDoubleSizeKey)) settings.doubleSize = IsYes(line, kDoubleSizeKey);
  if (Matches(line, kWindowedKey)) settings.windowed = IsYes(line, kWindowedKey);
  if (Matches(line, kColorKey)) settings.monochrome = !IsYes(line, kColorKey);
  if (line.starts_with(kHardwareBuffersKey)) {
    if (const auto count = ReadDigits(line, kHardwareBuffersValue, 1))
      settings.hardwareSoundBuffers = *count;
  }
  if (Matches(line, kCpuCoreKey)) ReadCpuCore(ValueLetter(line, kCpuCoreKey), settings.cpuCore);
  if (Matches(line, kIrqAdjustKey)) {
    if (const auto magnitude = ReadDigits(line, kIrqAdjustDigits, kIrqAdjustMaxDigits)) {
      settings.irqAdjust = SignedIrqAdjust(At(line, kIrqAdjustSign) == '-', *magnitude);
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
  const RegularFileRead file = ReadRegularFile(path, kConfigFileMaxBytes);
  if (file.status != RegularFileStatus::kOk) return false;
  ParseHostSettings(file.bytes, settings);
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
