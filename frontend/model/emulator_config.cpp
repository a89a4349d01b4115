#include "frontend/model/emulator_config.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "files/file_lookup.h"
#include "frontend/model/file_access.h"
#include "frontend/model/number_text.h"

namespace wrenfold {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kEndMarker = kConfigEndMarker;

constexpr int kLargestScanCode = 255;
constexpr int kLargestJoyButton = 99;  // the emulator reads two digits

std::string_view YesNo(bool value) {
  return value ? kYes : kNo;
}

std::string Line(const ConfigKey& key, std::string_view value) {
  return std::string(key.written) + std::string(value);
}

// What follows the key; the item is known to start with it.
std::string_view Value(std::string_view item, const ConfigKey& key) {
  return item.substr(key.ValueStart());
}

// The first character of the value, or 0 when the item ends with its key.
char FirstValueCharacter(std::string_view item, const ConfigKey& key) {
  const std::string_view value = Value(item, key);
  return value.empty() ? '\0' : value.front();
}

int16_t InRangeOrZero(int64_t value, int largest) {
  return value >= 0 && value <= largest ? static_cast<int16_t>(value) : 0;
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

bool FitsOnOneLine(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// Consumes one line end (CR LF, LF or CR) at `pos`.
size_t SkipLineEnd(std::string_view text, size_t pos) {
  if (pos < text.size() && text[pos] == '\r') ++pos;
  if (pos < text.size() && text[pos] == '\n') ++pos;
  return pos;
}

}  // namespace

bool StereoAvailable(const ControlPanelSettings& settings) {
  return settings.soundEnabled;
}

void ApplySoundEnabled(ControlPanelSettings& settings, bool enabled) {
  settings.soundEnabled = enabled;
  if (!enabled) settings.stereo = false;
}

void SettlePlayerDevices(ControlPanelSettings& settings, int changedPlayer) {
  if (settings.player1 != settings.player2) return;
  (changedPlayer == 1 ? settings.player2 : settings.player1) = PlayerDevice::kNone;
}

std::string StepIrqAdjustCaption(std::string_view caption, int delta) {
  int64_t value = LeadingNumberValue(caption) + delta;
  value = std::clamp<int64_t>(value, std::numeric_limits<int16_t>::min(),
                              std::numeric_limits<int16_t>::max());
  return FormatSignedDecimal(value);
}

std::string RomDirectoryForConfig(std::string_view romDirectoryText) {
  std::string directory(romDirectoryText);
  if (directory.size() > 1 && (directory.back() == '/' || directory.back() == '\\')) {
    directory.pop_back();
  }
  return directory;
}

std::string FormatConfig(const ControlPanelSettings& settings) {
  std::vector<std::string> lines;
  lines.reserve(36);
  lines.push_back(Line(kFpsKey, "60"));
  lines.push_back(
      Line(kBootLanguageKey, settings.language == kLanguageEnglish ? "English" : "Chinese"));
  lines.push_back(Line(kBootKey, settings.selectedRomFile));
  lines.push_back(Line(kRomDirectoryKey, RomDirectoryForConfig(settings.romDirectoryText)));
  lines.push_back(Line(kIrqAdjustKey, " 0"));
  lines.push_back(Line(kVideoKey, settings.videoNtsc ? kNtsc : kPal));
  lines.push_back(Line(kSoundKey, !settings.soundEnabled ? kSoundNone
                                  : settings.stereo      ? kSoundStereo
                                                         : kSoundMono));
  lines.push_back(Line(kScanlineKey, YesNo(settings.scanline)));
  int resolution = std::clamp(settings.resolutionIndex, 1, 3);
  lines.push_back(Line(kResolutionKey, FormatPlainDecimal(resolution)));
  // The emulator reads HARDBUF only in another spelling; the caption is written unchanged.
  lines.push_back(Line(kHardBufKey, settings.irqAdjustCaption));
  lines.push_back(Line(kDoubleSizeKey, YesNo(settings.doubleSize)));
  lines.push_back(Line(kColorKey, YesNo(settings.color)));
  lines.push_back(Line(kNamcoSoundKey, YesNo(settings.namcoExtended)));
  lines.push_back(Line(kVrc6SoundKey, YesNo(settings.vrc6Extended)));
  lines.push_back(Line(kCpuCoreKey, CpuCoreWord(settings.cpuCore)));
  lines.push_back(Line(kRapidFireKey, FormatPlainDecimal(settings.rapidFireInterval)));
  lines.push_back(Line(kPlayerKeys[0], PlayerDeviceWord(settings.player1)));
  lines.push_back(Line(kPlayerKeys[1], PlayerDeviceWord(settings.player2)));
  for (int slot = 0; slot < kJoySlotCount; ++slot) {
    lines.push_back(Line(kJoySlotKeys[slot], FormatPlainDecimal(settings.joyMap.buttons[slot])));
  }
  for (int slot = 0; slot < kKeySlotCount; ++slot) {
    lines.push_back(Line(kKeySlotKeys[slot], FormatPlainDecimal(settings.keyMap.codes[slot])));
  }
  lines.push_back(Line(kWindowedKey, YesNo(settings.windowed)));
  lines.push_back(std::string(kEndMarker));

  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += kLineEnd;
  }
  return text;
}

ConfigItems ReadConfigItems(std::string_view text, size_t capacity) {
  ConfigItems result;
  if (text.find('\0') != std::string_view::npos) {
    result.status = ConfigStatus::Damaged;
    return result;
  }
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos == text.size()) break;

