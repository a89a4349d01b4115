#include "frontend/model/emulator_config.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/frontend/model/scratch_folder.h"

namespace wrenfold {
namespace {

using testing::ScratchFolder;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

ControlPanelSettings SampleSettings() {
  ControlPanelSettings settings;
  settings.language = kLanguageEnglish;
  settings.selectedRomFile = "Mario.nes";
  settings.romDirectoryText = "/home/user/roms/";
  settings.videoNtsc = false;
  settings.soundEnabled = true;
  settings.stereo = true;
  settings.scanline = true;
  settings.resolutionIndex = 3;
  settings.irqAdjustCaption = " 3";
  settings.doubleSize = true;
  settings.color = false;
  settings.namcoExtended = false;
  settings.vrc6Extended = true;
  settings.cpuCore = CpuCoreChoice::kReferenceCore;
  settings.rapidFireInterval = 4;
  settings.player1 = PlayerDevice::kJoystick;
  settings.player2 = PlayerDevice::kKeyboard;
  settings.joyMap.buttons = {1, 2, 3, 4, 11, 12};
  settings.keyMap.codes = {200, 208, 203, 205, 45, 44, 0, 30, 13, 28};
  settings.windowed = true;
  return settings;
}

TEST(FormatConfig, WritesEveryLineInOrder) {
  const std::vector<std::string> expected = {"FPS=60",
                                             "BOOTLAN=English",
                                             "BOOT=Mario.nes",
                                             "ROMDIR=/home/user/roms",
                                             "IRQADJ= 0",
                                             "VIDEO=PAL",
                                             "SOUND=Stereo",
                                             "SLMODE=Yes",
                                             "RES=3",
                                             "HARDBUF= 3",
                                             "2XMODE=Yes",
                                             "COLOR=No",
                                             "NamcoExt=No",
                                             "VRC6Ext=Yes",
                                             "CORE=C",
                                             "RAPIDFIRE=4",
                                             "PLAYER1=Joystick",
                                             "PLAYER2=Keyboard",
                                             "JOYA=1",
                                             "JOYB=2",
                                             "JOYTA=3",
                                             "JOYTB=4",
                                             "SELECT=11",
                                             "START=12",
                                             "KEYUP=200",
                                             "KEYDOWN=208",
                                             "KEYLEFT=203",
                                             "KEYRIGHT=205",
                                             "KEYA=45",
                                             "KEYB=44",
                                             "KEYTA=0",
                                             "KEYTB=30",
                                             "KEYSELECT=13",
                                             "KEYSTART=28",
                                             "WINDOWED=Yes",
                                             ";"};
  EXPECT_EQ(Lines(FormatConfig(SampleSettings())), expected);
}

struct LineCase {
  const char* name;
  void (*change)(ControlPanelSettings&);
  int lineIndex;  // 0-based
  const char* expected;
};

class FormatConfigLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(FormatConfigLine, FollowsItsControl) {
  ControlPanelSettings settings = SampleSettings();
  GetParam().change(settings);
  std::vector<std::string> lines = Lines(FormatConfig(settings));
  ASSERT_EQ(lines.size(), 36u);
  EXPECT_EQ(lines[GetParam().lineIndex], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, FormatConfigLine,
    ::testing::Values(
        LineCase{"Chinese", [](ControlPanelSettings& s) { s.language = kLanguageChinese; }, 1,
                 "BOOTLAN=Chinese"},
        LineCase{"NothingSelected", [](ControlPanelSettings& s) { s.selectedRomFile.clear(); }, 2,
                 "BOOT="},
        LineCase{"WindowsDirectory",
                 [](ControlPanelSettings& s) { s.romDirectoryText = "C:\\ROMS\\"; }, 3,
                 "ROMDIR=C:\\ROMS"},
        LineCase{"DriveRoot", [](ControlPanelSettings& s) { s.romDirectoryText = "C:\\"; }, 3,
                 "ROMDIR=C:"},
        LineCase{"OnlyOneSeparatorDropped",
                 [](ControlPanelSettings& s) { s.romDirectoryText = "/roms//"; }, 3,
                 "ROMDIR=/roms/"},
        LineCase{"NonZeroIrqStillWritesZero",
                 [](ControlPanelSettings& s) { s.irqAdjustCaption = "-7"; }, 4, "IRQADJ= 0"},
        LineCase{"Ntsc", [](ControlPanelSettings& s) { s.videoNtsc = true; }, 5, "VIDEO=NTSC"},
        LineCase{"SoundOffWinsOverStereo", [](ControlPanelSettings& s) { s.soundEnabled = false; },
                 6, "SOUND=None"},
        LineCase{"Mono", [](ControlPanelSettings& s) { s.stereo = false; }, 6, "SOUND=Mono"},
        LineCase{"NoScanline", [](ControlPanelSettings& s) { s.scanline = false; }, 7, "SLMODE=No"},
        LineCase{"FirstResolution", [](ControlPanelSettings& s) { s.resolutionIndex = 1; }, 8,
                 "RES=1"},
        LineCase{"CaptionUnchanged", [](ControlPanelSettings& s) { s.irqAdjustCaption = "0"; }, 9,
                 "HARDBUF=0"},
        LineCase{"NegativeCaption", [](ControlPanelSettings& s) { s.irqAdjustCaption = "-2"; }, 9,
                 "HARDBUF=-2"},
        LineCase{"AsmCore", [](ControlPanelSettings& s) { s.cpuCore = CpuCoreChoice::kSecondCore; },
                 14, "CORE=ASM"},
        LineCase{"FullCore", [](ControlPanelSettings& s) { s.cpuCore = CpuCoreChoice::kFullCore; },
                 14, "CORE=FULL"},
        LineCase{"NoPlayer", [](ControlPanelSettings& s) { s.player2 = PlayerDevice::kNone; }, 17,
                 "PLAYER2=None"},
        LineCase{"NoKey", [](ControlPanelSettings& s) { s.keyMap.codes[kKeyUp] = 0; }, 24,
                 "KEYUP=0"},
        LineCase{"FullScreen", [](ControlPanelSettings& s) { s.windowed = false; }, 34,
                 "WINDOWED=No"}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return info.param.name; });

TEST(IrqAdjustCaption, StepsInTheSignedDecimalForm) {
  EXPECT_EQ(StepIrqAdjustCaption("0", +1), " 1");
  EXPECT_EQ(StepIrqAdjustCaption(StepIrqAdjustCaption("0", -1), -1), "-2");
  EXPECT_EQ(StepIrqAdjustCaption("-1", +1), " 0");
  EXPECT_EQ(StepIrqAdjustCaption(" 32767", +1), " 32767");
  EXPECT_EQ(StepIrqAdjustCaption("-32768", -1), "-32768");
}

TEST(PlayerDevices, AClashResetsTheOtherList) {
  ControlPanelSettings settings;
  settings.player1 = PlayerDevice::kKeyboard;
  settings.player2 = PlayerDevice::kKeyboard;
  SettlePlayerDevices(settings, 2);
  EXPECT_EQ(settings.player1, PlayerDevice::kNone);
  EXPECT_EQ(settings.player2, PlayerDevice::kKeyboard);

  settings.player1 = PlayerDevice::kJoystick;
  settings.player2 = PlayerDevice::kJoystick;
  SettlePlayerDevices(settings, 1);
  EXPECT_EQ(settings.player1, PlayerDevice::kJoystick);
  EXPECT_EQ(settings.player2, PlayerDevice::kNone);

  settings.player2 = PlayerDevice::kKeyboard;
  SettlePlayerDevices(settings, 1);
  EXPECT_EQ(settings.player2, PlayerDevice::kKeyboard);
}

TEST(SoundOptions, TurningSoundOffClearsStereo) {
  ControlPanelSettings settings;
  settings.stereo = true;
  ApplySoundEnabled(settings, false);
  EXPECT_FALSE(settings.stereo);
  EXPECT_FALSE(StereoAvailable(settings));
  ApplySoundEnabled(settings, true);
  EXPECT_TRUE(StereoAvailable(settings));
}

// ---- Read-back at start ----

StartupConfig ApplyItems(const std::vector<std::string>& items) {
  StartupConfig config;
  ApplyConfigItems(items, config);
  return config;
}

TEST(StartupConfig, WrittenSettingsComeBack) {
  ScratchFolder folder;
  const ControlPanelSettings written = SampleSettings();
  ASSERT_EQ(WriteConfig(folder / "Wrenfold.CFG", written), ConfigStatus::Ok);

  StartupConfig read = LoadStartupConfig(folder / "Wrenfold.CFG", "/default");
  EXPECT_EQ(read.status, ConfigStatus::Ok);
  EXPECT_FALSE(read.firstRunLanguageRequested);
  EXPECT_EQ(read.romDirectory, "/home/user/roms");
  const ControlPanelSettings& s = read.settings;
  EXPECT_EQ(s.romDirectoryText, "/home/user/roms");
  EXPECT_EQ(s.language, written.language);
  EXPECT_EQ(s.videoNtsc, written.videoNtsc);
  EXPECT_EQ(s.resolutionIndex, written.resolutionIndex);
  EXPECT_EQ(s.scanline, written.scanline);
  EXPECT_EQ(s.color, written.color);
  EXPECT_EQ(s.doubleSize, written.doubleSize);
  EXPECT_EQ(s.windowed, written.windowed);
  EXPECT_EQ(s.cpuCore, written.cpuCore);
  EXPECT_EQ(s.soundEnabled, written.soundEnabled);
  EXPECT_EQ(s.stereo, written.stereo);
  EXPECT_EQ(s.namcoExtended, written.namcoExtended);
  EXPECT_EQ(s.vrc6Extended, written.vrc6Extended);
  EXPECT_EQ(s.rapidFireInterval, written.rapidFireInterval);
  EXPECT_EQ(s.player1, written.player1);
  EXPECT_EQ(s.player2, written.player2);
  EXPECT_EQ(s.keyMap.codes, written.keyMap.codes);
  EXPECT_EQ(s.joyMap.buttons, written.joyMap.buttons);
  // The IRQ adjustment always starts at 0, whatever HARDBUF= says.
  EXPECT_EQ(s.irqAdjustCaption, "0");
}

TEST(StartupConfig, LanguageComesFromTheNinthCharacterOfBootlan) {
  EXPECT_EQ(ApplyItems({"BOOTLAN=english"}).settings.language, kLanguageEnglish);
  EXPECT_EQ(ApplyItems({"BOOTLAN=Chinese"}).settings.language, kLanguageChinese);
  EXPECT_EQ(ApplyItems({"BOOTLAN=English", "BOOTLAN=chinese"}).settings.language, kLanguageChinese);
  StartupConfig firstRun = ApplyItems({"BOOTLAN=None"});
  EXPECT_TRUE(firstRun.firstRunLanguageRequested);
  EXPECT_TRUE(ApplyItems({"BOOTLAN=n"}).firstRunLanguageRequested);
  // Without a BOOTLAN= line: Chinese and no first-run form.
  StartupConfig plain = ApplyItems({"FPS=60"});
  EXPECT_EQ(plain.settings.language, kLanguageChinese);
  EXPECT_FALSE(plain.firstRunLanguageRequested);
  EXPECT_FALSE(ApplyItems({"BOOTLAN="}).firstRunLanguageRequested);
}

TEST(StartupConfig, SoundLineSetsBothBoxes) {
  StartupConfig off = ApplyItems({"SOUND=Stereo", "SOUND=None"});
  EXPECT_FALSE(off.settings.soundEnabled);
  EXPECT_FALSE(off.settings.stereo);
  StartupConfig mono = ApplyItems({"SOUND=None", "SOUND=Mono"});
  EXPECT_TRUE(mono.settings.soundEnabled);
  EXPECT_FALSE(mono.settings.stereo);
  StartupConfig other = ApplyItems({"SOUND=Stereo", "SOUND=xyz"});
  EXPECT_TRUE(other.settings.soundEnabled);
  EXPECT_TRUE(other.settings.stereo);
}

TEST(StartupConfig, ValuesAreReadByPosition) {
  StartupConfig config = ApplyItems({"VIDEO=NTSX", "SLMODE=yes", "2XMODE=Y", "COLOR=no", "CORE=ASM",
                                     "NamcoExt=Yesterday", "VRC6Ext=YES"});
  EXPECT_TRUE(config.settings.videoNtsc);  // only "NTS" is compared
  EXPECT_FALSE(config.settings.scanline);  // case matters
  EXPECT_TRUE(config.settings.doubleSize);
  EXPECT_FALSE(config.settings.color);
  EXPECT_EQ(config.settings.cpuCore, CpuCoreChoice::kSecondCore);
  EXPECT_TRUE(config.settings.namcoExtended);
  EXPECT_FALSE(config.settings.vrc6Extended);
  EXPECT_FALSE(ApplyItems({"VIDEO=PAL"}).settings.videoNtsc);
  EXPECT_EQ(ApplyItems({"CORE=C"}).settings.cpuCore, CpuCoreChoice::kReferenceCore);
  EXPECT_EQ(ApplyItems({"CORE=FULL"}).settings.cpuCore, CpuCoreChoice::kFullCore);
  EXPECT_EQ(ApplyItems({"CORE=Z"}).settings.cpuCore, CpuCoreChoice::kReferenceCore);
  // Lower-case keys are not keys.
  EXPECT_TRUE(ApplyItems({"sound=None"}).settings.soundEnabled);
}

TEST(StartupConfig, NumbersOutsideTheirRangeAreNotTaken) {
  StartupConfig config =
      ApplyItems({"RES=2", "RES=7", "RAPIDFIRE=12", "KEYUP=999", "KEYA=-3", "KEYB=48", "JOYA=120",
                  "JOYB=12", "PLAYER1=Gamepad", "PLAYER2=Joystick"});
  EXPECT_EQ(config.settings.resolutionIndex, 2);
  EXPECT_EQ(config.settings.rapidFireInterval, kRapidFireMax);
  EXPECT_EQ(config.settings.keyMap.codes[kKeyUp], 0);
  EXPECT_EQ(config.settings.keyMap.codes[kKeyA], 0);
  EXPECT_EQ(config.settings.keyMap.codes[kKeyB], 48);
  EXPECT_EQ(config.settings.joyMap.buttons[kJoyA], 0);
  EXPECT_EQ(config.settings.joyMap.buttons[kJoyB], 12);
  EXPECT_EQ(config.settings.player1, ControlPanelSettings{}.player1);  // unknown text: unchanged
  EXPECT_EQ(config.settings.player2, PlayerDevice::kJoystick);
}

TEST(StartupConfig, MissingFileGivesDefaults) {
  ScratchFolder folder;
  StartupConfig config = LoadStartupConfig(folder / "Wrenfold.CFG", "/home/u/Wrenfold");
  EXPECT_EQ(config.status, ConfigStatus::Missing);
  EXPECT_EQ(config.romDirectory, "/home/u/Wrenfold");
  EXPECT_EQ(config.settings.romDirectoryText, "/home/u/Wrenfold");
  EXPECT_EQ(config.settings.keyMap.codes, kDefaultKeyMap.codes);
  EXPECT_EQ(config.settings.language, kLanguageChinese);
  EXPECT_EQ(folder.EntryCount(), 0);  // reading never creates the file
}

TEST(StartupConfig, EmptyOrAbsentRomDirectoryFallsBack) {
  ScratchFolder folder;
  auto path = folder.Write("Wrenfold.CFG", "ROMDIR=\r\nCOLOR=No\r\n;\r\n");
  StartupConfig empty = LoadStartupConfig(path, "/home/u/Wrenfold");
  EXPECT_EQ(empty.status, ConfigStatus::Ok);
  EXPECT_EQ(empty.romDirectory, "/home/u/Wrenfold");

  folder.Write("Wrenfold.CFG", "COLOR=No\r\n;\r\n");
  StartupConfig absent = LoadStartupConfig(path, "/home/u/Wrenfold");
  EXPECT_EQ(absent.status, ConfigStatus::NoRomDirectory);
  EXPECT_EQ(absent.romDirectory, "/home/u/Wrenfold");
  EXPECT_FALSE(absent.settings.color);  // the other keys are still taken
}

TEST(StartupConfig, MissingEndMarkerIsReportedButTheItemsCount) {
  ScratchFolder folder;
  auto path = folder.Write("Wrenfold.CFG", "ROMDIR=/r\nBOOTLAN=English\n");
  StartupConfig config = LoadStartupConfig(path, "/d");
  EXPECT_EQ(config.status, ConfigStatus::NoEndMarker);
  EXPECT_EQ(config.settings.language, kLanguageEnglish);
  EXPECT_EQ(config.romDirectory, "/r");
}

TEST(StartupConfig, DamagedFileKeepsWhatWasReadBeforeTheDamage) {
  ScratchFolder folder;
  auto path = folder.Write("Wrenfold.CFG", "ROMDIR=/r\r\nCOLOR=No\r\n\"unclosed\r\nCOLOR=Yes\r\n");
  StartupConfig config = LoadStartupConfig(path, "/d");
  EXPECT_EQ(config.status, ConfigStatus::Damaged);
  EXPECT_EQ(config.romDirectory, "/r");
  EXPECT_FALSE(config.settings.color);

  folder.Write("Wrenfold.CFG", std::string("ROMDIR=/r\r\n\0\0\0", 14));
  EXPECT_EQ(LoadStartupConfig(path, "/d").status, ConfigStatus::Damaged);
  EXPECT_EQ(LoadStartupConfig(folder.Path(), "/d").status, ConfigStatus::Unreadable);
  // A named pipe must not make the start-up wait for a writer.
  ASSERT_EQ(mkfifo((folder / "pipe.cfg").c_str(), 0644), 0);
  EXPECT_EQ(LoadStartupConfig(folder / "pipe.cfg", "/d").status, ConfigStatus::Unreadable);
}

// ---- Writing ----

TEST(WriteConfig, ReplacesTheFileWithoutLeavingATemporary) {
  ScratchFolder folder;
  auto path = folder.Write("Wrenfold.CFG", "old text that is longer than nothing\r\n");
  ASSERT_EQ(WriteConfig(path, SampleSettings()), ConfigStatus::Ok);
  EXPECT_EQ(ScratchFolder::Read(path), FormatConfig(SampleSettings()));
  EXPECT_EQ(folder.EntryCount(), 1);
}

TEST(WriteConfig, ReadOnlyFileIsLeftAlone) {
  ScratchFolder folder;
  auto path = folder.Write("Wrenfold.CFG", "FPS=60\r\n;\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  std::string detail;
  EXPECT_EQ(WriteConfig(path, SampleSettings(), &detail), ConfigStatus::WriteFailed);
  EXPECT_FALSE(detail.empty());
  EXPECT_EQ(ScratchFolder::Read(path), "FPS=60\r\n;\r\n");
  EXPECT_EQ(folder.EntryCount(), 1);
}

TEST(WriteConfig, RefusesNamesWithLineBreaks) {
  ScratchFolder folder;
  ControlPanelSettings settings = SampleSettings();
  settings.selectedRomFile = "a\nBOOTLAN=None.nes";
  EXPECT_EQ(WriteConfig(folder / "Wrenfold.CFG", settings), ConfigStatus::LineBreakInValue);
  EXPECT_EQ(folder.EntryCount(), 0);
}

TEST(WriteConfig, UnwritableFolderFailsCleanly) {
  ScratchFolder folder;
  EXPECT_EQ(WriteConfig(folder / "no_such_folder" / "Wrenfold.CFG", SampleSettings()),
            ConfigStatus::WriteFailed);
}

TEST(WriteConfig, KeepsThePermissionsOfTheOldFile) {
  ScratchFolder folder;
  auto path = folder.Write("Wrenfold.CFG", "FPS=60\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(WriteConfig(path, SampleSettings()), ConfigStatus::Ok);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace wrenfold
