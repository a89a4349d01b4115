// Random, cut and oversized configuration files: reading never fails and every value stays
// inside the range its users rely on.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "emulator/host/host_settings.h"
#include "tests/emulator/host/temp_folder.h"

namespace wrenfold {
namespace {

constexpr uint32_t kSeed = 20000101;
constexpr int kRandomFiles = 3000;

const char* const kKeys[] = {
    "SLMODE=",    "DDEVICE=", "ROMDIR=",  "FPS=",     "RES=",       "VIDEO=",    "BOOT=",
    "RAPIDFIRE=", "SOUND=",   "PLAYER1=", "PLAYER2=", "JOYA=",      "JOYB=",     "JOYTA=",
    "JOYTB=",     "SELECT=",  "START=",   "KEYUP=",   "KEYDOWN=",   "KEYLEFT=",  "KEYRIGHT=",
    "KEYA=",      "KEYB=",    "KEYTA=",   "KEYTB=",   "KEYSELECT=", "KEYSTART=", "NamcoExt=",
    "VRC6Ext=",   "2XMODE=",  "COLOR=",   "HARDBUf=", "HARDBUF=",   "CORE=",     "IRQADJ=",
    "IRQADJ",     ";",        "BOOTLAN="};

// Characters that matter to the reader, and some that do not.
const char kValueCharacters[] = "0123456789-+ \t\r\0YNSMPJKCAFxyz/\\.\x80\xff";

std::string ValueText(std::mt19937& random) {
  std::uniform_int_distribution<int> length(0, 6);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kValueCharacters - 2);
  std::string value;
  for (int n = length(random); n > 0; --n) value += kValueCharacters[pick(random)];
  return value;
}

std::string RandomBytes(std::mt19937& random, std::size_t count) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += static_cast<char>(byte(random));
  return bytes;
}

std::string RandomConfig(std::mt19937& random) {
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<int> lineCount(0, 40);
  std::uniform_int_distribution<std::size_t> keyPick(0, std::size(kKeys) - 1);
  std::string text;
  for (int line = lineCount(random); line > 0; --line) {
    switch (kind(random)) {
      case 0:
        text += RandomBytes(random, std::uniform_int_distribution<std::size_t>(0, 80)(random));
        break;
      case 1:  // far beyond any line the front-end writes
        text += kKeys[keyPick(random)];
        text += std::string(std::uniform_int_distribution<std::size_t>(200, 5000)(random), 'w');
        break;
      default:
        text += kKeys[keyPick(random)];
        text += ValueText(random);
        break;
    }
    text += (kind(random) == 0) ? "\r\n" : "\n";
  }
  // Cut somewhere, as a write interrupted half way would.
  if (kind(random) < 3 && !text.empty()) {
    text.resize(std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(random));
  }
  return text;
}

// `label` names the file in a failure message.
void ExpectValuesInRange(HostSettings settings, const std::string& label) {
  SCOPED_TRACE(label);
  EXPECT_LE(settings.resolution, 9);
  EXPECT_GE(settings.resolution, 0);
  EXPECT_LE(settings.rapidFirePeriod, 9);
  EXPECT_GE(settings.hardwareSoundBuffers, 0);
  EXPECT_LE(settings.hardwareSoundBuffers, 9);
  EXPECT_GE(settings.framesPerSecond, 0);
  EXPECT_LE(settings.framesPerSecond, 99);
  EXPECT_TRUE(settings.videoStandard == VideoStandard::kNtsc ||
              settings.videoStandard == VideoStandard::kPal);
  EXPECT_TRUE(settings.cpuCore == CpuCoreChoice::kSecondCore ||
              settings.cpuCore == CpuCoreChoice::kReferenceCore ||
              settings.cpuCore == CpuCoreChoice::kFullCore);
  for (PlayerDevice device : settings.playerDevice) {
    EXPECT_LE(static_cast<int>(device), static_cast<int>(PlayerDevice::kJoystick));
  }
  for (int32_t button : settings.joystickButtons) {
    EXPECT_GE(button, 0);
    EXPECT_LT(button, kJoystickButtonLimit);
  }
  for (const std::string* value :
       {&settings.displayDevice, &settings.romDirectory, &settings.romFileName}) {
    EXPECT_LE(value->size(), 1024u);
    EXPECT_EQ(value->find('\n'), std::string::npos);
    EXPECT_EQ(value->find('\0'), std::string::npos);
  }

  const bool built = BuildRomPath(settings);
  EXPECT_LE(settings.romPath.size(), kMaxRomPathLength);
  EXPECT_GE(settings.extensionIndex, 0);
  EXPECT_LE(static_cast<std::size_t>(settings.extensionIndex), settings.romPath.size());
  if (built && !settings.romFileName.empty()) {
    EXPECT_TRUE(settings.romPath.ends_with("/" + settings.romFileName));
  } else {
    EXPECT_EQ(settings.romPath, "");
  }
}

