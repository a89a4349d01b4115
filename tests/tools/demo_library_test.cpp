// The built demo library (build/demo_library, target demo_library): its databases must name both
// of our cartridges, as cartdesk and cartdesk-db identify them, and every screenshot the
// encyclopedia entries point at must be there as a screen-sized GIF.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "frontend/model/encyclopedia_db.h"
#include "frontend/model/recognition_db.h"
#include "frontend/model/rom_identification.h"
#include "frontend/model/rom_list.h"
#include "frontend/model/rom_signature.h"
#include "frontend/model/screenshot_path.h"
#include "tests/tools/gif_file_reader.h"
#include "tests/tools/headless_process.h"

namespace wrenfold {
namespace {

namespace fs = std::filesystem;

const std::map<std::string, std::string> kEnglishNameOfFile = {
    {"wrenfold_demo.nes", "Wrenfold: The Meadow Run"},
    {"wrenfold_banks.nes", "Wrenfold Bank Tour"},
};

class DemoLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::is_directory(folder)) << folder << " is missing: build target demo_library";
    ASSERT_EQ(LoadRecognitionDb(folder / kRecognitionDbFileName, recognition).error,
              DataFileError::kNone);
    ASSERT_EQ(LoadEncyclopediaDb(folder / kEncyclopediaDbFileName, encyclopedia).error,
              DataFileError::kNone);
    ASSERT_EQ(LinkEncyclopediaEntries(encyclopedia, recognition.records), 0)
        << "an encyclopedia entry links a record that does not exist";
  }

  const fs::path folder = fs::path(WRENFOLD_BIN_DIR).parent_path() / "demo_library";
  RecognitionDb recognition;
  EncyclopediaDb encyclopedia;
};

TEST_F(DemoLibrary, IdentifiesBothCartridgesByTheirNames) {
  const RomList list =
      BuildRomList(folder, RecognitionIndex(recognition.records), InProcessCalcCrc);
  ASSERT_EQ(list.entries.size(), kEnglishNameOfFile.size());
  EXPECT_EQ(list.unknownCount, 0);
  for (const RomListEntry& entry : list.entries) {
    SCOPED_TRACE(entry.fileName);
    ASSERT_TRUE(entry.HasMatch());
    const RecognitionRecord& record = recognition.records[static_cast<size_t>(entry.recordIndex)];
    EXPECT_EQ(record.englishName.utf8, kEnglishNameOfFile.at(entry.fileName));
    EXPECT_FALSE(record.chineseName.utf8.empty());
    EXPECT_NE(record.encyclopediaIndex, 0) << "no encyclopedia entry";
  }
}

TEST_F(DemoLibrary, CartdeskDbCallsBothCartridgesKnown) {
  const fs::path tool = fs::path(WRENFOLD_BIN_DIR) / "cartdesk-db";
  const runner_test::ProcessResult run = runner_test::RunProgram(
      tool.string(), {"identify", folder.string(), "--db", folder.string()});
  ASSERT_TRUE(run.exited) << run.err;
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  for (const auto& [file, englishName] : kEnglishNameOfFile)
    EXPECT_NE(run.out.find(file + "\tknown\t" + englishName + "\t"), std::string::npos) << run.out;
}

TEST_F(DemoLibrary, EveryEntryHasBothScreenshotsAsScreenSizedGifs) {
  ASSERT_EQ(encyclopedia.entries.size(), kEnglishNameOfFile.size());
  for (int entry = 1; entry <= static_cast<int>(encyclopedia.entries.size()); ++entry) {
    std::vector<uint8_t> firstPicture;
    for (const char letter : {'A', 'B'}) {
      SCOPED_TRACE(ScreenshotDosPath(entry, letter));
      const std::optional<fs::path> path = FindScreenshot(folder, entry, letter);
      ASSERT_TRUE(path) << "the screenshot is missing";
      // The exact name, so that no case-insensitive search is needed on any system.
      EXPECT_EQ(*path, folder / PathFromDosRelative(ScreenshotDosPath(entry, letter)));
      const gif_test::GifPicture gif = gif_test::ReadGif(*path);
      ASSERT_EQ(gif.error, "");
      EXPECT_EQ(gif.screenWidth, 256);
      EXPECT_EQ(gif.screenHeight, 240);
      ASSERT_EQ(gif.rgb.size(), 256u * 240u * 3u);
      // "Another" must show another moment of the game.
      if (letter == 'A')
        firstPicture = gif.rgb;
      else
        EXPECT_NE(gif.rgb, firstPicture) << "both screenshots show the same picture";
    }
  }
}

TEST_F(DemoLibrary, HoldsNoScreenshotThatNoEntryShows) {
  std::set<fs::path> shown;
  for (int entry = 1; entry <= static_cast<int>(encyclopedia.entries.size()); ++entry)
    for (const char letter : {'A', 'B'})
      shown.insert(folder / PathFromDosRelative(ScreenshotDosPath(entry, letter)));
  for (const auto& file : fs::directory_iterator(folder / "ScrShots"))
    EXPECT_TRUE(shown.contains(file.path())) << file.path() << " belongs to no entry";
}

}  // namespace
}  // namespace wrenfold
