#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "frontend/model/emulator_config.h"
#include "frontend/model/fds_loader_model.h"
#include "tests/frontend/model/scratch_folder.h"

namespace wrenfold {
namespace {

using testing::ScratchFolder;

// ---- Item reader ----

struct ItemCase {
  const char* name;
  std::string text;
  std::vector<std::string> items;
};

class ConfigItemReader : public ::testing::TestWithParam<ItemCase> {};

TEST_P(ConfigItemReader, SplitsItems) {
  ConfigItems read = ReadConfigItems(GetParam().text);
  EXPECT_EQ(read.status, ConfigStatus::Ok);
  EXPECT_EQ(read.items, GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConfigItemReader,
    ::testing::Values(
        ItemCase{"CrLfLines", "FPS=60\r\nBOOT=a.nes\r\n;\r\n", {"FPS=60", "BOOT=a.nes", ";"}},
        ItemCase{"LfAndCrLines", "A=1\nB=2\rC=3", {"A=1", "B=2", "C=3"}},
        ItemCase{"LeadingBlanksSkippedTrailingKept", "  \tIRQADJ= 0 \r\n", {"IRQADJ= 0 "}},
        ItemCase{"CommaEndsAnItem", "BOOT=Mario, The Game.nes\r\n", {"BOOT=Mario", "The Game.nes"}},
        ItemCase{"CommaAtLineEnd", "A,\r\nB\r\n", {"A", "", "B"}},
        ItemCase{"EmptyLineIsAnEmptyItem", "A\r\n\r\nB\r\n", {"A", "", "B"}},
        ItemCase{"QuotedItemKeepsCommas", "\"BOOT=a,b.nes\"\r\nX\r\n", {"BOOT=a,b.nes", "X"}},
        ItemCase{"TextAfterClosingQuoteDropped", "\"ab\"cd,ef\r\n", {"ab", "ef"}},
        ItemCase{"QuotedItemMaySpanLines", "\"a\r\nb\"\r\nc", {"a\r\nb", "c"}},
        ItemCase{"NoFinalLineEnd", "A=1", {"A=1"}}, ItemCase{"EmptyText", "", {}}),
    [](const ::testing::TestParamInfo<ItemCase>& info) { return info.param.name; });

TEST(ConfigItemReaderLimits, DamageAndOverflowAreReported) {
  ConfigItems unclosed = ReadConfigItems("A\r\n\"B\r\nC\r\n");
  EXPECT_EQ(unclosed.status, ConfigStatus::Damaged);
  EXPECT_EQ(unclosed.items, std::vector<std::string>{"A"});

  EXPECT_EQ(ReadConfigItems(std::string("A\r\nB\0C\r\n", 8)).status, ConfigStatus::Damaged);

  ConfigItems full = ReadConfigItems("1\r\n2\r\n3\r\n", 3);
  EXPECT_EQ(full.status, ConfigStatus::Ok);
  ConfigItems over = ReadConfigItems("1\r\n2\r\n3\r\n4\r\n", 3);
  EXPECT_EQ(over.status, ConfigStatus::TooManyItems);
  EXPECT_EQ(over.items.size(), 3u);
}

// ---- Patching ----

LaunchRequest Request() {
  LaunchRequest request;
  request.bootFile = "Zelda.nes";
  request.romDirectoryText = "/home/user/roms/";
  request.irqAdjustCaption = "0";
  request.displayDeviceId = "HDMI-1";
  return request;
}

std::string WrittenConfig() {
  ControlPanelSettings settings;
  settings.selectedRomFile = "Old.nes";
  settings.romDirectoryText = "/old";
  return FormatConfig(settings);
}

TEST(PatchConfigText, ReplacesTheFourKeysAndAppendsDisplayDevice) {
  PatchResult patched = PatchConfigText(WrittenConfig(), Request());
  ASSERT_EQ(patched.status, ConfigStatus::Ok);
  const std::string& text = patched.text;
  EXPECT_NE(text.find("\r\nBOOT=Zelda.nes\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nROMDIR=/home/user/roms\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nIRQADJ= 0\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Old.nes"), std::string::npos);
  EXPECT_EQ(text.find("/old"), std::string::npos);
  // The written file ends with WINDOWED=, then the appended DDEVICE= line, then ";".
  const std::string tail = "\r\nKEYSTART=28\r\nWINDOWED=No\r\nDDEVICE=HDMI-1\r\n;\r\n";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  // Line count: 35 lines + DDEVICE + ";".
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 37);
}

TEST(PatchConfigText, PatchingTwiceGivesTheSameFile) {
  PatchResult once = PatchConfigText(WrittenConfig(), Request());
  PatchResult twice = PatchConfigText(once.text, Request());
  EXPECT_EQ(once.text, twice.text);
}

struct IrqCase {
  const char* caption;
  const char* line;
};

class PatchIrqAdjust : public ::testing::TestWithParam<IrqCase> {};

TEST_P(PatchIrqAdjust, WritesTheCaptionWithItsSignPosition) {
  LaunchRequest request = Request();
  request.irqAdjustCaption = GetParam().caption;
  PatchResult patched = PatchConfigText("IRQADJ=-9\r\n;\r\n", request);
  EXPECT_EQ(patched.text.substr(0, patched.text.find("\r\n")), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Captions, PatchIrqAdjust,
                         ::testing::Values(IrqCase{"0", "IRQADJ= 0"}, IrqCase{" 0", "IRQADJ= 0"},
                                           IrqCase{" 1", "IRQADJ= 1"}, IrqCase{"-2", "IRQADJ=-2"}));

TEST(PatchConfigText, AppendsMissingKeysInOrderBeforeTheEnd) {
  PatchResult patched = PatchConfigText("FPS=60\r\nCOLOR=Yes\r\n;\r\n", Request());
  EXPECT_EQ(patched.text,
            "FPS=60\r\nCOLOR=Yes\r\nBOOT=Zelda.nes\r\nROMDIR=/home/user/roms\r\n"
            "IRQADJ= 0\r\nDDEVICE=HDMI-1\r\n;\r\n");
}

// The panel's core choice reaches the file at every start, in place or appended.
TEST(PatchConfigText, WritesTheChosenCoreWhenTheRequestNamesOne) {
  LaunchRequest request = Request();
  request.cpuCore = CpuCoreChoice::kFullCore;
  EXPECT_EQ(PatchConfigText("FPS=60\r\nCORE=ASM\r\n;\r\n", request).text,
            "FPS=60\r\nCORE=FULL\r\nBOOT=Zelda.nes\r\nROMDIR=/home/user/roms\r\n"
            "IRQADJ= 0\r\nDDEVICE=HDMI-1\r\n;\r\n");
  request.cpuCore = CpuCoreChoice::kReferenceCore;
  EXPECT_EQ(PatchConfigText("FPS=60\r\n;\r\n", request).text,
            "FPS=60\r\nBOOT=Zelda.nes\r\nROMDIR=/home/user/roms\r\nIRQADJ= 0\r\n"
            "DDEVICE=HDMI-1\r\nCORE=C\r\n;\r\n");
}

TEST(PatchConfigText, CommaInBootLeavesTheTailOnItsOwnLine) {
  PatchResult patched = PatchConfigText("BOOT=Mario, The Game.nes\r\n;\r\n", Request());
  EXPECT_EQ(patched.text.substr(0, patched.text.find("ROMDIR")),
            "BOOT=Zelda.nes\r\nThe Game.nes\r\n");
}

TEST(PatchConfigText, NewBootNameWithACommaIsWrittenWhole) {
  LaunchRequest request = Request();
  request.bootFile = "Mario, The Game.nes";
  PatchResult patched = PatchConfigText("BOOT=x\r\n;\r\n", request);
  EXPECT_EQ(patched.text.substr(0, patched.text.find("\r\n")), "BOOT=Mario, The Game.nes");
}

TEST(PatchConfigText, DropsEmptyAndEndMarkerItemsInside) {
  PatchResult patched = PatchConfigText("A=1\r\n;\r\n\r\nB=2\r\n;\r\n", Request());
  EXPECT_EQ(patched.text.substr(0, 10), "A=1\r\nB=2\r\n");
  EXPECT_EQ(std::count(patched.text.begin(), patched.text.end(), ';'), 1);
}

TEST(PatchConfigText, KeysAreCaseSensitive) {
  PatchResult patched = PatchConfigText("boot=a.nes\r\n;\r\n", Request());
  EXPECT_EQ(patched.text.substr(0, 12), "boot=a.nes\r\n");
  EXPECT_NE(patched.text.find("BOOT=Zelda.nes"), std::string::npos);
}

TEST(PatchConfigText, RefusesWhatItCannotWriteFaithfully) {
  EXPECT_EQ(PatchConfigText("\"open\r\n", Request()).status, ConfigStatus::Damaged);

  std::string large;
  for (size_t i = 0; i <= kConfigItemCapacity; ++i) large += "X=" + std::to_string(i) + "\r\n";
  EXPECT_EQ(PatchConfigText(large, Request()).status, ConfigStatus::TooManyItems);

  LaunchRequest injected = Request();
  injected.bootFile = "evil\nSOUND=None.nes";
  EXPECT_EQ(PatchConfigText("FPS=60\r\n;\r\n", injected).status, ConfigStatus::LineBreakInValue);
  injected = Request();
  injected.romDirectoryText = "/roms\r";
  EXPECT_EQ(PatchConfigText("FPS=60\r\n;\r\n", injected).status, ConfigStatus::LineBreakInValue);

  LaunchRequest noRom = Request();
  noRom.bootFile.clear();
  EXPECT_EQ(PatchConfigText("FPS=60\r\n;\r\n", noRom).status, ConfigStatus::NoRomSelected);
}

TEST(PatchConfigFile, WritesThePatchedText) {
  ScratchFolder folder;
  auto path = folder.Write("Wrenfold.CFG", WrittenConfig());
  ASSERT_EQ(PatchConfigFile(path, path, Request()), ConfigStatus::Ok);
  EXPECT_EQ(ScratchFolder::Read(path), PatchConfigText(WrittenConfig(), Request()).text);
  EXPECT_EQ(folder.EntryCount(), 1);
}

TEST(PatchConfigFile, ReadsOneNameAndWritesAnother) {
  ScratchFolder folder;
  EXPECT_EQ(ConfigFileToRead(folder.Path()), folder / "Wrenfold.CFG");
  auto lower = folder.Write("wrenfold.cfg", "FPS=60\r\n;\r\n");
  EXPECT_EQ(ConfigFileToRead(folder.Path()), lower);
  ASSERT_EQ(PatchConfigFile(ConfigFileToRead(folder.Path()), folder / "Wrenfold.CFG", Request()),
            ConfigStatus::Ok);
  EXPECT_EQ(ScratchFolder::Read(lower), "FPS=60\r\n;\r\n");
  EXPECT_NE(ScratchFolder::Read(folder / "Wrenfold.CFG").find("BOOT=Zelda.nes"), std::string::npos);
  EXPECT_EQ(ConfigFileToRead(folder.Path()), folder / "Wrenfold.CFG");
}

TEST(PatchConfigFile, FailuresLeaveTheFileAsItWas) {
  ScratchFolder folder;
  EXPECT_EQ(PatchConfigFile(folder / "Wrenfold.CFG", folder / "Wrenfold.CFG", Request()),
            ConfigStatus::Missing);
  EXPECT_EQ(folder.EntryCount(), 0);

  std::string large;
  for (size_t i = 0; i < kConfigItemCapacity + 5; ++i) large += "X=" + std::to_string(i) + "\r\n";
  auto path = folder.Write("Wrenfold.CFG", large);
  EXPECT_EQ(PatchConfigFile(path, path, Request()), ConfigStatus::TooManyItems);
  EXPECT_EQ(ScratchFolder::Read(path), large);

  folder.Write("Wrenfold.CFG", "FPS=60\r\n;\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_EQ(PatchConfigFile(path, path, Request()), ConfigStatus::WriteFailed);
  EXPECT_EQ(ScratchFolder::Read(path), "FPS=60\r\n;\r\n");
  EXPECT_EQ(folder.EntryCount(), 1);
}

// ---- FDS loader ----

TEST(FdsLoader, ListsDiskImagesOfAnyCaseInNameOrder) {
  ScratchFolder folder;
  folder.Write("b.FDS", "x");
  folder.Write("a.fds", "x");
  folder.Write("c.nes", "x");
  folder.Write("fds", "x");
  std::filesystem::create_directory(folder / "dir.fds");
  EXPECT_EQ(ListFdsImages(folder.Path()), (std::vector<std::string>{"a.fds", "b.FDS"}));

  ScratchFolder empty;
  EXPECT_TRUE(ListFdsImages(empty.Path()).empty());
}

TEST(FdsLoader, StartsOnlyWithASelectedImage) {
  EXPECT_FALSE(FdsLaunchRequest("", Request()).has_value());
  std::optional<LaunchRequest> request = FdsLaunchRequest("Zelda no Densetsu.fds", Request());
  ASSERT_TRUE(request.has_value());
  PatchResult patched = PatchConfigText("FPS=60\r\n;\r\n", *request);
  EXPECT_NE(patched.text.find("\r\nBOOT=Zelda no Densetsu.fds\r\nROMDIR=/home/user/roms\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace wrenfold
