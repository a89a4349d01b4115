// The control panel's settings and the front-end's side of Wrenfold.CFG: the full writer, the
// read-back at start, the item reader, and the patching of BOOT=, ROMDIR=, IRQADJ= and
// DDEVICE= done before each start of the emulator.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/wrenfold_cfg.h"
#include "frontend/model/interface_language.h"

namespace wrenfold {

// Most items a configuration file may hold; the patcher keeps every item in memory and
// refuses larger files rather than dropping lines.
inline constexpr size_t kConfigItemCapacity = 1024;

// DirectInput scan codes per keyboard slot; 0 = no key.
struct KeyMap {
  std::array<int16_t, kKeySlotCount> codes{};
};

// Joystick button numbers (counted from 1) per joystick slot.
struct JoyMap {
  std::array<int16_t, kJoySlotCount> buttons{};
};

// Used only when there is no Wrenfold.CFG: arrows, X/Z for A/B, S/A for the turbo buttons,
// C for Select and Enter for Start.
inline constexpr KeyMap kDefaultKeyMap{{200, 208, 203, 205, 45, 44, 31, 30, 46, 28}};
inline constexpr JoyMap kDefaultJoyMap{{1, 2, 3, 4, 5, 6}};

inline constexpr int kRapidFireMax = kLargestRapidFirePeriod;  // the emulator reads one digit

// Everything the control panel shows and the writer stores, plus the two values the writer
// takes from the encyclopedia face (the selected ROM file and the ROM directory box).
struct ControlPanelSettings {
  int16_t language = kLanguageChinese;
  std::string selectedRomFile;            // BOOT=: the selected file-name list row, "" if none
  std::string romDirectoryText;           // the ROM directory box, as typed
  bool videoNtsc = kConfigDefaults.ntsc;  // Opt_Disp(0) set, else PAL
  int resolutionIndex = kConfigDefaults.resolution;  // 1 = 640*480, 2 = 800*600, 3 = 1024*768
  bool scanline = kConfigDefaults.scanlineMode;
  bool color = kConfigDefaults.colour;
  bool doubleSize = kConfigDefaults.doubleSize;
  bool windowed = kConfigDefaults.windowed;  // WINDOWED=: the emulator plays in a window
  std::string irqAdjustCaption = "0";        // LabHardNum, e.g. "0", " 3", "-2"
  CpuCoreChoice cpuCore = kConfigDefaults.cpuCore;
  bool soundEnabled = kConfigDefaults.soundEnabled;
  bool stereo = kConfigDefaults.stereo;
  bool namcoExtended = kConfigDefaults.namcoSound;
  bool vrc6Extended = kConfigDefaults.vrc6Sound;
  int rapidFireInterval = kConfigDefaults.rapidFirePeriod;
  PlayerDevice player1 = PlayerDevice::kKeyboard;
  PlayerDevice player2 = PlayerDevice::kNone;
  KeyMap keyMap = kDefaultKeyMap;
  JoyMap joyMap = kDefaultJoyMap;
};

// Sound check box rule: stereo is offered only while sound is on.
bool StereoAvailable(const ControlPanelSettings& settings);
void ApplySoundEnabled(ControlPanelSettings& settings, bool enabled);

// Leaving one player's list: when both lists show the same device, the other player's list
// falls back to "None". `changedPlayer` is 1 or 2.
void SettlePlayerDevices(ControlPanelSettings& settings, int changedPlayer);

// The "0", "-" and "+" buttons beside the IRQ adjustment: the new caption, in the decimal form
// with the sign position; the value stays within the 16-bit range.
std::string StepIrqAdjustCaption(std::string_view caption, int delta);

// The ROM directory box with one trailing "/" or "\" dropped; a lone "/" stays, since the
// emulator joins directory and file with its own separator.
std::string RomDirectoryForConfig(std::string_view romDirectoryText);

// ---- Writer ----

// The lines of the "Update Config" button, each ended by CR LF: the 34 setting lines in their
// fixed order, WINDOWED=, then ";".
std::string FormatConfig(const ControlPanelSettings& settings);

// ---- Item reader ----

enum class ConfigStatus {
  Ok,
  Missing,           // no Wrenfold.CFG
  Unreadable,        // exists but cannot be read
  Damaged,           // not a text file of items (NUL bytes, an unclosed quote, too long)
  TooManyItems,      // more than kConfigItemCapacity items
  NoRomDirectory,    // start-up: no ROMDIR= item (the default directory is used)
  NoEndMarker,       // start-up: the last item is not ";" (the items read are used)
  NoRomSelected,     // start: no ROM file name to start
  LineBreakInValue,  // a file, folder or device name holds a line break and cannot be a line
  WriteFailed,       // the new file could not be written; the old one is unchanged
};

struct ConfigItems {
  ConfigStatus status = ConfigStatus::Ok;  // Ok, Damaged or TooManyItems
  std::vector<std::string> items;          // the items read before any problem
};

// Splits configuration text into items: leading blanks are skipped, an item ends at a comma or
// a line end (CR LF, LF or CR), and an item that starts with a double quote runs to the
// closing quote (the rest up to the next comma or line end is dropped). An empty line is an
// empty item. At most `capacity` items are kept.
ConfigItems ReadConfigItems(std::string_view text, size_t capacity = kConfigItemCapacity);

// ---- Read-back at start ----

struct StartupConfig {
  ConfigStatus status = ConfigStatus::Ok;
  std::string detail;  // system error text for Missing/Unreadable
  ControlPanelSettings settings;
  std::string romDirectory;  // RomDir; the default directory when the value is empty or absent
  bool firstRunLanguageRequested = false;  // BOOTLAN= starts with "N"
};

// Applies the settings items to `settings`, as the load handler does with an existing file.
// BOOT= and HARDBUF= are not taken: the IRQ adjustment always starts at "0".
void ApplyConfigItems(const std::vector<std::string>& items, StartupConfig& config);

// Reads `path` (the caller finds it, by exact name first). On any problem the defaults and
// whatever items could be read stand, and the status says what went wrong.
StartupConfig LoadStartupConfig(const std::filesystem::path& path,
                                std::string_view defaultRomDirectory);

// The configuration file of `folder` to read: Wrenfold.CFG, or a name that differs only in
// case; folder/Wrenfold.CFG when there is neither. Writing always uses the exact name.
std::filesystem::path ConfigFileToRead(const std::filesystem::path& folder);

// $HOME/Wrenfold (or ./Wrenfold without a home folder).
std::string DefaultRomDirectory();

// ---- Start: patch and write ----

struct LaunchRequest {
  std::string bootFile;          // file name only, no directory
  std::string romDirectoryText;  // the ROM directory box, as typed
  std::string irqAdjustCaption;  // LabHardNum
  std::string displayDeviceId;   // identifier of the display chosen in Cmb_DD
  // The panel's CPU core, written as CORE= too; none leaves the file's CORE= line alone.
  std::optional<CpuCoreChoice> cpuCore = std::nullopt;
};

struct PatchResult {
  ConfigStatus status = ConfigStatus::Ok;
  std::string text;  // the new file, when Ok
};

// The new configuration text for a start: the items of `oldText` with BOOT=, ROMDIR=, IRQADJ=
// and DDEVICE= (and CORE= when the request names a core) replaced, the missing ones appended
// in that order, empty and ";" items dropped, then ";". A value with a line break is refused:
// it would smuggle in lines of its own.
PatchResult PatchConfigText(std::string_view oldText, const LaunchRequest& request);

// Reads Wrenfold.CFG from `readPath`, patches it and replaces `writePath` with the result;
// on any failure nothing is written.
ConfigStatus PatchConfigFile(const std::filesystem::path& readPath,
                             const std::filesystem::path& writePath, const LaunchRequest& request,
                             std::string* detail = nullptr);

// The "Update Config" button: replaces `path` with FormatConfig(settings). A ROM file name or
// directory with a line break in it is refused, since it would split into lines of its own.
ConfigStatus WriteConfig(const std::filesystem::path& path, const ControlPanelSettings& settings,
                         std::string* detail = nullptr);

}  // namespace wrenfold
