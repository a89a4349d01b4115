#include "emulator/host/screenshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "emulator/host/frame_driver.h"
#include "emulator/host/run_loop.h"
#include "platform/dik_codes.h"
#include "tests/emulator/host/headless_host.h"

namespace wrenfold {
namespace {

namespace fs = std::filesystem;

TEST(ScreenshotFileNameTest, GameNameDateAndTime) {
  std::tm moment{};
  moment.tm_year = 124;  // 2024
  moment.tm_mon = 0;
  moment.tm_mday = 2;
  moment.tm_hour = 3;
  moment.tm_min = 4;
  moment.tm_sec = 5;
  EXPECT_EQ(ScreenshotFileName("/roms/Super Game.nes", moment, 1),
            "Super Game_2024-01-02_03-04-05.png");
  EXPECT_EQ(ScreenshotFileName("/roms/Super Game.nes", moment, 3),
            "Super Game_2024-01-02_03-04-05_3.png");
  EXPECT_EQ(ScreenshotFileName("/roms/.hidden", moment, 1), ".hidden_2024-01-02_03-04-05.png");
  EXPECT_EQ(ScreenshotFileName("plain", moment, 1), "plain_2024-01-02_03-04-05.png");
  EXPECT_EQ(ScreenshotFileName("", moment, 1), "wrenfold_2024-01-02_03-04-05.png");
}

// The PNG's width and height from its IHDR chunk.
std::pair<uint32_t, uint32_t> PngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  auto be32 = [&](std::size_t at) {
    return uint32_t{static_cast<uint8_t>(bytes[at])} << 24 |
           uint32_t{static_cast<uint8_t>(bytes[at + 1])} << 16 |
           uint32_t{static_cast<uint8_t>(bytes[at + 2])} << 8 | static_cast<uint8_t>(bytes[at + 3]);
  };
  return {be32(16), be32(20)};
}

class ScreenshotKeyTest : public test::HeadlessHostTest {
 protected:
  std::vector<fs::path> Pictures() const {
    std::vector<fs::path> found;
    if (!fs::exists(folder.path() / kScreenshotFolder)) return found;
    for (const auto& entry : fs::directory_iterator(folder.path() / kScreenshotFolder))
      found.push_back(entry.path());
    return found;
  }
};

// F12 writes the picture as shown, at natural or double size, under a new name each time,
// and logs the file name.
TEST_F(ScreenshotKeyTest, F12SavesThePictureAreaAndLogsItsName) {
  const test::WorkingFolderGuard inFolder(folder.path());
  for (const bool doubleSize : {false, true}) {
    fs::remove_all(folder.path() / kScreenshotFolder);
    ASSERT_EQ(Start(doubleSize ? "SOUND=None\n2XMODE=Yes\n" : "SOUND=None\n"),
              StartUpResult::kReady);
    BeginRun(*machine, *host);
    RunFrame(*machine, *host, 0);
    for (int press = 0; press < 2; ++press) {
      services.input.PressKey(kDikF12);
      services.input.ReleaseKey(kDikF12);
      RunFrame(*machine, *host, 0);
    }
    const std::vector<fs::path> pictures = Pictures();
    ASSERT_EQ(pictures.size(), 2u);
    for (const fs::path& picture : pictures) {
      EXPECT_TRUE(picture.filename().string().starts_with("game_")) << picture;
      EXPECT_EQ(picture.extension(), ".png");
      const auto [width, height] = PngSize(test::ReadFile(picture));
      EXPECT_EQ(width, doubleSize ? 512u : 256u);
      EXPECT_EQ(height, doubleSize ? 480u : 240u);
      EXPECT_NE(Log().find("Screenshot: Screenshots/" + picture.filename().string() + "\n"),
                std::string::npos)
          << Log();
    }
    ReleaseAll(*host);
  }
}

TEST_F(ScreenshotKeyTest, UnwritableFolderIsLoggedAndNothingElseHappens) {
  const test::WorkingFolderGuard inFolder(folder.path());
  test::WriteFile(folder.path() / kScreenshotFolder, "a file where the folder should be");
  ASSERT_EQ(Start("SOUND=None\n"), StartUpResult::kReady);
  BeginRun(*machine, *host);
  HandleHotKey(*machine, *host, KeyEvent{kDikF12, kKeyPressed});
  EXPECT_NE(Log().find("Screenshot failed: Screenshots: "), std::string::npos) << Log();
  EXPECT_FALSE(host->run.exitRequested);
}

}  // namespace
}  // namespace wrenfold
