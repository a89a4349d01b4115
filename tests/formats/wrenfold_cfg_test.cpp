// The contract of Wrenfold.CFG across the two programs: whatever the front-end can write, by the
// "Update Config" button or by patching a start into the file, the emulator reads with the
// meaning the front-end gave it.
#include "formats/wrenfold_cfg.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "emulator/host/host_settings.h"
#include "frontend/model/emulator_config.h"
#include "frontend/model/number_text.h"

namespace wrenfold {
namespace {

constexpr int kSamples = 3000;

template <typename T>
T Pick(std::mt19937& random, int low, int high) {
  return static_cast<T>(std::uniform_int_distribution<int>(low, high)(random));
}

bool Coin(std::mt19937& random) {
  return Pick<int>(random, 0, 1) == 1;
}

// A file or folder name as a user may have one: blanks, commas, letters of other scripts, and
// sometimes nothing; never a line break, which the front-end refuses. With `quotes`, double
// quotes too: the front-end reads its own file back as comma-separated items, where a quote
// that opens an item must close it, so a start cannot patch a file holding such a name.
std::string Name(std::mt19937& random, bool quotes = true) {
  static const std::string kPieces[] = {"a", "Z", "0",    " ", ",", "-",   ".",   "/", "\\",
                                        "=", ";", "超级", "é", "#", "(1)", "nes", "\""};
  const size_t pieces = std::size(kPieces) - (quotes ? 0 : 1);
  std::string name;
  const int length = Pick<int>(random, 0, 12);
  for (int i = 0; i < length; ++i) name += kPieces[Pick<size_t>(random, 0, pieces - 1)];
  return name;
}

ControlPanelSettings RandomPanel(std::mt19937& random, bool quotes = true) {
  ControlPanelSettings panel;
  panel.language = Coin(random) ? kLanguageEnglish : kLanguageChinese;
  panel.selectedRomFile = Name(random, quotes);
  panel.romDirectoryText = Name(random, quotes);
  panel.videoNtsc = Coin(random);
  panel.resolutionIndex = Pick<int>(random, 1, 3);
  panel.scanline = Coin(random);
  panel.color = Coin(random);
  panel.doubleSize = Coin(random);
  panel.windowed = Coin(random);
  panel.irqAdjustCaption = FormatSignedDecimal(Pick<int16_t>(random, -32768, 32767));
  panel.cpuCore = kCpuCoreChoices[Pick<size_t>(random, 0, kCpuCoreChoices.size() - 1)];
  panel.soundEnabled = Coin(random);
  panel.stereo = panel.soundEnabled && Coin(random);
  panel.namcoExtended = Coin(random);
  panel.vrc6Extended = Coin(random);
  panel.rapidFireInterval = Pick<int>(random, 0, kRapidFireMax);
  panel.player1 = kPlayerDevices[Pick<size_t>(random, 0, 2)];
  panel.player2 = kPlayerDevices[Pick<size_t>(random, 0, 2)];
  for (int16_t& code : panel.keyMap.codes) code = Pick<int16_t>(random, 0, 255);
  // The button capture reports the buttons a joystick has, counted from 1.
  for (int16_t& button : panel.joyMap.buttons) {
    button = Pick<int16_t>(random, 1, kLargestJoystickButton);
  }
  return panel;
}

HostSettings EmulatorReading(const std::string& text) {
  HostSettings host;
  ParseHostSettings(text, host);
  return host;
}

// Everything the panel sets, as the emulator should see it.
void ExpectPanelMeaning(const ControlPanelSettings& panel, const HostSettings& host) {
  EXPECT_EQ(host.romFileName, panel.selectedRomFile);
  EXPECT_EQ(host.romDirectory, RomDirectoryForConfig(panel.romDirectoryText));
  EXPECT_EQ(host.videoStandard, panel.videoNtsc ? VideoStandard::kNtsc : VideoStandard::kPal);
  EXPECT_EQ(host.resolution, panel.resolutionIndex);
  EXPECT_EQ(host.scanlineMode, panel.scanline);
  EXPECT_EQ(host.monochrome, !panel.color);
  EXPECT_EQ(host.doubleSize, panel.doubleSize);
  EXPECT_EQ(host.windowed, panel.windowed);
  EXPECT_EQ(host.cpuCore, panel.cpuCore);
  EXPECT_EQ(host.soundEnabled, panel.soundEnabled);
  EXPECT_EQ(host.stereo, panel.soundEnabled && panel.stereo);
  EXPECT_EQ(host.namcoSound, panel.namcoExtended);
  EXPECT_EQ(host.vrc6Sound, panel.vrc6Extended);
  EXPECT_EQ(host.rapidFirePeriod, panel.rapidFireInterval);
  EXPECT_EQ(host.playerDevice[0], panel.player1);
  EXPECT_EQ(host.playerDevice[1], panel.player2);
  for (int slot = 0; slot < kKeySlotCount; ++slot) {
    EXPECT_EQ(host.keyboardScanCodes[slot], panel.keyMap.codes[slot]) << "key slot " << slot;
  }
  for (int slot = 0; slot < kJoySlotCount; ++slot) {
    EXPECT_EQ(host.joystickButtons[slot], panel.joyMap.buttons[slot] - 1) << "joy slot " << slot;
  }
  // The full writer starts the IRQ adjustment at 0; its HARDBUF line is not the emulator's key.
  EXPECT_EQ(host.irqAdjust, 0);
  EXPECT_EQ(host.hardwareSoundBuffers, HostSettings{}.hardwareSoundBuffers);
  EXPECT_EQ(host.framesPerSecond, 60);
  EXPECT_EQ(host.displayDevice, "");
}

TEST(WrenfoldCfgContract, EveryPanelTheFrontEndWritesIsReadWithItsMeaning) {
  std::mt19937 random(1515);
  ExpectPanelMeaning(ControlPanelSettings{}, EmulatorReading(FormatConfig(ControlPanelSettings{})));
  for (int sample = 0; sample < kSamples; ++sample) {
    const ControlPanelSettings panel = RandomPanel(random);
    SCOPED_TRACE(FormatConfig(panel));
    ExpectPanelMeaning(panel, EmulatorReading(FormatConfig(panel)));
    if (HasFailure()) return;
  }
}

TEST(WrenfoldCfgContract, EveryStartPatchedIntoTheFileIsReadWithItsMeaning) {
  std::mt19937 random(2000);
  for (int sample = 0; sample < kSamples; ++sample) {
    const ControlPanelSettings panel = RandomPanel(random, false);
    LaunchRequest request;
    request.bootFile = Name(random);
    if (request.bootFile.empty()) request.bootFile = "game.nes";
    request.romDirectoryText = Name(random);
    const int16_t irqAdjust = Pick<int16_t>(random, -32768, 32767);
    // The caption as the panel's buttons leave it: "0" after a reset, the signed form else.
    request.irqAdjustCaption =
        irqAdjust == 0 && Coin(random) ? "0" : FormatSignedDecimal(irqAdjust);
    request.displayDeviceId = Name(random);
    if (Coin(random)) request.cpuCore = kCpuCoreChoices[Pick<size_t>(random, 0, 2)];

    const PatchResult patched = PatchConfigText(FormatConfig(panel), request);
    ASSERT_EQ(patched.status, ConfigStatus::Ok);
    SCOPED_TRACE(patched.text);
    // The patched items take the request's meaning, every other item keeps the panel's.
    HostSettings expected = EmulatorReading(FormatConfig(panel));
    expected.romFileName = request.bootFile;
    expected.romDirectory = RomDirectoryForConfig(request.romDirectoryText);
    expected.irqAdjust = irqAdjust;
    expected.displayDevice = request.displayDeviceId;
    expected.cpuCore = request.cpuCore.value_or(panel.cpuCore);
    EXPECT_EQ(EmulatorReading(patched.text), expected);
    if (HasFailure()) return;
  }
}

// Both programs start from the same settings where nothing is written: the emulator for an
// empty file, the front-end before its first file.
TEST(WrenfoldCfgContract, BothProgramsShareTheDefaults) {
  const HostSettings host = EmulatorReading("");
  const ControlPanelSettings panel;
  EXPECT_EQ(host.videoStandard == VideoStandard::kNtsc, panel.videoNtsc);
  EXPECT_EQ(host.resolution, panel.resolutionIndex);
  EXPECT_EQ(host.scanlineMode, panel.scanline);
  EXPECT_EQ(host.monochrome, !panel.color);
  EXPECT_EQ(host.doubleSize, panel.doubleSize);
  EXPECT_EQ(host.windowed, panel.windowed);
  EXPECT_EQ(host.cpuCore, panel.cpuCore);
  EXPECT_EQ(host.soundEnabled, panel.soundEnabled);
  EXPECT_EQ(host.stereo, panel.stereo);
  EXPECT_EQ(host.namcoSound, panel.namcoExtended);
  EXPECT_EQ(host.vrc6Sound, panel.vrc6Extended);
  EXPECT_EQ(host.rapidFirePeriod, panel.rapidFireInterval);
}

}  // namespace
}  // namespace wrenfold
