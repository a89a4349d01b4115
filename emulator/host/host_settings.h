// The emulator's options, read once at start from Wrenfold.CFG in the working folder.
// Keys are matched by fixed characters at the start of a line (case matters) and values are
// taken from fixed positions behind the key; the front-end writes the file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace wrenfold {

inline constexpr const char* kConfigFileName = "Wrenfold.CFG";

// The joined ROM directory and file name must fit a 255-byte buffer with its terminator.
inline constexpr std::size_t kMaxRomPathLength = 254;

// Joystick state reports 32 buttons; a configured button outside them is not taken.
inline constexpr int32_t kJoystickButtonLimit = 32;

// Scan code 0 is no key of the keyboard: a KEY line that is missing maps nothing.
inline constexpr uint8_t kNoKey = 0;

enum class VideoStandard : uint8_t { kNtsc = 0, kPal = 1 };

enum class PlayerDevice : uint8_t { kNone = 0, kKeyboard = 1, kJoystick = 2 };

enum class CpuCoreChoice : uint8_t {
  kSecondCore = 0,     // "CORE=ASM"
  kReferenceCore = 1,  // "CORE=C"
  kFullCore = 2,       // "CORE=FULL": the console's whole instruction set
};

// Order of HostSettings::keyboardScanCodes.
enum KeyboardButton : std::size_t {
  kKeyUp,
  kKeyDown,
  kKeyLeft,
  kKeyRight,
  kKeyA,
  kKeyB,
  kKeyTurboA,
  kKeyTurboB,
  kKeySelect,
  kKeyStart,
  kKeyboardButtonCount
};

// Order of HostSettings::joystickButtons.
enum JoystickButton : std::size_t {
  kJoyA,
  kJoyB,
  kJoyTurboA,
  kJoyTurboB,
  kJoySelect,
  kJoyStart,
  kJoystickButtonCount
};

struct HostSettings {
  bool scanlineMode = false;     // SLMODE=: every other line in double-size mode
  std::string displayDevice;     // DDEVICE: display driver name, empty = default display
  std::string romDirectory;      // ROMDIR=
  int16_t framesPerSecond = 50;  // FPS=: kept, pacing is fixed at 60 frames a second
  uint8_t resolution = 1;        // RES=: 1 640x480, 2 800x600, 3 1024x768, other digits 640x480
  VideoStandard videoStandard = VideoStandard::kNtsc;  // VIDEO=
  std::string romFileName;      // BOOT=: file name with extension inside romDirectory
  uint8_t rapidFirePeriod = 0;  // RAPIDFIRE=: frames between turbo presses, 0-9
  bool soundEnabled = true;     // SOUND
  bool stereo = false;          // SOUND
  std::array<PlayerDevice, 2> playerDevice{PlayerDevice::kNone, PlayerDevice::kNone};
  std::array<int32_t, kJoystickButtonCount> joystickButtons{};    // zero-based, 0-31
  std::array<uint8_t, kKeyboardButtonCount> keyboardScanCodes{};  // kNoKey when not given
  bool namcoSound = true;            // NamcoExt: Namco 106 expansion channels
  bool vrc6Sound = true;             // VRC6Ext: VRC6 expansion channels
  bool doubleSize = false;           // 2XMODE=
  bool monochrome = false;           // COLOR=: anything but "Y" selects the grey palette
  int32_t hardwareSoundBuffers = 5;  // HARDBUf: channel buffers allowed in sound hardware, 0-9
  CpuCoreChoice cpuCore = CpuCoreChoice::kSecondCore;  // CORE=
  int16_t irqAdjust = 0;  // IRQADJ as configured; the game runs with machine.irqAdjust
  bool windowed = false;  // WINDOWED=: a resizable window instead of the full screen

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
// untouched, when the file cannot be opened.
bool ReadHostSettings(const std::filesystem::path& path, HostSettings& settings);

// Joins romDirectory (one trailing '/' or '\' dropped), '/' and romFileName into romPath and
// sets extensionIndex. Leaves romPath empty, so the ROM cannot be opened, when no ROM file
// name is set or when the joined path is longer than kMaxRomPathLength; returns false only
// for the overlong path.
bool BuildRomPath(HostSettings& settings);

}  // namespace wrenfold
