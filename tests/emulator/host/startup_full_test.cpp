// Start-up from the settings to the loaded cartridge on the headless platform: the order of
// the steps, their log lines, and what each failure reports and releases.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "emulator/host/failure_messages.h"
#include "emulator/host/palette.h"
#include "emulator/host/splash_picture.h"
#include "emulator/host/startup.h"
#include "emulator/host/video_output.h"
#include "tests/emulator/host/headless_host.h"

namespace wrenfold {
namespace {

using test::HeadlessHostTest;

// Every entry appears in `log`, each after the one before.
void ExpectInOrder(const std::string& log, std::initializer_list<std::string_view> entries) {
  std::size_t from = 0;
  for (std::string_view entry : entries) {
    const std::size_t at = log.find(entry, from);
    ASSERT_NE(at, std::string::npos) << "missing or out of order: " << entry << "\nlog:\n" << log;
    from = at + entry.size();
  }
}

using StartEmulatorTest = HeadlessHostTest;

TEST_F(StartEmulatorTest, StepsRunInOrderWithTheirLogLines) {
  ASSERT_EQ(Start(), StartUpResult::kReady);
  const std::string path = host->settings.romPath;
  ASSERT_GT(path.size(), 30u);
  ExpectInOrder(Log(), {"NTSC Console\n", "NES system palette initialized\n", "1 Level Pass\n",
                        "Interface got\n", "CooperativeLevel Set\n", "lpDD2 object inited.\n",
                        "all surfaces created.\n", "Keyboard initialized\n",
                        "Direct Sound Object Created\n", "Open:" + path.substr(0, 30) + "\n"});
  EXPECT_EQ(Log().find("Use Device:"), std::string::npos);
  EXPECT_EQ(Log().find("joystick"), std::string::npos);
  EXPECT_EQ(services.clock.SleptMilliseconds(), 400u);
  EXPECT_EQ(services.display.WindowTitle(), "Wrenfold 2000 b1");
  EXPECT_EQ(services.display.ModeWidth(), 640);
  EXPECT_TRUE(services.sound.IsOpen());
  EXPECT_EQ(host->run.lineStep, nullptr);
  EXPECT_EQ(host->run.ppuFetch, nullptr);
  EXPECT_TRUE(services.messageBox.Shown().empty());
}

TEST_F(StartEmulatorTest, TheGameStartsWithTheConfiguredIrqAdjust) {
  ASSERT_EQ(Start("SOUND=None\nIRQADJ=-3\n"), StartUpResult::kReady);
  EXPECT_EQ(machine->irqAdjust, -3);
}

TEST_F(StartEmulatorTest, SoundDisabledCreatesNoSoundObject) {
  ASSERT_EQ(Start("SOUND=None\n"), StartUpResult::kReady);
  EXPECT_EQ(Log().find("Sound"), std::string::npos) << Log();
  EXPECT_FALSE(services.sound.IsOpen());
  EXPECT_EQ(services.sound.BufferCount(), 0u);
}

// Without a sound device the game still starts, silently, after one log line.
TEST_F(StartEmulatorTest, SoundFailureGoesOnWithoutSound) {
  ASSERT_EQ(services.sound.Open(), kSoundOk);  // a second Open fails
  EXPECT_EQ(Start(), StartUpResult::kReady);
  const std::string log = Log();
  ExpectInOrder(log, {"Fail to initialize Direct Sound\n", "Open:"});
  EXPECT_EQ(log.find("Fail"), log.rfind("Fail")) << log;
  EXPECT_FALSE(host->settings.soundEnabled);
  EXPECT_EQ(services.sound.BufferCount(), 0u);
  EXPECT_TRUE(services.display.WindowOpen());
  EXPECT_TRUE(services.messageBox.Shown().empty());
}

struct DisplayFailureCase {
  HeadlessDisplayStep step;
  int32_t code;
  std::string_view lastLineBefore;  // the last set-up line that is still logged
  std::string_view errorName;
  std::string_view message;
};

std::string DisplayStepName(const ::testing::TestParamInfo<DisplayFailureCase>& info) {
  constexpr const char* kStepNames[] = {"Create", "OpenWindow", "SetDisplayMode", "CreatePrimary",
                                        "CreateOffscreen"};
  return kStepNames[static_cast<int>(info.param.step)];
}

class DisplayFailureTest : public HeadlessHostTest,
                           public ::testing::WithParamInterface<DisplayFailureCase> {};

TEST_P(DisplayFailureTest, IsLoggedShownAndReleased) {
  const DisplayFailureCase& failure = GetParam();
  services.display.FailStep(failure.step, failure.code);
  EXPECT_EQ(Start(), StartUpResult::kVideoError);

  const std::string log = Log();
  EXPECT_TRUE(log.ends_with(std::string(failure.lastLineBefore) + std::string(failure.errorName)))
      << log;
  ASSERT_EQ(services.messageBox.Shown().size(), 1u);
  EXPECT_EQ(services.messageBox.Shown()[0].caption, "ERROR");
  EXPECT_EQ(services.messageBox.Shown()[0].text,
            std::string(failure.message) + kVideoFailureAdvice);
  EXPECT_FALSE(services.display.WindowOpen());
  EXPECT_EQ(host->video.display, nullptr);
  EXPECT_EQ(host->video.primarySurface, nullptr);
  EXPECT_EQ(host->inputDevices.keyboard, nullptr);
  EXPECT_FALSE(services.sound.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    EachDisplayStep, DisplayFailureTest,
    ::testing::Values(DisplayFailureCase{HeadlessDisplayStep::kCreate, kDisplayErrGeneric,
                                         "NES system palette initialized\n", "DD_GENERIC",
                                         "Direct Draw Init Failed (80004005)\n"},
                      DisplayFailureCase{HeadlessDisplayStep::kOpenWindow, kDisplayErrUnsupported,
                                         "Interface got\n", "DD_UNSUPPORTED",
                                         "Direct Draw Init Failed (80004001)\n"},
                      DisplayFailureCase{HeadlessDisplayStep::kSetDisplayMode,
                                         kDisplayErrInvalidMode, "CooperativeLevel Set\n",
                                         "DD_INVALIDMODE\n",
                                         "Direct Draw Init Failed (88760078)\n"},
                      DisplayFailureCase{HeadlessDisplayStep::kCreatePrimary,
                                         kDisplayErrOutOfMemory, "lpDD2 object inited.\n",
                                         "DD_OutMemory\n", "Direct Draw Init Failed (8007000e)\n"},
                      DisplayFailureCase{HeadlessDisplayStep::kCreateOffscreen,
                                         kDisplayErrOutOfMemory, "lpDD2 object inited.\n",
                                         "DD_OutMemory\n", "Direct Draw Init Failed (8007000e)\n"}),
    DisplayStepName);

struct DriverChoiceCase {
  std::string_view config;
  int chosenDriver;
  std::string_view logged;  // empty: no "Use Device:" line
};

class DriverChoiceTest : public HeadlessHostTest,
                         public ::testing::WithParamInterface<DriverChoiceCase> {};

TEST_P(DriverChoiceTest, MatchesOverTheDriverNameAndLogsSixteenBytes) {
  services.display.SetDriverNames({"Main", "Second"});
  ASSERT_EQ(Start(GetParam().config), StartUpResult::kReady);
  EXPECT_EQ(services.display.ChosenDriver(), GetParam().chosenDriver);
  const std::string log = Log();
  if (GetParam().logged.empty()) {
    EXPECT_EQ(log.find("Use Device:"), std::string::npos) << log;
  } else {
    ExpectInOrder(log, {"NES system palette initialized\n", GetParam().logged, "1 Level Pass\n"});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, DriverChoiceTest,
    ::testing::Values(DriverChoiceCase{"DDEVICE=Second\n", 1, "Use Device:Second 0,0 1024x\n"},
                      // The configured name only has to start with the driver's name.
                      DriverChoiceCase{"DDEVICE=Main screen\n", 0, "Use Device:Main 0,0 1024x76\n"},
                      // A name that matches no driver takes the default display.
                      DriverChoiceCase{"DDEVICE=Sec\n", 0, ""}, DriverChoiceCase{"", 0, ""}));

TEST_F(StartEmulatorTest, MissingJoystickIsReportedAndTakenWhenPluggedIn) {
  ASSERT_EQ(Start("PLAYER1=K\nPLAYER2=J\nJOYA=1\nJOYB=2\nJOYTA=3\nJOYTB=4\nSELECT=5\nSTART=6\n"),
            StartUpResult::kReady);
  ExpectInOrder(Log(), {"Keyboard initialized\n", "Fail to initialize joystick\n", "Open:"});
  ASSERT_EQ(services.messageBox.Shown().size(), 1u);
  EXPECT_EQ(services.messageBox.Shown()[0].caption, "Error!");
  EXPECT_EQ(services.messageBox.Shown()[0].text,
            std::string("Fail to initialize DirectInput") + kJoystickMissingAdvice);

  uint8_t pads[kPlayerCount] = {};
  UpdatePads(host->input, host->inputDevices.joystick.get(), pads);
  EXPECT_EQ(pads[1], 0);
  JoystickState held = CentredJoystickState();
  held.buttons[0] = kKeyPressed;  // JOYA=1
  services.input.SetJoystickState(held);
  services.input.AttachJoystick(true);
  UpdatePads(host->input, host->inputDevices.joystick.get(), pads);
  EXPECT_EQ(pads[1], 0x01);
}

TEST_F(StartEmulatorTest, AttachedJoystickIsAcquired) {
  services.input.AttachJoystick(true);
  ASSERT_EQ(Start("PLAYER1=J\n"), StartUpResult::kReady);
  ExpectInOrder(Log(), {"Keyboard initialized\n", "Joystick successfully initialized\n"});
  EXPECT_NE(host->inputDevices.joystick, nullptr);
  EXPECT_TRUE(services.messageBox.Shown().empty());
}

TEST_F(StartEmulatorTest, SplashIsShownInTheMiddleOfTheScreenThroughThePalette) {
  ASSERT_EQ(Start("RES=3\n"), StartUpResult::kReady);
  ASSERT_GE(services.display.PresentCount(), 1);
  const std::vector<uint8_t>& screen = services.display.PresentedPixels();
  ASSERT_EQ(screen.size(), 1024u * 768u);
  auto at = [&](int x, int y) { return screen[static_cast<std::size_t>(y) * 1024 + x]; };
  const int left = (1024 - kSplashWidth) / 2;
  const int top = (768 - kSplashHeight) / 2;
  EXPECT_EQ(at(left - 1, top), kScreenClearIndex);
  EXPECT_EQ(at(left, top), kSplashFrameOuter);
  EXPECT_EQ(at(left + kSplashWidth - 1, top + kSplashHeight - 1), kSplashFrameOuter);
  EXPECT_EQ(at(left + kSplashWidth, top + kSplashHeight), kScreenClearIndex);
  EXPECT_EQ(at(0, 0), kScreenClearIndex);
  int letterPixels = 0;
  for (uint8_t pixel : screen) letterPixels += pixel == kSplashLetter ? 1 : 0;
  EXPECT_GT(letterPixels, 1000);
  EXPECT_EQ(services.display.PresentedPalette()[kSplashLetter].red, 248);
}

TEST_F(StartEmulatorTest, GreyPaletteUnlessColourIsY) {
  ASSERT_EQ(Start("COLOR=N\n"), StartUpResult::kReady);
  const DisplayPalette& grey = services.display.Palette();
  // Entry 14 is black and stays so; entry 16 (191, 191, 191) leaves remainder 1: 192.
  EXPECT_EQ(grey[14].red, 0);
  EXPECT_EQ(grey[16].red, 192);
  EXPECT_EQ(grey[16].blue, 192);
  ReleaseAll(*host);

  ASSERT_EQ(Start("COLOR=Y\n"), StartUpResult::kReady);
  EXPECT_EQ(services.display.Palette()[16].red, 191);
  EXPECT_EQ(services.display.Palette()[1].blue, 255);
}

TEST_F(StartEmulatorTest, ReleaseAllTwiceReleasesNothingTheSecondTime) {
  ASSERT_EQ(Start(), StartUpResult::kReady);
  ReleaseAll(*host);
  EXPECT_FALSE(services.display.WindowOpen());
  EXPECT_FALSE(services.sound.IsOpen());
  EXPECT_EQ(host->inputDevices.keyboard, nullptr);
  EXPECT_EQ(host->settings.romPath, "");

  // Someone else opens the services afterwards: a second release must leave them alone.
  ASSERT_EQ(services.display.Create(kDefaultDisplayDriver), kDisplayOk);
  ASSERT_EQ(services.display.OpenFullScreenWindow("other"), kDisplayOk);
  ASSERT_EQ(services.sound.Open(), kSoundOk);
  ReleaseAll(*host);
  EXPECT_TRUE(services.display.WindowOpen());
  EXPECT_TRUE(services.sound.IsOpen());
  services.sound.Close();
  services.display.Release();
}

// Counts the expansion set-up calls per kind.
struct ExpansionCalls {
  int namco = 0;
  int vrc6 = 0;
};
ExpansionCalls& Calls() {
  static ExpansionCalls calls;
  return calls;
}
int CountNamco(MachineState&, SoundState&) {
  ++Calls().namco;
  return 1;
}
int CountVrc6(MachineState&, SoundState&) {
  ++Calls().vrc6;
  return 1;
}

struct ExpansionCase {
  uint8_t mapper;
  std::string_view config;
  int namco;
  int vrc6;
};

class ExpansionSoundTest : public HeadlessHostTest,
                           public ::testing::WithParamInterface<ExpansionCase> {};

TEST_P(ExpansionSoundTest, ChannelsAreCreatedForTheirCartridgeOnly) {
  Calls() = ExpansionCalls{};
  host->expansionSound = {CountNamco, CountVrc6};
  const ExpansionCase& c = GetParam();
  ASSERT_EQ(Start(c.config, test::NromImage(test::SpinAt(test::kResetAddress), 1, c.mapper)),
            StartUpResult::kReady);
  EXPECT_EQ(Calls().namco, c.namco);
  EXPECT_EQ(Calls().vrc6, c.vrc6);
}

INSTANTIATE_TEST_SUITE_P(
    Mappers, ExpansionSoundTest,
    ::testing::Values(ExpansionCase{19, "", 1, 0}, ExpansionCase{19, "NamcoExt=N\n", 0, 0},
                      ExpansionCase{19, "SOUND=None\n", 0, 0}, ExpansionCase{24, "", 0, 1},
                      ExpansionCase{24, "VRC6Ext=N\n", 0, 0}, ExpansionCase{0, "", 0, 0}));

TEST_F(StartEmulatorTest, WithoutExpansionSetUpTheCartridgeStillStarts) {
  host->expansionSound = {nullptr, nullptr};
  ASSERT_EQ(Start("", test::NromImage(test::SpinAt(test::kResetAddress), 1, 24)),
            StartUpResult::kReady);
  EXPECT_EQ(sound->expansion.bufferCount, 0u);
}

// The real set-up: one buffer per extra channel, after the cartridge is open.
struct ExpansionFamily {
  uint8_t mapper;
  uint32_t buffers;
  std::string_view logLine;
};

class RealExpansionSetUpTest : public HeadlessHostTest,
                               public ::testing::WithParamInterface<ExpansionFamily> {};

TEST_P(RealExpansionSetUpTest, CreatesOneBufferPerChannelAfterTheCartridgeIsLoaded) {
  const ExpansionFamily& family = GetParam();
  ASSERT_EQ(Start("", test::NromImage(test::SpinAt(test::kResetAddress), 1, family.mapper)),
            StartUpResult::kReady);
  EXPECT_EQ(sound->expansion.bufferCount, family.buffers);
  EXPECT_EQ(services.sound.BufferCount(), 1 + kApuChannelCount + family.buffers);
  ExpectInOrder(Log(), {"NES Sound Channels Created\n", "Open:", family.logLine});
}

INSTANTIATE_TEST_SUITE_P(
    Families, RealExpansionSetUpTest,
    ::testing::Values(ExpansionFamily{24, 3, "VRC6 Extened Sound Channel Created\n"},
                      ExpansionFamily{19, 8, "Namco Extened Sound Channel Created\n"}));

}  // namespace
}  // namespace wrenfold
