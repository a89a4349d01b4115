#include "emulator/host/startup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "emulator/cart/rom_loader.h"
#include "emulator/host/failure_messages.h"
#include "emulator/host/log.h"
#include "files/file_lookup.h"
#include "tests/emulator/host/headless_host.h"
#include "tests/emulator/host/temp_folder.h"

namespace wrenfold {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFirstLine = "Wrenfold log file\n";

// The whole program in a fresh working folder, as the front-end starts it, on the headless
// platform. The clock moves a millisecond per reading so the frame pacing comes to an end.
class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.ok());
    workingFolder_ = std::make_unique<test::WorkingFolderGuard>(folder_.path());
    previousLogPath_ = LogPath();
    SetLogPath(kDefaultLogPath);
    services_.clock.SetStepPerRead(1);
  }

  void TearDown() override {
    ReleaseAll(*host_);
    SetLogPath(previousLogPath_);
    workingFolder_.reset();
  }

  void WriteConfig(std::string_view text) { test::WriteFile(kConfigFileName, text); }

  int Run() { return StartUp(*machine_, *host_, *sound_, services_.platform); }

  // The log after the optional first line, which depends on the priority being granted.
  // The one message box the run showed, caption and text; empty when there was none.
  std::string OnlyMessage() const {
    const auto& shown = services_.messageBox.Shown();
    if (shown.size() != 1) return "(" + std::to_string(shown.size()) + " boxes)";
    return shown[0].caption + ": " + shown[0].text;
  }

  static std::string LogAfterFirstLine() {
    std::string log = test::ReadFile(kDefaultLogPath);
    if (log.starts_with(kFirstLine)) log.erase(0, kFirstLine.size());
    return log;
  }

  test::TempFolder folder_;
  std::unique_ptr<test::WorkingFolderGuard> workingFolder_;
  std::string previousLogPath_;
  std::unique_ptr<MachineState> machine_ = std::make_unique<MachineState>();
  std::unique_ptr<HostState> host_ = std::make_unique<HostState>();
  std::unique_ptr<SoundState> sound_ = std::make_unique<SoundState>();
  test::HeadlessPlatform services_;
};

// The lines start-up writes before "Open:" with sound off and the default display.
constexpr std::string_view kDevicesOpenedWithoutSound =
    "NES system palette initialized\n1 Level Pass\nInterface got\nCooperativeLevel Set\n"
    "lpDD2 object inited.\nall surfaces created.\nKeyboard initialized\n";

TEST_F(StartUpTest, MissingConfigurationEndsInRomError) {
  test::WriteFile(kDefaultLogPath, "log of the last run\n");
  EXPECT_EQ(Run(), 1);
  const std::string log = LogAfterFirstLine();
  EXPECT_TRUE(log.starts_with("NTSC Console\nNES system palette initialized\n")) << log;
  EXPECT_TRUE(log.ends_with("Open:\nError reading ROM\n")) << log;
  EXPECT_EQ(log.find("last run"), std::string::npos);
  EXPECT_EQ(host_->settings.romPath, "");
  EXPECT_FALSE(services_.display.WindowOpen());
  EXPECT_EQ(OnlyMessage(),
            "Wrenfold: Wrenfold could not load the game: no game was chosen (BOOT= in "
            "Wrenfold.CFG is empty). Pick a game in cartdesk.");
}

TEST_F(StartUpTest, MissingRomIsReportedWithThePathCutTo30) {
  WriteConfig("BOOT=Missing Game.nes\r\nROMDIR=" + folder_.path().string() + "\r\nSOUND=None\r\n");
  EXPECT_EQ(Run(), 1);
  const std::string path = (folder_.path() / "Missing Game.nes").string();
  ASSERT_GT(path.size(), 30u);
  EXPECT_EQ(LogAfterFirstLine(), "NTSC Console\n" + std::string(kDevicesOpenedWithoutSound) +
                                     "Open:" + path.substr(0, 30) + "\nError reading ROM\n");
  EXPECT_EQ(host_->settings.romPath, "");
  EXPECT_EQ(OnlyMessage(),
            "Wrenfold: Wrenfold could not load the game \"" + path + "\": no such file.");
}

TEST_F(StartUpTest, RomThatIsNoImageIsReported) {
  test::WriteFile("notes.nes", "just some text, not a cartridge image");
  WriteConfig("BOOT=notes.nes\nROMDIR=" + folder_.path().string() + "/\n");
  EXPECT_EQ(Run(), 1);
  EXPECT_TRUE(LogAfterFirstLine().ends_with("Error reading ROM\n"));
  EXPECT_TRUE(OnlyMessage().ends_with("notes.nes\": not an iNES image (no \"NES\" at the start)."))
      << OnlyMessage();
}

