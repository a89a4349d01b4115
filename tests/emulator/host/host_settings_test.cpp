#include "emulator/host/host_settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "tests/emulator/host/temp_folder.h"

namespace wrenfold {

// Readable failure output for whole-record comparisons.
void PrintTo(const HostSettings& s, std::ostream* os) {
  *os << "{slmode " << s.scanlineMode << ", ddevice '" << s.displayDevice << "', romdir '"
      << s.romDirectory << "', fps " << s.framesPerSecond << ", res " << int{s.resolution}
      << ", video " << int(s.videoStandard) << ", boot '" << s.romFileName << "', rapid "
      << int{s.rapidFirePeriod} << ", sound " << s.soundEnabled << ", stereo " << s.stereo
      << ", players " << int(s.playerDevice[0]) << "/" << int(s.playerDevice[1]) << ", joy";
  for (int32_t b : s.joystickButtons) *os << " " << b;
  *os << ", keys";
  for (uint8_t k : s.keyboardScanCodes) *os << " " << int{k};
  *os << ", namco " << s.namcoSound << ", vrc6 " << s.vrc6Sound << ", 2x " << s.doubleSize
      << ", mono " << s.monochrome << ", hardbuf " << s.hardwareSoundBuffers << ", core "
      << int(s.cpuCore) << ", irqadj " << s.irqAdjust << ", windowed " << s.windowed << ", path '"
      << s.romPath << "' ext " << s.extensionIndex << "}";
}

namespace {

HostSettings Parse(std::string_view text) {
  HostSettings settings;
  ParseHostSettings(text, settings);
  return settings;
}

TEST(HostSettingsTest, CommentsAloneGiveTheDefaults) {
  const HostSettings settings = Parse(";\n; written by hand\n;VIDEO=PAL\n");
  EXPECT_EQ(settings, HostSettings{});
  EXPECT_EQ(settings.videoStandard, VideoStandard::kNtsc);
  EXPECT_EQ(settings.resolution, 1);
  EXPECT_TRUE(settings.soundEnabled);
  EXPECT_FALSE(settings.stereo);
  EXPECT_EQ(settings.playerDevice[0], PlayerDevice::kNone);
  EXPECT_EQ(settings.playerDevice[1], PlayerDevice::kNone);
  EXPECT_TRUE(settings.namcoSound);
  EXPECT_TRUE(settings.vrc6Sound);
  EXPECT_EQ(settings.cpuCore, CpuCoreChoice::kSecondCore);
  EXPECT_EQ(settings.hardwareSoundBuffers, 5);
  EXPECT_EQ(settings.framesPerSecond, 50);
  for (uint8_t code : settings.keyboardScanCodes) EXPECT_EQ(code, kNoKey);
}

struct ConfigCase {
  const char* name;
  std::string text;
  std::function<void(HostSettings&)> expectedChange;  // applied to the defaults
};

void PrintTo(const ConfigCase& c, std::ostream* os) {
  *os << c.name;
}

class ConfigLineTest : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(ConfigLineTest, ChangesExactlyTheExpectedFields) {
  HostSettings expected;
  GetParam().expectedChange(expected);
  EXPECT_EQ(Parse(GetParam().text), expected);
}

const ConfigCase kConfigCases[] = {
    {"Empty", "", [](HostSettings&) {}},
    {"ScanlineOn", "SLMODE=Yes", [](HostSettings& s) { s.scanlineMode = true; }},
    {"ScanlineOffAgain", "SLMODE=Yes\nSLMODE=No", [](HostSettings&) {}},
    {"ScanlineOtherLetterKeeps", "SLMODE=Yes\nSLMODE=x",
     [](HostSettings& s) { s.scanlineMode = true; }},
    {"DisplayDevice", "DDEVICE=HDMI-1 (0,0 1920x1080)",
     [](HostSettings& s) { s.displayDevice = "HDMI-1 (0,0 1920x1080)"; }},
    {"DisplayDeviceEqualsNotTested", "DDEVICE:eDP-1",
     [](HostSettings& s) { s.displayDevice = "eDP-1"; }},
    {"RomDirectory", "ROMDIR=/home/ann/Wrenfold",
     [](HostSettings& s) { s.romDirectory = "/home/ann/Wrenfold"; }},
    {"FramesPerSecond", "FPS=60", [](HostSettings& s) { s.framesPerSecond = 60; }},
    {"Resolution", "RES=3", [](HostSettings& s) { s.resolution = 3; }},
    {"ResolutionOtherDigitStored", "RES=7", [](HostSettings& s) { s.resolution = 7; }},
    {"ResolutionWordIsNoResKey", "RESOLUTION=2", [](HostSettings&) {}},
    {"ResolutionNonDigitIgnored", "RES=x", [](HostSettings&) {}},
    {"Pal", "VIDEO=PAL", [](HostSettings& s) { s.videoStandard = VideoStandard::kPal; }},
    {"NtscAfterPal", "VIDEO=PAL\nVIDEO=NTSC", [](HostSettings&) {}},
    {"UnknownVideoKeeps", "VIDEO=PAL\nVIDEO=X",
     [](HostSettings& s) { s.videoStandard = VideoStandard::kPal; }},
    {"RomFileName", "BOOT=Super Game (J).nes",
     [](HostSettings& s) { s.romFileName = "Super Game (J).nes"; }},
    {"LaterBootReplacesWholeName", "BOOT=A Long Name.nes\nBOOT=b.nes",
     [](HostSettings& s) { s.romFileName = "b.nes"; }},
    {"RapidFire", "RAPIDFIRE=3", [](HostSettings& s) { s.rapidFirePeriod = 3; }},
    {"RapidFireNonDigitIgnored", "RAPIDFIRE=3\nRAPIDFIRE=x",
     [](HostSettings& s) { s.rapidFirePeriod = 3; }},
    {"Stereo", "SOUND=Stereo", [](HostSettings& s) { s.stereo = true; }},
    {"Mono", "SOUND=Stereo\nSOUND=Mono", [](HostSettings&) {}},
    {"SoundNone", "SOUND=None", [](HostSettings& s) { s.soundEnabled = false; }},
    {"UnknownSoundTurnsOnAndKeepsStereo", "SOUND=Stereo\nSOUND=xyz",
     [](HostSettings& s) { s.stereo = true; }},
    {"UnknownSoundTurnsSoundBackOn", "SOUND=None\nSOUND=xyz", [](HostSettings&) {}},
    {"LowerCaseKeyIgnored", "sound=None", [](HostSettings&) {}},
    {"BlankBeforeKeyIgnored", " SOUND=None", [](HostSettings&) {}},
    {"Players", "PLAYER1=Joystick\nPLAYER2=Keyboard",
     [](HostSettings& s) {
       s.playerDevice = {PlayerDevice::kJoystick, PlayerDevice::kKeyboard};
     }},
    {"PlayerNone", "PLAYER1=Keyboard\nPLAYER1=None", [](HostSettings&) {}},
    {"PlayerUnknownKeeps", "PLAYER2=Keyboard\nPLAYER2=Mouse",
     [](HostSettings& s) { s.playerDevice[1] = PlayerDevice::kKeyboard; }},
    {"JoystickButtonsCountFromOne", "JOYA=1\nJOYB=12\nJOYTA=3\nJOYTB=4\nSELECT=10\nSTART=32",
     [](HostSettings& s) { s.joystickButtons = {0, 11, 2, 3, 9, 31}; }},
    {"JoystickThirdDigitIgnored", "JOYA=123",
     [](HostSettings& s) { s.joystickButtons[kJoyA] = 11; }},
    {"JoystickTrailingBlank", "JOYB=2 ", [](HostSettings& s) { s.joystickButtons[kJoyB] = 1; }},
    {"JoystickButtonZeroIgnored", "JOYA=5\nJOYA=0",
     [](HostSettings& s) { s.joystickButtons[kJoyA] = 4; }},
    {"JoystickButtonBeyondDeviceIgnored", "START=33\nSTART=99\nSTART=", [](HostSettings&) {}},
    {"JoystickNonDigitIgnored", "JOYTB=1x", [](HostSettings&) {}},
    {"KeyboardScanCodes",
     "KEYUP=200\nKEYDOWN=208\nKEYLEFT=203\nKEYRIGHT=205\nKEYA=30\nKEYB=48\nKEYTA=44\n"
     "KEYTB=45\nKEYSELECT=54\nKEYSTART=28",
     [](HostSettings& s) { s.keyboardScanCodes = {200, 208, 203, 205, 30, 48, 44, 45, 54, 28}; }},
    {"KeyboardOneDigit", "KEYA=2", [](HostSettings& s) { s.keyboardScanCodes[kKeyA] = 2; }},
    {"KeyboardMatchedByPrefixOnly", "KEYA:31",
     [](HostSettings& s) { s.keyboardScanCodes[kKeyA] = 31; }},
    {"KeyboardValueAtFixedPosition", "KEYAB=31", [](HostSettings&) {}},
    {"KeyboardBeyondByteIgnored", "KEYUP=300", [](HostSettings&) {}},
    {"KeyboardEmptyValueIgnored", "KEYDOWN=", [](HostSettings&) {}},
    {"ExpansionSoundOff", "NamcoExt=No\nVRC6Ext=No",
     [](HostSettings& s) {
       s.namcoSound = false;
       s.vrc6Sound = false;
     }},
    {"ExpansionSoundOnAgain", "NamcoExt=No\nNamcoExt=Yes\nVRC6Ext=No\nVRC6Ext=Yes",
     [](HostSettings&) {}},
    {"DoubleSize", "2XMODE=Yes", [](HostSettings& s) { s.doubleSize = true; }},
    {"Windowed", "WINDOWED=Yes", [](HostSettings& s) { s.windowed = true; }},
    {"FullScreen", "WINDOWED=No", [](HostSettings&) {}},
    {"Monochrome", "COLOR=No", [](HostSettings& s) { s.monochrome = true; }},
    {"ColourAgain", "COLOR=No\nCOLOR=Yes", [](HostSettings&) {}},
    {"UpperCaseHardbufNotTaken", "HARDBUF= 3\nHARDBUF=2", [](HostSettings&) {}},
    {"LowerCaseFHardbufTaken", "HARDBUf=2", [](HostSettings& s) { s.hardwareSoundBuffers = 2; }},
    {"ReferenceCore", "CORE=C", [](HostSettings& s) { s.cpuCore = CpuCoreChoice::kReferenceCore; }},
    {"SecondCore", "CORE=C\nCORE=ASM", [](HostSettings&) {}},
    {"UnknownCoreKeeps", "CORE=C\nCORE=Z",
     [](HostSettings& s) { s.cpuCore = CpuCoreChoice::kReferenceCore; }},
    {"FullCore", "CORE=FULL", [](HostSettings& s) { s.cpuCore = CpuCoreChoice::kFullCore; }},
    {"FullCoreByItsFirstLetter", "CORE=C\nCORE=F",
     [](HostSettings& s) { s.cpuCore = CpuCoreChoice::kFullCore; }},
    {"LowerCaseFullIsUnknown", "CORE=full", [](HostSettings&) {}},
    {"IrqAdjustNegative", "IRQADJ=-12", [](HostSettings& s) { s.irqAdjust = -12; }},
    {"IrqAdjustBlankSign", "IRQADJ= 7", [](HostSettings& s) { s.irqAdjust = 7; }},
    {"IrqAdjustSignPositionSkipped", "IRQADJ=123", [](HostSettings& s) { s.irqAdjust = 23; }},
    {"IrqAdjustThreeDigits", "IRQADJ=-999", [](HostSettings& s) { s.irqAdjust = -999; }},
    {"IrqAdjustSixteenBit", "IRQADJ=-32768", [](HostSettings& s) { s.irqAdjust = -32768; }},
    {"IrqAdjustClampedTo16Bit", "IRQADJ= 99999", [](HostSettings& s) { s.irqAdjust = 32767; }},
    {"IrqAdjustFrontEndZero", "IRQADJ=-5\nIRQADJ= 0", [](HostSettings&) {}},
    {"IrqAdjustNoDigitsIgnored", "IRQADJ=-5\nIRQADJ=-", [](HostSettings& s) { s.irqAdjust = -5; }},
    {"LanguageIgnored", "BOOTLAN=English", [](HostSettings&) {}},
    {"CrLfLineEnds", "BOOT=Game.nes\r\nROMDIR=/roms\r\nVIDEO=PAL\r\n",
     [](HostSettings& s) {
       s.romFileName = "Game.nes";
       s.romDirectory = "/roms";
       s.videoStandard = VideoStandard::kPal;
     }},
    {"NoNewlineAtEnd", "VIDEO=PAL\nBOOT=Last.nes",
     [](HostSettings& s) {
       s.videoStandard = VideoStandard::kPal;
       s.romFileName = "Last.nes";
     }},
    {"ZeroByteEndsLine", std::string("BOOT=ab\0cd.nes\nVIDEO=PAL", 24),
     [](HostSettings& s) {
       s.romFileName = "ab";
       s.videoStandard = VideoStandard::kPal;
     }},
    {"CommentLineSkippedWhole", ";SOUND=None", [](HostSettings&) {}},
};

INSTANTIATE_TEST_SUITE_P(Keys, ConfigLineTest, ::testing::ValuesIn(kConfigCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HostSettingsTest, ReadsWhatTheFrontEndWrites) {
  const HostSettings settings = Parse(
      "FPS=60\r\nBOOTLAN=English\r\nBOOT=Mega Quest.nes\r\nROMDIR=/home/ann/Wrenfold\r\n"
      "IRQADJ= 0\r\nVIDEO=PAL\r\nSOUND=Stereo\r\nSLMODE=Yes\r\nRES=2\r\nHARDBUF= 3\r\n"
      "2XMODE=Yes\r\nCOLOR=Yes\r\nNamcoExt=Yes\r\nVRC6Ext=No\r\nCORE=C\r\nRAPIDFIRE=4\r\n"
      "PLAYER1=Keyboard\r\nPLAYER2=Joystick\r\nJOYA=1\r\nJOYB=2\r\nJOYTA=3\r\nJOYTB=4\r\n"
      "SELECT=9\r\nSTART=10\r\nKEYUP=200\r\nKEYDOWN=208\r\nKEYLEFT=203\r\nKEYRIGHT=205\r\n"
      "KEYA=30\r\nKEYB=31\r\nKEYTA=44\r\nKEYTB=45\r\nKEYSELECT=54\r\nKEYSTART=28\r\n"
      "DDEVICE=HDMI-1\r\n;\r\n");
  HostSettings expected;
  expected.framesPerSecond = 60;
  expected.romFileName = "Mega Quest.nes";
  expected.romDirectory = "/home/ann/Wrenfold";
  expected.videoStandard = VideoStandard::kPal;
  expected.stereo = true;
  expected.scanlineMode = true;
  expected.resolution = 2;
  expected.doubleSize = true;
  expected.vrc6Sound = false;
  expected.cpuCore = CpuCoreChoice::kReferenceCore;
  expected.rapidFirePeriod = 4;
  expected.playerDevice = {PlayerDevice::kKeyboard, PlayerDevice::kJoystick};
  expected.joystickButtons = {0, 1, 2, 3, 8, 9};
  expected.keyboardScanCodes = {200, 208, 203, 205, 30, 31, 44, 45, 54, 28};
  expected.displayDevice = "HDMI-1";
  EXPECT_EQ(settings, expected);
}

TEST(HostSettingsTest, LineAfterAnOverlongLineIsStillRead) {
  const std::string longDirectory(3000, 'd');
  const HostSettings settings = Parse("ROMDIR=" + longDirectory + "\r\nVIDEO=PAL\n");
  EXPECT_EQ(settings.videoStandard, VideoStandard::kPal);
  // Only the start of the line is kept; it is still far too long for a ROM path.
  EXPECT_GT(settings.romDirectory.size(), kMaxRomPathLength);
  EXPECT_LT(settings.romDirectory.size(), longDirectory.size());
  EXPECT_EQ(settings.romDirectory.find('\r'), std::string::npos);
}

TEST(HostSettingsTest, MissingFileLeavesTheSettingsAlone) {
  test::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  HostSettings settings;
  settings.romFileName = "kept.nes";
  EXPECT_FALSE(ReadHostSettings(folder.path() / kConfigFileName, settings));
  EXPECT_EQ(settings.romFileName, "kept.nes");
}

TEST(HostSettingsTest, FileIsReadLikeText) {
  test::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  std::string text;
  for (int i = 0; i < 400; ++i) text += ";padding past one read buffer\r\n";
  text += "VIDEO=PAL\r\nBOOT=Game.nes";
  test::WriteFile(folder.path() / kConfigFileName, text);
  HostSettings settings;
  ASSERT_TRUE(ReadHostSettings(folder.path() / kConfigFileName, settings));
  EXPECT_EQ(settings, Parse(text));
  EXPECT_EQ(settings.romFileName, "Game.nes");
  EXPECT_EQ(settings.videoStandard, VideoStandard::kPal);
}

struct RomPathCase {
  const char* name;
  std::string directory;
  std::string fileName;
  bool built;
  std::string path;
  int32_t extensionIndex;
};

void PrintTo(const RomPathCase& c, std::ostream* os) {
  *os << c.name;
}

class RomPathTest : public ::testing::TestWithParam<RomPathCase> {};

TEST_P(RomPathTest, JoinsDirectoryAndFileName) {
  HostSettings settings;
  settings.romDirectory = GetParam().directory;
  settings.romFileName = GetParam().fileName;
  EXPECT_EQ(BuildRomPath(settings), GetParam().built);
  EXPECT_EQ(settings.romPath, GetParam().path);
  EXPECT_EQ(settings.extensionIndex, GetParam().extensionIndex);
}

const std::string k248Characters(248, 'd');

INSTANTIATE_TEST_SUITE_P(
    Paths, RomPathTest,
    ::testing::Values(
        RomPathCase{"Plain", "/roms", "Game.nes", true, "/roms/Game.nes", 11},
        RomPathCase{"TrailingSlashDropped", "/roms/", "Game.nes", true, "/roms/Game.nes", 11},
        RomPathCase{"TrailingBackslashDropped", "/roms\\", "Game.nes", true, "/roms/Game.nes", 11},
        RomPathCase{"OnlyOneTrailingSeparatorDropped", "/roms//", "a.nes", true, "/roms//a.nes", 9},
        RomPathCase{"RootFolder", "/", "Game.nes", true, "/Game.nes", 6},
        RomPathCase{"NoFolder", "", "Game.nes", true, "/Game.nes", 6},
        RomPathCase{"NoFileNameNoPath", "/roms", "", true, "", 0},
        RomPathCase{"ShortName", "/r", "a", true, "/r/a", 1},
        RomPathCase{"LongestPath", k248Characters, "x.nes", true, k248Characters + "/x.nes", 251},
        RomPathCase{"OneCharacterTooLong", k248Characters, "xy.nes", false, "", 0},
        RomPathCase{"TrailingSeparatorDoesNotCount", k248Characters + "/", "x.nes", true,
                    k248Characters + "/x.nes", 251}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostSettingsTest, BuildingAgainClearsAnEarlierPath) {
  HostSettings settings;
  settings.romDirectory = "/roms";
  settings.romFileName = "Game.nes";
  ASSERT_TRUE(BuildRomPath(settings));
  settings.romDirectory = std::string(300, 'd');
  EXPECT_FALSE(BuildRomPath(settings));
  EXPECT_EQ(settings.romPath, "");
}

}  // namespace
}  // namespace wrenfold
