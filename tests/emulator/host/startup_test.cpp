#include "emulator/host/startup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "emulator/cart/rom_loader.h"
#include "emulator/host/file_lookup.h"
#include "emulator/host/log.h"
#include "tests/emulator/host/temp_folder.h"

namespace wrenfold {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFirstLine = "Wrenfold log file\n";

// An NROM image with two PRG banks and one CHR bank, each filled with its own number.
std::string TinyNromImage() {
  std::string image = std::string("NES\x1A", 4) + '\x02' + '\x01' + std::string(10, '\0');
  image += std::string(kPrgBankSize, '\x00');
  image += std::string(kPrgBankSize, '\x01');
  image += std::string(kChrBankSize, '\x00');
  return image;
}

// Each test runs in a fresh working folder, as the emulator does when the front-end starts it.
class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.ok());
    workingFolder_ = std::make_unique<test::WorkingFolderGuard>(folder_.path());
    previousLogPath_ = LogPath();
    SetLogPath(kDefaultLogPath);
  }

  void TearDown() override {
    SetLogPath(previousLogPath_);
    workingFolder_.reset();
  }

  void WriteConfig(std::string_view text) { test::WriteFile(kConfigFileName, text); }

  // The log after the optional first line, which depends on the priority being granted.
  static std::string LogAfterFirstLine() {
    std::string log = test::ReadFile(kDefaultLogPath);
    if (log.starts_with(kFirstLine)) log.erase(0, kFirstLine.size());
    return log;
  }

  test::TempFolder folder_;
  std::unique_ptr<test::WorkingFolderGuard> workingFolder_;
  std::string previousLogPath_;
  std::unique_ptr<MachineState> machine_ = std::make_unique<MachineState>();
  HostState host_;
};

TEST_F(StartUpTest, MissingConfigurationEndsInRomError) {
  test::WriteFile(kDefaultLogPath, "log of the last run\n");
  EXPECT_EQ(StartUp(*machine_, host_), StartUpResult::kRomError);
  EXPECT_EQ(LogAfterFirstLine(), "NTSC Console\nOpen:\nError reading ROM\n");
  EXPECT_EQ(host_.settings.romPath, "");
}

TEST_F(StartUpTest, MissingRomIsReported) {
  WriteConfig("BOOT=Missing Game.nes\r\nROMDIR=" + folder_.path().string() + "\r\n");
  EXPECT_EQ(StartUp(*machine_, host_), StartUpResult::kRomError);
  const std::string path = (folder_.path() / "Missing Game.nes").string();
  ASSERT_GT(path.size(), 30u);
  EXPECT_EQ(LogAfterFirstLine(),
            "NTSC Console\nOpen:" + path.substr(0, 30) + "\nError reading ROM\n");
  // The failure path has released the ROM path.
  EXPECT_EQ(host_.settings.romPath, "");
}

TEST_F(StartUpTest, RomThatIsNoImageIsReported) {
  test::WriteFile("notes.nes", "just some text, not a cartridge image");
  WriteConfig("BOOT=notes.nes\nROMDIR=" + folder_.path().string() + "/\n");
  EXPECT_EQ(StartUp(*machine_, host_), StartUpResult::kRomError);
  EXPECT_TRUE(LogAfterFirstLine().ends_with("Error reading ROM\n"));
}

TEST_F(StartUpTest, OverlongRomPathIsNotOpened) {
  WriteConfig("BOOT=game.nes\nROMDIR=" + std::string(250, 'd') + "\n");
  EXPECT_EQ(StartUp(*machine_, host_), StartUpResult::kRomError);
  EXPECT_EQ(LogAfterFirstLine(), "ROM path too long\nNTSC Console\nOpen:\nError reading ROM\n");
}

TEST_F(StartUpTest, TinyNromImageLoads) {
  test::WriteFile("Tiny.nes", TinyNromImage());
  WriteConfig("BOOT=Tiny.nes\nROMDIR=" + folder_.path().string() + "\nRES=2\n");
  ASSERT_EQ(StartUp(*machine_, host_), StartUpResult::kReady);

  const std::string log = LogAfterFirstLine();
  EXPECT_TRUE(log.starts_with("NTSC Console\nOpen:")) << log;
  EXPECT_EQ(log.find("Error reading ROM"), std::string::npos) << log;
  EXPECT_EQ(machine_->header.mapperNumber, 0);
  EXPECT_EQ(machine_->header.prgBankCount, 2u);
  EXPECT_EQ(machine_->header.chrBankCount, 1u);
  EXPECT_EQ(machine_->cpuMem[0xC000], 1);
  EXPECT_EQ(host_.settings.romPath, (folder_.path() / "Tiny.nes").string());
  EXPECT_EQ(host_.settings.extensionIndex, static_cast<int32_t>(host_.settings.romPath.size() - 3));
  EXPECT_EQ(host_.timing.scanlinesPerFrame, 262);
  EXPECT_EQ(host_.display.modeWidth, 800);

  ReleaseAll(host_);
  EXPECT_EQ(host_.settings.romPath, "");
  ReleaseAll(host_);
  EXPECT_EQ(host_.settings.romPath, "");
}

TEST_F(StartUpTest, PalConfigurationSetsPalTiming) {
  WriteConfig("VIDEO=PAL\n");
  EXPECT_EQ(StartUp(*machine_, host_), StartUpResult::kRomError);
  EXPECT_TRUE(LogAfterFirstLine().starts_with("PAL Console\n"));
  EXPECT_EQ(host_.timing.scanlinesPerFrame, 290);
  EXPECT_EQ(host_.timing.renderedLines, 240);
}

TEST_F(StartUpTest, EachStartReadsTheConfigurationAfresh) {
  WriteConfig("VIDEO=PAL\nSOUND=None\n");
  StartUp(*machine_, host_);
  WriteConfig("RES=3\n");
  StartUp(*machine_, host_);
  EXPECT_EQ(host_.settings.videoStandard, VideoStandard::kNtsc);
  EXPECT_TRUE(host_.settings.soundEnabled);
  EXPECT_EQ(host_.settings.resolution, 3);
}

TEST_F(StartUpTest, ConfigurationNameInOtherLetterCaseIsFound) {
  test::WriteFile("wrenfold.cfg", "VIDEO=PAL\n");
  StartUp(*machine_, host_);
  EXPECT_EQ(host_.settings.videoStandard, VideoStandard::kPal);
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
