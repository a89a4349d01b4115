#include "frontend/model/launch_config.h"

#include <gtest/gtest.h>

#include "tests/frontend/model/scratch_folder.h"

namespace wrenfold {
namespace {

using testing::ScratchFolder;

LaunchRequest Request(std::string bootFile) {
  return LaunchRequest{std::move(bootFile), "/roms/", "0", "Display A"};
}

// Whatever the folder held before, a start stores what the panel shows and patches the start's
// keys into it; a file named in other letter cases is not taken over.
TEST(LaunchConfigTest, StoresThePanelSettingsThenPatchesTheStartKeys) {
  ControlPanelSettings settings;
  settings.videoNtsc = false;
  settings.windowed = true;
  settings.selectedRomFile = "other.nes";
  const std::string expected = PatchConfigText(FormatConfig(settings), Request("game.nes")).text;
  ASSERT_NE(expected.find("VIDEO=PAL\r\n"), std::string::npos);
  ASSERT_NE(expected.find("BOOT=game.nes\r\n"), std::string::npos);
  ASSERT_TRUE(expected.ends_with("WINDOWED=Yes\r\nDDEVICE=Display A\r\n;\r\n"));
  for (const char* before : {"", "Wrenfold.CFG", "wrenfold.cfg"}) {
    ScratchFolder folder;
    if (*before != '\0') folder.Write(before, "FPS=60\r\nBOOT=old.nes\r\nVIDEO=NTSC\r\n;\r\n");
    ASSERT_EQ(PrepareConfigForStart(folder.Path(), settings, Request("game.nes")),
              ConfigStatus::Ok);
    EXPECT_EQ(ScratchFolder::Read(folder / "Wrenfold.CFG"), expected) << before;
  }
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
