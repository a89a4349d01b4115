// Save states through the keys: the slot files beside the ROM, a load that brings back the
// whole machine on every board we have cartridges for, refused files that change nothing, and
// a failed save that keeps the slot's previous state.
#include "emulator/host/save_states.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "emulator/host/save_file_paths.h"
#include "tests/emulator/host/save_file_fixture.h"

namespace wrenfold {
namespace {

namespace fs = std::filesystem;
using test::SaveFileTest;

TEST_F(SaveFileTest, F5SavesTheChosenSlotAndF7BringsTheMachineBack) {
  Begin();
  Frames(10);
  Tap(kDik3);
  Tap(kDikF5);
  Frame();
  const std::string slot = FileText("game.SV3");
  EXPECT_EQ(slot.size(), kStateSize);
  EXPECT_NE(Log().find("Save state: " + Beside("game.SV3").string() + "\n"), std::string::npos);
  const StateBytes afterSave = Encoded();

  Frames(7);
  ASSERT_NE(Encoded(), afterSave);
  Tap(kDikF7);
  Frame();
  EXPECT_EQ(Encoded(), afterSave);
  EXPECT_NE(Log().find("Load state: " + Beside("game.SV3").string() + "\n"), std::string::npos);
  EXPECT_EQ(FileText("game.SV3"), slot) << "a load never writes the slot";
}

TEST_F(SaveFileTest, EachSlotKeyNamesItsOwnFile) {
  Begin();
  const uint8_t keys[] = {kDik0, kDik1, kDik2, kDik3, kDik4, kDik5, kDik6, kDik7, kDik8, kDik9};
  for (int slot = 0; slot < 10; ++slot) {
    Tap(keys[slot]);
    Tap(kDikF5);
    Frame();
    EXPECT_EQ(FileText("game.SV" + std::to_string(slot)).size(), kStateSize) << slot;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator{}), 12)
      << "game.nes, the log and ten slots, no temporary file left";
}

// --- Whole-machine round trips on real cartridges ---

// The record with the parts a state does not hold cleared: the bank caches (emptied by a
// load), the NMI count and the sound mixer's change flags.
std::unique_ptr<MachineState> StatePart(const MachineState& machine) {
  auto copy = std::make_unique<MachineState>(machine);
  std::memset(copy->prgBankCache, 0, sizeof copy->prgBankCache);
  std::memset(copy->chrBankCache, 0, sizeof copy->chrBankCache);
  copy->frameCounter = 0;
  copy->apuFlags = ApuWriteFlags{};
  return copy;
}

// The first record offset where the two differ, or -1.
long FirstDifference(const MachineState& a, const MachineState& b) {
  const auto* x = reinterpret_cast<const uint8_t*>(&a);
  const auto* y = reinterpret_cast<const uint8_t*>(&b);
  for (std::size_t i = 0; i < sizeof(MachineState); ++i) {
    if (x[i] != y[i]) return static_cast<long>(i);
  }
  return -1;
}

struct Cartridge {
  const char* name;
  const char* path;  // under the build's bin folder, or under the shared folder
  bool shared;
};

void PrintTo(const Cartridge& cartridge, std::ostream* out) {
  *out << cartridge.path;
}

const Cartridge kCartridges[] = {
    {"Nrom", "roms/wrenfold_demo.nes", false},
    {"Unrom", "roms/wrenfold_banks.nes", false},
    {"Vrc6", "roms/wrenfold_vrc6.nes", false},
    {"Namco106", "roms/wrenfold_namco.nes", false},
    {"Cnrom", "testroms/games/espitene.nes", true},
    {"Mmc1", "testroms/games/minekart_madness_mmc1.nes", true},
    {"Mmc3", "testroms/games/cybercoaster.nes", true},
    {"Mmc3WithIrqSplit", "testroms/bench/BladeBuster.nes", true},
};

class CartridgeRoundTripTest : public SaveFileTest,
                               public ::testing::WithParamInterface<Cartridge> {
 protected:
  // Frames relative to the save or the load: Right held, with A pressed in the middle.
  void PlayPattern(int relative) {
    if (relative == 5) Hold(kDikRight, true);
    if (relative == 8) Hold(kDikX, true);
    if (relative == 11) Hold(kDikX, false);
    if (relative == 20) Hold(kDikRight, false);
  }
};

TEST_P(CartridgeRoundTripTest, TheFramesAfterALoadRepeatTheFramesAfterTheSave) {
  const Cartridge& cartridge = GetParam();
  const fs::path rom =
      fs::path(cartridge.shared ? WRENFOLD_SHARED_DIR : WRENFOLD_BIN_DIR) / cartridge.path;
  if (!fs::exists(rom)) GTEST_SKIP() << rom << " is not there";
  Configure(test::kKeyboardConfig, test::ReadFile(rom));
  if (StartEmulator(*machine, *host, *sound, services.platform) != StartUpResult::kReady) {
    GTEST_SKIP() << cartridge.name << ": this board does not run yet";
  }
  BeginRun(*machine, *host);
  constexpr int kCompared = 30;
  // Into the game: Start pressed once, then time to settle.
  Frames(60);
  Hold(kDikReturn, true);
  Frames(3);
  Hold(kDikReturn, false);
  Frames(57);

  Tap(kDik3);
  Tap(kDikF5);
  std::vector<std::unique_ptr<MachineState>> afterSave;
  std::vector<uint64_t> picturesAfterSave;
  for (int relative = 0; relative < kCompared; ++relative) {
    PlayPattern(relative);
    Frame();
    afterSave.push_back(StatePart(*machine));
    picturesAfterSave.push_back(PictureHash());
  }
  // Somewhere else entirely before the load.
  Hold(kDikLeft, true);
  Hold(kDikZ, true);
  Frames(40);
  Hold(kDikLeft, false);
  Hold(kDikZ, false);
  Frames(2);

  Tap(kDikF7);
  for (int relative = 0; relative < kCompared; ++relative) {
    PlayPattern(relative);
    Frame();
    const long difference = FirstDifference(*StatePart(*machine), *afterSave[relative]);
    ASSERT_EQ(difference, -1) << "frame " << relative << " after the load differs at record offset "
                              << difference;
    // The load's own frame began drawing with the old backdrop; the ones after it are whole.
    if (relative > 0) {
      EXPECT_EQ(PictureHash(), picturesAfterSave[relative]) << relative;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Boards, CartridgeRoundTripTest, ::testing::ValuesIn(kCartridges),
                         [](const ::testing::TestParamInfo<Cartridge>& info) {
                           return std::string(info.param.name);
                         });

// --- Refused files ---

struct BadSlotCase {
  const char* name;
  // Writes game.SV4 from a good state of the running game.
  void (*make)(const fs::path& slot, const std::string& good);
  const char* reason;
};

void PrintTo(const BadSlotCase& c, std::ostream* out) {
  *out << c.name;
}

const BadSlotCase kBadSlots[] = {
    {"Missing", [](const fs::path&, const std::string&) {}, "no such file"},
    {"Truncated",
     [](const fs::path& slot, const std::string& good) {
       test::WriteFile(slot, good.substr(0, good.size() - 1));
     },
     "shorter than a save state"},
    {"Empty", [](const fs::path& slot, const std::string&) { test::WriteFile(slot, ""); },
     "shorter than a save state"},
    {"Extended",
     [](const fs::path& slot, const std::string& good) { test::WriteFile(slot, good + "x"); },
     "longer than a save state"},
    {"Random",
     [](const fs::path& slot, const std::string& good) {
       std::string noise(good.size(), '\0');
       for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 131 + 7);
       test::WriteFile(slot, noise);
     },
     "not a save state"},
    {"OtherGame",
     [](const fs::path& slot, const std::string& good) {
       std::string other = good;
       other[state_layout::kRomFingerprint.offset] ^= 1;
       test::WriteFile(slot, other);
     },
     "made with another cartridge"},
    {"Folder", [](const fs::path& slot, const std::string&) { fs::create_directory(slot); },
     "cannot read the file"},
};

class BadSlotTest : public SaveFileTest, public ::testing::WithParamInterface<BadSlotCase> {};

TEST_P(BadSlotTest, IsRefusedWithItsReasonAndTheMachineStaysAsItWas) {
  Begin();
  Frames(5);
  const fs::path slot = Beside("game.SV4");
  ASSERT_TRUE(SaveState(*machine, slot, host->settings.romPath));
  const std::string good = test::ReadFile(slot);
  fs::remove(slot);
  GetParam().make(slot, good);
  Frames(3);

  const auto before = std::make_unique<MachineState>(*machine);
  EXPECT_FALSE(LoadState(*machine, slot));
  EXPECT_EQ(std::memcmp(before.get(), machine.get(), sizeof(MachineState)), 0);
  EXPECT_TRUE(
      Log().ends_with("Load state refused: " + slot.string() + " (" + GetParam().reason + ")\n"))
      << Log();
}

INSTANTIATE_TEST_SUITE_P(Files, BadSlotTest, ::testing::ValuesIn(kBadSlots),
                         [](const ::testing::TestParamInfo<BadSlotCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(SaveFileTest, AStateOfAnotherCartridgeOnTheSameBoardIsRefused) {
  Begin(test::NromImage(test::SpinAt(test::kResetAddress)));
  ASSERT_TRUE(SaveState(*machine, Beside("other.SV0"), host->settings.romPath));
  ReleaseAll(*host);
  machine = std::make_unique<MachineState>();
  host = std::make_unique<HostState>();
  Begin();  // the same board and bank counts, another program
  const auto before = std::make_unique<MachineState>(*machine);
  EXPECT_FALSE(LoadState(*machine, Beside("other.SV0")));
  EXPECT_EQ(std::memcmp(before.get(), machine.get(), sizeof(MachineState)), 0);
  EXPECT_NE(Log().find("(made with another cartridge)"), std::string::npos);
}

// --- Writing ---

// Writes beyond `limit` bytes fail in this process, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &saved);
    previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved;
    lowered.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);
  }

 private:
  rlimit saved{};
  sighandler_t previousHandler = SIG_DFL;
};

TEST_F(SaveFileTest, AFailedSaveKeepsTheSlotsPreviousState) {
  Begin();
  Tap(kDik6);
  Tap(kDikF5);
  Frame();
  const std::string previous = FileText("game.SV6");
  ASSERT_EQ(previous.size(), kStateSize);
  Frames(4);
  {
    const FileSizeLimit full(4096);
    Tap(kDikF5);
    Frame();
  }
  EXPECT_EQ(FileText("game.SV6"), previous);
  EXPECT_TRUE(Log().ends_with("Save state failed: " + Beside("game.SV6").string() +
                              " (cannot write the file)\n"))
      << Log();
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator{}), 3)
      << "the temporary file is removed";
}