TEST(HostSettingsFuzzTest, RandomFilesStayInRange) {
  std::mt19937 random(kSeed);
  for (int i = 0; i < kRandomFiles; ++i) {
    const std::string text = RandomConfig(random);
    HostSettings settings;
    ParseHostSettings(text, settings);
    ExpectValuesInRange(settings, "random file " + std::to_string(i));
    if (HasFailure()) return;
  }
}

TEST(HostSettingsFuzzTest, PureNoiseStaysInRange) {
  std::mt19937 random(kSeed + 1);
  for (int i = 0; i < 300; ++i) {
    const std::string text =
        RandomBytes(random, std::uniform_int_distribution<std::size_t>(0, 4096)(random));
    HostSettings settings;
    ParseHostSettings(text, settings);
    ExpectValuesInRange(settings, "noise file " + std::to_string(i));
    if (HasFailure()) return;
  }
}

// Every cut of a real file reads like the same file ending early.
TEST(HostSettingsFuzzTest, EveryCutOfAFrontEndFileStaysInRange) {
  const std::string full =
      "FPS=60\r\nBOOTLAN=Chinese\r\nBOOT=Game.nes\r\nROMDIR=/home/ann/Wrenfold\\\r\n"
      "IRQADJ=-12\r\nVIDEO=PAL\r\nSOUND=Mono\r\nSLMODE=No\r\nRES=3\r\nHARDBUF=-2\r\n"
      "2XMODE=No\r\nCOLOR=No\r\nNamcoExt=No\r\nVRC6Ext=Yes\r\nCORE=ASM\r\nRAPIDFIRE=9\r\n"
      "PLAYER1=Joystick\r\nPLAYER2=None\r\nJOYA=32\r\nJOYB=33\r\nJOYTA=13\r\nJOYTB=14\r\n"
      "SELECT=99\r\nSTART=1\r\nKEYUP=72\r\nKEYDOWN=80\r\nKEYLEFT=75\r\nKEYRIGHT=77\r\n"
      "KEYA=999\r\nKEYB=255\r\nKEYTA=0\r\nKEYTB=1\r\nKEYSELECT=15\r\nKEYSTART=28\r\n"
      "DDEVICE=\r\n;\r\n";
  for (std::size_t cut = 0; cut <= full.size(); ++cut) {
    const std::string text = full.substr(0, cut);
    HostSettings settings;
    ParseHostSettings(text, settings);
    ExpectValuesInRange(settings, "cut at " + std::to_string(cut));
    if (HasFailure()) return;
  }
}

TEST(HostSettingsFuzzTest, RandomFilesReadFromDiskMatchTheText) {
  test::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const auto path = folder.path() / kConfigFileName;
  std::mt19937 random(kSeed + 2);
  for (int i = 0; i < 200; ++i) {
    std::string text = RandomConfig(random);
    if (i % 10 == 0) text += std::string(9000, 'q');  // longer than one read
    test::WriteFile(path, text);
    HostSettings fromFile;
    ASSERT_TRUE(ReadHostSettings(path, fromFile));
    HostSettings fromText;
    ParseHostSettings(text, fromText);
    ASSERT_TRUE(fromFile == fromText) << "random file " << i;
  }
}

}  // namespace
}  // namespace wrenfold