    std::string item;
    if (text[pos] == '"') {
      size_t close = text.find('"', pos + 1);
      if (close == std::string_view::npos) {
        result.status = ConfigStatus::Damaged;
        return result;
      }
      item.assign(text.substr(pos + 1, close - pos - 1));
      pos = close + 1;
      while (pos < text.size() && text[pos] != ',' && !IsLineEnd(text[pos])) ++pos;
    } else {
      size_t end = pos;
      while (end < text.size() && text[end] != ',' && !IsLineEnd(text[end])) ++end;
      item.assign(text.substr(pos, end - pos));
      pos = end;
    }
    if (pos < text.size()) pos = text[pos] == ',' ? pos + 1 : SkipLineEnd(text, pos);

    if (result.items.size() == capacity) {
      result.status = ConfigStatus::TooManyItems;
      return result;
    }
    result.items.push_back(std::move(item));
  }
  return result;
}

void ApplyConfigItems(const std::vector<std::string>& items, StartupConfig& config) {
  ControlPanelSettings& settings = config.settings;
  for (const std::string& text : items) {
    std::string_view item = text;
    if (item.starts_with(kBootLanguageKey.written)) {
      switch (FirstValueCharacter(item, kBootLanguageKey)) {
        case 'E':
        case 'e':
          settings.language = kLanguageEnglish;
          break;
        case 'C':
        case 'c':
          settings.language = kLanguageChinese;
          break;
        case 'N':
        case 'n':
          config.firstRunLanguageRequested = true;
          break;
        default:
          break;
      }
    } else if (item.starts_with(kNamcoSoundKey.written)) {
      settings.namcoExtended = Value(item, kNamcoSoundKey).substr(0, kYes.size()) == kYes;
    } else if (item.starts_with(kVrc6SoundKey.written)) {
      settings.vrc6Extended = Value(item, kVrc6SoundKey).substr(0, kYes.size()) == kYes;
    } else if (item.starts_with(kVideoKey.written)) {
      settings.videoNtsc = Value(item, kVideoKey).substr(0, 3) == kNtsc.substr(0, 3);
    } else if (item.starts_with(kScanlineKey.written)) {
      settings.scanline = FirstValueCharacter(item, kScanlineKey) == kYes[0];
    } else if (item.starts_with(kResolutionKey.written)) {
      int index = FirstValueCharacter(item, kResolutionKey) - '0';
      if (index >= 1 && index <= 3) settings.resolutionIndex = index;
    } else if (item.starts_with(kSoundKey.written)) {
      const char mode = FirstValueCharacter(item, kSoundKey);
      if (mode == kSoundStereo[0]) {
        settings.soundEnabled = true;
        settings.stereo = true;
      } else if (mode == kSoundMono[0]) {
        settings.soundEnabled = true;
        settings.stereo = false;
      } else if (mode == kSoundNone[0]) {
        ApplySoundEnabled(settings, false);
      }
    } else if (item.starts_with(kDoubleSizeKey.written)) {
      settings.doubleSize = FirstValueCharacter(item, kDoubleSizeKey) == kYes[0];
    } else if (item.starts_with(kColorKey.written)) {
      settings.color = FirstValueCharacter(item, kColorKey) == kYes[0];
    } else if (item.starts_with(kWindowedKey.written)) {
      settings.windowed = FirstValueCharacter(item, kWindowedKey) == kYes[0];
    } else if (item.starts_with(kCpuCoreKey.written)) {
      // Anything but the fast or the full core's letter picks the original C core.
      const char core = FirstValueCharacter(item, kCpuCoreKey);
      settings.cpuCore =
          core == CpuCoreWord(CpuCoreChoice::kSecondCore)[0] ? CpuCoreChoice::kSecondCore
          : core == CpuCoreWord(CpuCoreChoice::kFullCore)[0] ? CpuCoreChoice::kFullCore
                                                             : CpuCoreChoice::kReferenceCore;
    } else if (item.starts_with(kRapidFireKey.written)) {
      settings.rapidFireInterval = static_cast<int>(
          std::clamp<int64_t>(LeadingNumberValue(Value(item, kRapidFireKey)), 0, kRapidFireMax));
    } else if (item.starts_with(kPlayerKeys[0].written) ||
               item.starts_with(kPlayerKeys[1].written)) {
      PlayerDevice& device =
          item.starts_with(kPlayerKeys[0].written) ? settings.player1 : settings.player2;
      const std::string_view value = Value(item, kPlayerKeys[0]);
      for (const PlayerDevice candidate : kPlayerDevices) {
        if (value == PlayerDeviceWord(candidate)) device = candidate;
      }
    } else {
      for (int slot = 0; slot < kKeySlotCount; ++slot) {
        if (item.starts_with(kKeySlotKeys[slot].written)) {
          settings.keyMap.codes[slot] =
              InRangeOrZero(LeadingNumberValue(Value(item, kKeySlotKeys[slot])), kLargestScanCode);
        }
      }
      for (int slot = 0; slot < kJoySlotCount; ++slot) {
        if (item.starts_with(kJoySlotKeys[slot].written)) {
          settings.joyMap.buttons[slot] =
              InRangeOrZero(LeadingNumberValue(Value(item, kJoySlotKeys[slot])), kLargestJoyButton);
        }
      }
    }
  }
  settings.irqAdjustCaption = "0";
}