TEST_F(SaveFileTest, TheRomImageItselfIsNeverWrittenOver) {
  test::WriteFile(Beside("game.SV2"), test::CountingImage());
  Configure(test::kKeyboardConfig, test::CountingImage());
  host->settings.romFileName = "game.SV2";
  BuildRomPath(host->settings);
  ASSERT_EQ(StartEmulator(*machine, *host, *sound, services.platform), StartUpResult::kReady);
  BeginRun(*machine, *host);
  Tap(kDik2);
  Tap(kDikF5);
  Tap(kDikF1);
  Frame();
  EXPECT_EQ(FileText("game.SV2"), test::CountingImage());
  EXPECT_NE(Log().find("Save state failed: " + Beside("game.SV2").string() +
                       " (the cartridge's own file)\n"),
            std::string::npos)
      << Log();
}

// --- File names ---

struct NameCase {
  const char* romPath;
  const char* expected;  // with "SV3" at the extension
};

TEST(SaveFilePathsTest, TheSlotNameReplacesTheLastThreeCharacters) {
  const NameCase cases[] = {
      {"/roms/game.nes", "/roms/game.SV3"},
      {"/roms/Game.NES", "/roms/Game.SV3"},
      {"/roms/mario", "/roms/maSV3"},  // no extension: its last three characters
      {"/roms/a.b/game.nes", "/roms/a.b/game.SV3"},
      {"/roms/ab", "/roms/ab.SV3"},  // too short: never into the folder part
      {"/r/x", "/r/x.SV3"},
  };
  for (const NameCase& c : cases) {
    const std::string rom = c.romPath;
    EXPECT_EQ(ExtensionFileName(rom, static_cast<int32_t>(rom.size()) - 3, "SV3"), c.expected)
        << rom;
  }
}

TEST(SaveFilePathsTest, AFileThatDiffersOnlyInCaseIsUsed) {
  test::TempFolder folder;
  const std::string rom = (folder.path() / "game.nes").string();
  const auto index = static_cast<int32_t>(rom.size() - 3);
  EXPECT_EQ(SlotFilePath(rom, index, 7), folder.path() / "game.SV7");
  EXPECT_EQ(BatteryFilePath(rom), folder.path() / "game.sav");
  test::WriteFile(folder.path() / "game.sv7", "x");
  test::WriteFile(folder.path() / "GAME.SAV", "x");
  test::WriteFile(folder.path() / "game.mov", "x");
  EXPECT_EQ(SlotFilePath(rom, index, 7), folder.path() / "game.sv7");
  EXPECT_EQ(BatteryFilePath(rom), folder.path() / "GAME.SAV");
  EXPECT_EQ(MovieFilePath(rom, index), folder.path() / "game.mov");
}

}  // namespace
}  // namespace wrenfold
