#include "frontend/model/emulator_config.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "frontend/model/file_access.h"
#include "frontend/model/file_lookup.h"
#include "frontend/model/number_text.h"

namespace wrenfold {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kEndMarker = ";";

constexpr std::array<std::string_view, kKeySlotCount> kKeyPrefixes = {
    "KEYUP=", "KEYDOWN=", "KEYLEFT=", "KEYRIGHT=",  "KEYA=",
    "KEYB=",  "KEYTA=",   "KEYTB=",   "KEYSELECT=", "KEYSTART="};

constexpr std::array<std::string_view, kJoySlotCount> kJoyPrefixes = {
    "JOYA=", "JOYB=", "JOYTA=", "JOYTB=", "SELECT=", "START="};

constexpr int kLargestScanCode = 255;
constexpr int kLargestJoyButton = 99;  // the emulator reads two digits

std::string_view YesNo(bool value) {
  return value ? "Yes" : "No";
}

// The character at a 1-based position, or 0 past the end of the item.
char CharacterAt(std::string_view item, size_t position) {
  return position >= 1 && position <= item.size() ? item[position - 1] : '\0';
}

std::string_view Rest(std::string_view item, std::string_view prefix) {
  return item.substr(prefix.size());
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

std::string_view PlayerDeviceText(PlayerDevice device) {
  switch (device) {
    case PlayerDevice::Keyboard:
      return "Keyboard";
    case PlayerDevice::Joystick:
      return "Joystick";
    case PlayerDevice::None:
      break;
  }
  return "None";
}

bool StereoAvailable(const ControlPanelSettings& settings) {
  return settings.soundEnabled;
}

void ApplySoundEnabled(ControlPanelSettings& settings, bool enabled) {
  settings.soundEnabled = enabled;
  if (!enabled) settings.stereo = false;
}

void SettlePlayerDevices(ControlPanelSettings& settings, int changedPlayer) {
  if (settings.player1 != settings.player2) return;
  (changedPlayer == 1 ? settings.player2 : settings.player1) = PlayerDevice::None;
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

std::string_view CpuCoreConfigLine(CpuCoreOption core) {
  switch (core) {
    case CpuCoreOption::Asm:
      return "CORE=ASM";
    case CpuCoreOption::C:
      return "CORE=C";
    case CpuCoreOption::Full:
      break;
  }
  return "CORE=FULL";
}

std::string FormatConfig(const ControlPanelSettings& settings) {
  std::vector<std::string> lines;
  lines.reserve(36);
  lines.push_back("FPS=60");
  lines.push_back(settings.language == kLanguageEnglish ? "BOOTLAN=English" : "BOOTLAN=Chinese");
  lines.push_back("BOOT=" + settings.selectedRomFile);
  lines.push_back("ROMDIR=" + RomDirectoryForConfig(settings.romDirectoryText));
  lines.push_back("IRQADJ= 0");
  lines.push_back(settings.videoNtsc ? "VIDEO=NTSC" : "VIDEO=PAL");
  lines.push_back(!settings.soundEnabled ? "SOUND=None"
                  : settings.stereo      ? "SOUND=Stereo"
                                         : "SOUND=Mono");
  lines.push_back(settings.scanline ? "SLMODE=Yes" : "SLMODE=No");
  int resolution = std::clamp(settings.resolutionIndex, 1, 3);
  lines.push_back("RES=" + FormatPlainDecimal(resolution));
  // The emulator reads HARDBUF only in another spelling; the caption is written unchanged.
  lines.push_back("HARDBUF=" + settings.irqAdjustCaption);
  lines.push_back("2XMODE=" + std::string(YesNo(settings.doubleSize)));
  lines.push_back("COLOR=" + std::string(YesNo(settings.color)));
  lines.push_back("NamcoExt=" + std::string(YesNo(settings.namcoExtended)));
  lines.push_back("VRC6Ext=" + std::string(YesNo(settings.vrc6Extended)));
  lines.push_back(std::string(CpuCoreConfigLine(settings.cpuCore)));
  lines.push_back("RAPIDFIRE=" + FormatPlainDecimal(settings.rapidFireInterval));
  lines.push_back("PLAYER1=" + std::string(PlayerDeviceText(settings.player1)));
  lines.push_back("PLAYER2=" + std::string(PlayerDeviceText(settings.player2)));
  for (int slot = 0; slot < kJoySlotCount; ++slot) {
    lines.push_back(std::string(kJoyPrefixes[slot]) +
                    FormatPlainDecimal(settings.joyMap.buttons[slot]));
  }
  for (int slot = 0; slot < kKeySlotCount; ++slot) {
    lines.push_back(std::string(kKeyPrefixes[slot]) +
                    FormatPlainDecimal(settings.keyMap.codes[slot]));
  }
  lines.push_back("WINDOWED=" + std::string(YesNo(settings.windowed)));
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
    if (item.starts_with("BOOTLAN=")) {
      switch (CharacterAt(item, 9)) {
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
    } else if (item.starts_with("NamcoExt=")) {
      settings.namcoExtended = item.substr(9, 3) == "Yes";
    } else if (item.starts_with("VRC6Ext=")) {
      settings.vrc6Extended = item.substr(8, 3) == "Yes";
    } else if (item.starts_with("VIDEO=")) {
      settings.videoNtsc = item.substr(6, 3) == "NTS";
    } else if (item.starts_with("SLMODE=")) {
      settings.scanline = CharacterAt(item, 8) == 'Y';
    } else if (item.starts_with("RES=")) {
      int index = CharacterAt(item, 5) - '0';
      if (index >= 1 && index <= 3) settings.resolutionIndex = index;
    } else if (item.starts_with("SOUND=")) {
      switch (CharacterAt(item, 7)) {
        case 'S':
          settings.soundEnabled = true;
          settings.stereo = true;
          break;
        case 'M':
          settings.soundEnabled = true;
          settings.stereo = false;
          break;
        case 'N':
          ApplySoundEnabled(settings, false);
          break;
        default:
          break;
      }
    } else if (item.starts_with("2XMODE=")) {
      settings.doubleSize = CharacterAt(item, 8) == 'Y';
    } else if (item.starts_with("COLOR=")) {
      settings.color = CharacterAt(item, 7) == 'Y';
    } else if (item.starts_with("WINDOWED=")) {
      settings.windowed = CharacterAt(item, 10) == 'Y';
    } else if (item.starts_with("CORE=")) {
      const char core = CharacterAt(item, 6);
      settings.cpuCore = core == 'A'   ? CpuCoreOption::Asm
                         : core == 'F' ? CpuCoreOption::Full
                                       : CpuCoreOption::C;
    } else if (item.starts_with("RAPIDFIRE=")) {
      settings.rapidFireInterval = static_cast<int>(
          std::clamp<int64_t>(LeadingNumberValue(Rest(item, "RAPIDFIRE=")), 0, kRapidFireMax));
    } else if (item.starts_with("PLAYER1=") || item.starts_with("PLAYER2=")) {
      PlayerDevice& device = item[6] == '1' ? settings.player1 : settings.player2;
      std::string_view value = Rest(item, "PLAYER1=");
      if (value == "None") device = PlayerDevice::None;
      if (value == "Keyboard") device = PlayerDevice::Keyboard;
      if (value == "Joystick") device = PlayerDevice::Joystick;
    } else {
      for (int slot = 0; slot < kKeySlotCount; ++slot) {
        if (item.starts_with(kKeyPrefixes[slot])) {
          settings.keyMap.codes[slot] =
              InRangeOrZero(LeadingNumberValue(Rest(item, kKeyPrefixes[slot])), kLargestScanCode);
        }
      }
      for (int slot = 0; slot < kJoySlotCount; ++slot) {
        if (item.starts_with(kJoyPrefixes[slot])) {
          settings.joyMap.buttons[slot] =
              InRangeOrZero(LeadingNumberValue(Rest(item, kJoyPrefixes[slot])), kLargestJoyButton);
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
    return item.starts_with("ROMDIR=");
  });
  if (romDirItem != read.items.end()) {
    std::string_view value = Rest(*romDirItem, "ROMDIR=");
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
  std::optional<std::filesystem::path> found =
      LocateFileIgnoringCase(folder, std::string(kConfigFileName));
  return found ? *found : folder / std::string(kConfigFileName);
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
      {"BOOT=", request.bootFile},
      {"ROMDIR=", RomDirectoryForConfig(request.romDirectoryText)},
      {"IRQADJ=", irqCaption},
      {"DDEVICE=", request.displayDeviceId},
  };
  if (request.cpuCore) {
    constexpr std::string_view kCorePrefix = "CORE=";
    replacements.push_back(
        {kCorePrefix, std::string(CpuCoreConfigLine(*request.cpuCore).substr(kCorePrefix.size()))});
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
