// The emulator's options, read once at start from Wrenfold.CFG in the working folder.
// Keys are matched by fixed characters at the start of a line (case matters) and values are
// taken from fixed positions behind the key; the front-end writes the file. The keys, the slot
// orders and the defaults are the ones both programs share (formats/wrenfold_cfg.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "formats/wrenfold_cfg.h"

namespace wrenfold {

// The joined ROM directory and file name must fit a 255-byte buffer with its terminator.
inline constexpr std::size_t kMaxRomPathLength = 254;

// Joystick state reports 32 buttons; a configured button outside them is not taken.
inline constexpr int32_t kJoystickButtonLimit = kLargestJoystickButton;

// Scan code 0 is no key of the keyboard: a KEY line that is missing maps nothing.
inline constexpr uint8_t kNoKey = 0;

enum class VideoStandard : uint8_t { kNtsc = 0, kPal = 1 };

struct HostSettings {
  bool scanlineMode = kConfigDefaults.scanlineMode;  // SLMODE=: every other line in double size
  std::string displayDevice;     // DDEVICE: display driver name, empty = default display
  std::string romDirectory;      // ROMDIR=
  int16_t framesPerSecond = 50;  // FPS=: kept, pacing is fixed at 60 frames a second
  // RES=: 1 640x480, 2 800x600, 3 1024x768, other digits 640x480
  uint8_t resolution = kConfigDefaults.resolution;
  VideoStandard videoStandard = kConfigDefaults.ntsc ? VideoStandard::kNtsc : VideoStandard::kPal;
  std::string romFileName;  // BOOT=: file name with extension inside romDirectory
  // RAPIDFIRE=: frames between turbo presses, 0-9
  uint8_t rapidFirePeriod = kConfigDefaults.rapidFirePeriod;
  bool soundEnabled = kConfigDefaults.soundEnabled;  // SOUND
  bool stereo = kConfigDefaults.stereo;              // SOUND
  std::array<PlayerDevice, 2> playerDevice{PlayerDevice::kNone, PlayerDevice::kNone};
  std::array<int32_t, kJoySlotCount> joystickButtons{};    // zero-based, 0-31
  std::array<uint8_t, kKeySlotCount> keyboardScanCodes{};  // kNoKey when not given
  bool namcoSound = kConfigDefaults.namcoSound;            // NamcoExt: Namco 106 expansion channels
  bool vrc6Sound = kConfigDefaults.vrc6Sound;              // VRC6Ext: VRC6 expansion channels
  bool doubleSize = kConfigDefaults.doubleSize;            // 2XMODE=
  bool monochrome = !kConfigDefaults.colour;               // COLOR=: anything but "Y" selects grey
  int32_t hardwareSoundBuffers = 5;  // HARDBUf: channel buffers allowed in sound hardware, 0-9
  CpuCoreChoice cpuCore = kConfigDefaults.cpuCore;  // CORE=
  // IRQADJ as configured; the game runs with machine.irqAdjust
  int16_t irqAdjust = kConfigDefaults.irqAdjust;
  bool windowed = kConfigDefaults.windowed;  // WINDOWED=: a resizable window, not full screen

  // Built after reading by BuildRomPath. Save states and movies write their own three
  // characters at extensionIndex (the first character of a three-letter extension).
  std::string romPath;
  int32_t extensionIndex = 0;

  friend bool operator==(const HostSettings&, const HostSettings&) = default;
};

// Applies every line of a configuration text to `settings` (which normally starts as
// HostSettings{}). Lines may end in LF or CR LF.
void ParseHostSettings(std::string_view text, HostSettings& settings);

// Reads the configuration file at `path` into `settings`. Returns false, leaving `settings`
// untouched, when the file cannot be opened, is not a regular file (a FIFO or a device is never
// waited on or read) or is longer than kConfigFileMaxBytes.
bool ReadHostSettings(const std::filesystem::path& path, HostSettings& settings);

// Joins romDirectory (one trailing '/' or '\' dropped), '/' and romFileName into romPath and
// sets extensionIndex. Leaves romPath empty, so the ROM cannot be opened, when no ROM file
// name is set or when the joined path is longer than kMaxRomPathLength; returns false only
// for the overlong path.
bool BuildRomPath(HostSettings& settings);

}  // namespace wrenfold