TEST_F(StartUpTest, OverlongRomPathIsNotOpened) {
  WriteConfig("BOOT=game.nes\nROMDIR=" + std::string(250, 'd') + "\n");
  EXPECT_EQ(Run(), 1);
  const std::string log = LogAfterFirstLine();
  EXPECT_TRUE(log.starts_with("ROM path too long\nNTSC Console\n")) << log;
  EXPECT_TRUE(log.ends_with("Open:\nError reading ROM\n")) << log;
  EXPECT_EQ(OnlyMessage(),
            "Wrenfold: Wrenfold could not load the game \"game.nes\": its folder and file name "
            "together are longer than 254 characters.");
}

TEST_F(StartUpTest, BadOpcodeEndsTheRunAndReleasesEverything) {
  // NOP, an opcode neither core knows, then a jump to itself.
  test::WriteFile("Halt.nes", test::NromImage({0xEA, 0x22, 0x4C, 0x02, 0x80}));
  WriteConfig("BOOT=Halt.nes\nROMDIR=" + folder_.path().string() + "\nRES=2\n");
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(OnlyMessage(), std::string("Wrenfold: ") + kHaltText);

  const std::string log = LogAfterFirstLine();
  EXPECT_NE(log.find("NMI Vector:33024\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Bad opcode:34\nAt:32769\nFrame:0\nNMI vector:33024\nIRQ vector:33280\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(host_->timing.scanlinesPerFrame, 262);
  EXPECT_EQ(host_->display.modeWidth, 800);
  EXPECT_TRUE(host_->run.exitRequested);
  EXPECT_EQ(host_->settings.romPath, "");
  EXPECT_EQ(host_->video.display, nullptr);
  EXPECT_EQ(host_->inputDevices.keyboard, nullptr);
  EXPECT_FALSE(services_.display.WindowOpen());
  EXPECT_FALSE(services_.sound.IsOpen());
}

TEST_F(StartUpTest, EscapeOnTheWindowBeforeTheRunLoopEndsTheProgram) {
  test::WriteFile("Spin.nes", test::NromImage(test::SpinAt(test::kResetAddress)));
  WriteConfig("BOOT=Spin.nes\nROMDIR=" + folder_.path().string() + "\n");
  services_.display.PushWindowEvent({WindowEventType::kEscapePressed});
  // The event waits in the queue until the window exists; start-up then takes one message.
  EXPECT_EQ(Run(), 0);
  const std::string log = LogAfterFirstLine();
  EXPECT_NE(log.find("Open:"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error reading ROM"), std::string::npos) << log;
  EXPECT_EQ(log.find("NMI Vector:"), std::string::npos) << log;
  EXPECT_FALSE(services_.display.WindowOpen());
}

TEST_F(StartUpTest, PalConfigurationSetsPalTiming) {
  WriteConfig("VIDEO=PAL\n");
  Run();
  EXPECT_TRUE(LogAfterFirstLine().starts_with("PAL Console\n"));
  EXPECT_EQ(host_->timing.scanlinesPerFrame, 290);
  EXPECT_EQ(host_->timing.renderedLines, 240);
}

TEST_F(StartUpTest, EachStartReadsTheConfigurationAfresh) {
  WriteConfig("VIDEO=PAL\nSOUND=None\n");
  Run();
  WriteConfig("RES=3\n");
  Run();
  EXPECT_EQ(host_->settings.videoStandard, VideoStandard::kNtsc);
  EXPECT_TRUE(host_->settings.soundEnabled);
  EXPECT_EQ(host_->settings.resolution, 3);
}

TEST_F(StartUpTest, ConfigurationNameInOtherLetterCaseIsFound) {
  test::WriteFile("wrenfold.cfg", "VIDEO=PAL\n");
  Run();
  EXPECT_EQ(host_->settings.videoStandard, VideoStandard::kPal);
}

TEST(FileLookupTest, ExactNameWinsOverOtherCase) {
  test::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  EXPECT_EQ(FindFileInFolder(folder.path(), "Wrenfold.CFG"), folder.path() / "Wrenfold.CFG");
  test::WriteFile(folder.path() / "WRENFOLD.cfg", "");
  test::WriteFile(folder.path() / "wrenfold.cfg", "");
  EXPECT_EQ(FindFileInFolder(folder.path(), "Wrenfold.CFG"), folder.path() / "WRENFOLD.cfg");
  test::WriteFile(folder.path() / "Wrenfold.CFG", "");
  EXPECT_EQ(FindFileInFolder(folder.path(), "Wrenfold.CFG"), folder.path() / "Wrenfold.CFG");
}

TEST(FileLookupTest, MissingFolderGivesTheExactPath) {
  EXPECT_EQ(FindFileInFolder("/nonexistent-wrenfold-folder", "Wrenfold.CFG"),
            fs::path("/nonexistent-wrenfold-folder/Wrenfold.CFG"));
}

}  // namespace
}  // namespace wrenfold
