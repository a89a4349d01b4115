// The build makes everything it is meant to: a program for every folder of app/ (named like the
// folder with '-' for '_'), the checksum library, and a cartridge for every cartridge folder of
// roms/. A build file that drops one of them fails here rather than in a user's hands.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace wrenfold {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = WRENFOLD_SOURCE_DIR;
const fs::path kBinDir = WRENFOLD_BIN_DIR;

std::vector<std::string> SubfolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool IsExecutableFile(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IXUSR);
}

TEST(DeliverablesTest, EveryProgramOfAppIsBuiltBesideTheChecksumLibrary) {
  const std::vector<std::string> programs = SubfolderNames(kSourceDir / "app");
  // The two programs the user runs are among them, whatever else app/ holds.
  for (const char* required : {"wrenfold", "cartdesk"}) {
    EXPECT_NE(std::find(programs.begin(), programs.end(), required), programs.end()) << required;
  }
  for (std::string name : programs) {
    std::replace(name.begin(), name.end(), '_', '-');
    EXPECT_TRUE(IsExecutableFile(kBinDir / name)) << name << " is not built into " << kBinDir;
  }
  EXPECT_TRUE(fs::is_regular_file(kBinDir / "libsumtab20.so"));
}

TEST(DeliverablesTest, EveryCartridgeFolderIsAssembledIntoAnImage) {
  int cartridges = 0;
  for (const std::string& folder : SubfolderNames(kSourceDir / "roms")) {
    if (folder == "common") continue;  // shared sources, not a cartridge
    ++cartridges;
    const fs::path image = kBinDir / "roms" / ("wrenfold_" + folder + ".nes");
    EXPECT_TRUE(fs::is_regular_file(image)) << image << " is not built";
  }
  EXPECT_GT(cartridges, 0);
}

}  // namespace
}  // namespace wrenfold