StartupConfig LoadStartupConfig(const std::filesystem::path& path,
                                std::string_view defaultRomDirectory) {
  StartupConfig config;
  config.romDirectory = defaultRomDirectory;
  config.settings.romDirectoryText = config.romDirectory;

  TextFileRead file = ReadTextFile(path, kConfigFileMaxBytes);
  switch (file.status) {
    case TextFileStatus::Ok:
      break;
    case TextFileStatus::Missing:
      config.status = ConfigStatus::Missing;
      return config;
    case TextFileStatus::Unreadable:
      config.status = ConfigStatus::Unreadable;
      config.detail = file.detail;
      return config;
    case TextFileStatus::TooLarge:
      config.status = ConfigStatus::Damaged;
      config.detail = file.detail;
      return config;
  }

  ConfigItems read = ReadConfigItems(file.bytes);
  config.status = read.status;

  // The ROM directory is taken first, before the other keys.
  auto romDirItem = std::find_if(read.items.begin(), read.items.end(), [](const std::string& item) {
    return item.starts_with(kRomDirectoryKey.written);
  });
  if (romDirItem != read.items.end()) {
    std::string_view value = Value(*romDirItem, kRomDirectoryKey);
    if (!value.empty()) config.romDirectory = value;
  } else if (config.status == ConfigStatus::Ok) {
    config.status = ConfigStatus::NoRomDirectory;
  }
  config.settings.romDirectoryText = config.romDirectory;

  ApplyConfigItems(read.items, config);
  if (config.status == ConfigStatus::Ok &&
      (read.items.empty() || read.items.back() != kEndMarker)) {
    config.status = ConfigStatus::NoEndMarker;
  }
  return config;
}

