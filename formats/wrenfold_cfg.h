// Wrenfold.CFG, the one configuration file of both programs: cartdesk writes it and reads it back,
// wrenfold reads it at start. Both sides take from here the item keys, the order of the keyboard
// and joystick slots, the value words and the settings that hold when nothing is written; each
// keeps its own way of reading (wrenfold compares fixed characters at the start of a line,
// cartdesk splits the text into items).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace wrenfold {

inline constexpr std::string_view kConfigFileName = "Wrenfold.CFG";

// Anything longer is not a configuration file written by cartdesk or by hand; both programs
// refuse to read it.
inline constexpr std::size_t kConfigFileMaxBytes = 1 << 20;

// One item key as cartdesk writes it ("KEYSTART=") and the number of its first characters
// wrenfold compares at the start of a line (7, "KEYSTAR"); the value follows the written key.
struct ConfigKey {
  std::string_view written;
  std::size_t compared;

  constexpr std::string_view Compared() const { return written.substr(0, compared); }
  constexpr std::size_t ValueStart() const { return written.size(); }
};

// The keys in the order cartdesk's full writer puts them (see FormatConfig).
inline constexpr ConfigKey kFpsKey{"FPS=", 4};
inline constexpr ConfigKey kBootLanguageKey{"BOOTLAN=", 8};  // cartdesk's own; wrenfold skips it
inline constexpr ConfigKey kBootKey{"BOOT=", 5};
inline constexpr ConfigKey kRomDirectoryKey{"ROMDIR=", 7};
// A sign position ("-" or a blank) follows the "=", then the digits.
inline constexpr ConfigKey kIrqAdjustKey{"IRQADJ=", 6};
inline constexpr ConfigKey kVideoKey{"VIDEO=", 6};
inline constexpr ConfigKey kSoundKey{"SOUND=", 5};
inline constexpr ConfigKey kScanlineKey{"SLMODE=", 7};
inline constexpr ConfigKey kResolutionKey{"RES=", 4};
// Written with the IRQ caption; wrenfold's key for the hardware sound buffers is spelt with a
// lower-case "f" and so never takes this line.
inline constexpr ConfigKey kHardBufKey{"HARDBUF=", 8};
inline constexpr ConfigKey kDoubleSizeKey{"2XMODE=", 7};
inline constexpr ConfigKey kColorKey{"COLOR=", 6};
inline constexpr ConfigKey kNamcoSoundKey{"NamcoExt=", 8};
inline constexpr ConfigKey kVrc6SoundKey{"VRC6Ext=", 7};
inline constexpr ConfigKey kCpuCoreKey{"CORE=", 5};
inline constexpr ConfigKey kRapidFireKey{"RAPIDFIRE=", 10};
inline constexpr std::array<ConfigKey, 2> kPlayerKeys = {{{"PLAYER1=", 8}, {"PLAYER2=", 8}}};
inline constexpr ConfigKey kWindowedKey{"WINDOWED=", 9};
// Written only by a start (PatchConfigText), after the items already in the file.
inline constexpr ConfigKey kDisplayDeviceKey{"DDEVICE=", 7};
// The last line of a file cartdesk writes.
inline constexpr std::string_view kConfigEndMarker = ";";

// Keyboard slots: the rows of the control panel, the KEY lines and wrenfold's key table.
enum KeySlot : int {
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
  kKeySlotCount
};

inline constexpr std::array<ConfigKey, kKeySlotCount> kKeySlotKeys = {{
    {"KEYUP=", 5},
    {"KEYDOWN=", 7},
    {"KEYLEFT=", 7},
    {"KEYRIGHT=", 8},
    {"KEYA=", 4},
    {"KEYB=", 4},
    {"KEYTA=", 5},
    {"KEYTB=", 5},
    {"KEYSELECT=", 9},
    {"KEYSTART=", 7},
}};

// Joystick slots: the rows of the control panel, the JOY lines and wrenfold's button table.
enum JoySlot : int { kJoyA, kJoyB, kJoyTurboA, kJoyTurboB, kJoySelect, kJoyStart, kJoySlotCount };

inline constexpr std::array<ConfigKey, kJoySlotCount> kJoySlotKeys = {{
    {"JOYA=", 5},
    {"JOYB=", 5},
    {"JOYTA=", 6},
    {"JOYTB=", 6},
    {"SELECT=", 7},
    {"START=", 6},
}};

// Joystick buttons are written counted from 1; a joystick reports at most 32.
inline constexpr int kLargestJoystickButton = 32;

// Value words. wrenfold tells them apart by their first letter.
inline constexpr std::string_view kYes = "Yes";
inline constexpr std::string_view kNo = "No";
inline constexpr std::string_view kNtsc = "NTSC";
inline constexpr std::string_view kPal = "PAL";
inline constexpr std::string_view kSoundStereo = "Stereo";
inline constexpr std::string_view kSoundMono = "Mono";
inline constexpr std::string_view kSoundNone = "None";

// A player's device; the numbers are the entries of the panel's 1P/2P lists.
enum class PlayerDevice : uint8_t { kNone = 0, kKeyboard = 1, kJoystick = 2 };

inline constexpr std::array<PlayerDevice, 3> kPlayerDevices = {
    PlayerDevice::kNone, PlayerDevice::kKeyboard, PlayerDevice::kJoystick};

// The PLAYERn= value: "None", "Keyboard", "Joystick".
constexpr std::string_view PlayerDeviceWord(PlayerDevice device) {
  switch (device) {
    case PlayerDevice::kKeyboard:
      return "Keyboard";
    case PlayerDevice::kJoystick:
      return "Joystick";
    case PlayerDevice::kNone:
      break;
  }
  return "None";
}

// The CPU cores; the numbers are the panel's options Option1(0) to Option1(2).
enum class CpuCoreChoice : uint8_t {
  kSecondCore = 0,     // "CORE=ASM", the fast core
  kReferenceCore = 1,  // "CORE=C"
  kFullCore = 2,       // "CORE=FULL": the console's whole instruction set
};

inline constexpr std::array<CpuCoreChoice, 3> kCpuCoreChoices = {
    CpuCoreChoice::kSecondCore, CpuCoreChoice::kReferenceCore, CpuCoreChoice::kFullCore};

// The CORE= value: "ASM", "C", "FULL".
constexpr std::string_view CpuCoreWord(CpuCoreChoice core) {
  switch (core) {
    case CpuCoreChoice::kSecondCore:
      return "ASM";
    case CpuCoreChoice::kReferenceCore:
      return "C";
    case CpuCoreChoice::kFullCore:
      break;
  }
  return "FULL";
}

// The settings both programs assume where nothing is written: wrenfold for a missing line,
// cartdesk before it has a Wrenfold.CFG.
struct ConfigDefaults {
  bool ntsc = true;
  int resolution = 1;  // 1 = 640 x 480, 2 = 800 x 600, 3 = 1024 x 768
  bool scanlineMode = false;
  bool doubleSize = false;
  bool colour = true;
  bool windowed = false;
  bool soundEnabled = true;
  bool stereo = false;
  bool namcoSound = true;
  bool vrc6Sound = true;
  CpuCoreChoice cpuCore = CpuCoreChoice::kSecondCore;
  int rapidFirePeriod = 0;  // frames between turbo presses, one digit
  int16_t irqAdjust = 0;
};

inline constexpr ConfigDefaults kConfigDefaults{};

inline constexpr int kLargestRapidFirePeriod = 9;

}  // namespace wrenfold
