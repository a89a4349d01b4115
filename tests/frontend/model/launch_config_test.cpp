#include "frontend/model/launch_config.h"

#include <gtest/gtest.h>

#include "tests/frontend/model/scratch_folder.h"

namespace wrenfold {
namespace {

using testing::ScratchFolder;

LaunchRequest Request(std::string bootFile) {
  return LaunchRequest{std::move(bootFile), "/roms/", "0", "Display A"};
}

TEST(LaunchConfigTest, PatchesAnExistingFile) {
  ScratchFolder folder;
  folder.Write("Wrenfold.CFG", "FPS=60\r\nBOOT=old.nes\r\n;\r\n");
  ASSERT_EQ(PrepareConfigForStart(folder.Path(), ControlPanelSettings{}, Request("game.nes")),
            ConfigStatus::Ok);
  EXPECT_EQ(ScratchFolder::Read(folder / "Wrenfold.CFG"),
            "FPS=60\r\nBOOT=game.nes\r\nROMDIR=/roms\r\nIRQADJ= 0\r\nDDEVICE=Display A\r\n;\r\n");
}

TEST(LaunchConfigTest, MissingFileGetsTheFullSettingsBeforeThePatch) {
  ScratchFolder folder;
  ControlPanelSettings settings;
  settings.videoNtsc = false;
  ASSERT_EQ(PrepareConfigForStart(folder.Path(), settings, Request("game.nes")), ConfigStatus::Ok);
  const std::string text = ScratchFolder::Read(folder / "Wrenfold.CFG");
  EXPECT_NE(text.find("VIDEO=PAL\r\n"), std::string::npos);
  EXPECT_NE(text.find("BOOT=game.nes\r\n"), std::string::npos);
  EXPECT_NE(text.find("KEYSTART=28\r\nDDEVICE=Display A\r\n;\r\n"), std::string::npos);
}

TEST(LaunchConfigTest, ReadsACaseVariantAndWritesTheExactName) {
  ScratchFolder folder;
  folder.Write("wrenfold.cfg", "FPS=60\r\n;\r\n");
  ASSERT_EQ(PrepareConfigForStart(folder.Path(), ControlPanelSettings{}, Request("a.nes")),
            ConfigStatus::Ok);
  EXPECT_EQ(ScratchFolder::Read(folder / "Wrenfold.CFG"),
            "FPS=60\r\nBOOT=a.nes\r\nROMDIR=/roms\r\nIRQADJ= 0\r\nDDEVICE=Display A\r\n;\r\n");
}

TEST(LaunchConfigTest, RefusedRequestCreatesNothing) {
  ScratchFolder folder;
  EXPECT_EQ(PrepareConfigForStart(folder.Path(), ControlPanelSettings{}, Request("")),
            ConfigStatus::NoRomSelected);
  EXPECT_EQ(PrepareConfigForStart(folder.Path(), ControlPanelSettings{}, Request("a\nb.nes")),
            ConfigStatus::LineBreakInValue);
  EXPECT_EQ(folder.EntryCount(), 0);
}

}  // namespace
}  // namespace wrenfold