std::filesystem::path ConfigFileToRead(const std::filesystem::path& folder) {
  return FindFileInFolder(folder, kConfigFileName);
}

std::string DefaultRomDirectory() {
  const char* home = std::getenv("HOME");
  std::string base = home && *home ? home : ".";
  if (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/Wrenfold";
}

PatchResult PatchConfigText(std::string_view oldText, const LaunchRequest& request) {
  PatchResult result;
  if (request.bootFile.empty()) {
    result.status = ConfigStatus::NoRomSelected;
    return result;
  }
  if (!FitsOnOneLine(request.bootFile) || !FitsOnOneLine(request.romDirectoryText) ||
      !FitsOnOneLine(request.irqAdjustCaption) || !FitsOnOneLine(request.displayDeviceId)) {
    result.status = ConfigStatus::LineBreakInValue;
    return result;
  }
  ConfigItems read = ReadConfigItems(oldText);
  if (read.status != ConfigStatus::Ok) {
    result.status = read.status;
    return result;
  }

  const std::string irqCaption = request.irqAdjustCaption == "0" ? " 0" : request.irqAdjustCaption;
  struct Replacement {
    std::string_view prefix;
    std::string value;
    bool found = false;
  };
  std::vector<Replacement> replacements = {
      {kBootKey.written, request.bootFile},
      {kRomDirectoryKey.written, RomDirectoryForConfig(request.romDirectoryText)},
      {kIrqAdjustKey.written, irqCaption},
      {kDisplayDeviceKey.written, request.displayDeviceId},
  };
  if (request.cpuCore) {
    replacements.push_back({kCpuCoreKey.written, std::string(CpuCoreWord(*request.cpuCore))});
  }

  std::vector<std::string>& items = read.items;
  for (std::string& item : items) {
    for (Replacement& replacement : replacements) {
      if (item.starts_with(replacement.prefix)) {
        item = std::string(replacement.prefix) + replacement.value;
        replacement.found = true;
        break;
      }
    }
  }
  for (const Replacement& replacement : replacements) {
    if (!replacement.found) items.push_back(std::string(replacement.prefix) + replacement.value);
  }

  for (const std::string& item : items) {
    if (item.empty() || item == kEndMarker) continue;
    result.text += item;
    result.text += kLineEnd;
  }
  result.text += kEndMarker;
  result.text += kLineEnd;
  return result;
}

ConfigStatus PatchConfigFile(const std::filesystem::path& readPath,
                             const std::filesystem::path& writePath, const LaunchRequest& request,
                             std::string* detail) {
  TextFileRead file = ReadTextFile(readPath, kConfigFileMaxBytes);
  if (detail) *detail = file.detail;
  switch (file.status) {
    case TextFileStatus::Ok:
      break;
    case TextFileStatus::Missing:
      return ConfigStatus::Missing;
    case TextFileStatus::Unreadable:
      return ConfigStatus::Unreadable;
    case TextFileStatus::TooLarge:
      return ConfigStatus::Damaged;
  }
  PatchResult patched = PatchConfigText(file.bytes, request);
  if (patched.status != ConfigStatus::Ok) return patched.status;
  FileReplaceResult written = ReplaceFileContents(writePath, patched.text);
  if (detail) *detail = written.detail;
  return written.ok ? ConfigStatus::Ok : ConfigStatus::WriteFailed;
}

ConfigStatus WriteConfig(const std::filesystem::path& path, const ControlPanelSettings& settings,
                         std::string* detail) {
  if (!FitsOnOneLine(settings.selectedRomFile) || !FitsOnOneLine(settings.romDirectoryText) ||
      !FitsOnOneLine(settings.irqAdjustCaption)) {
    return ConfigStatus::LineBreakInValue;
  }
  FileReplaceResult written = ReplaceFileContents(path, FormatConfig(settings));
  if (detail) *detail = written.detail;
  return written.ok ? ConfigStatus::Ok : ConfigStatus::WriteFailed;
}

}  // namespace wrenfold
