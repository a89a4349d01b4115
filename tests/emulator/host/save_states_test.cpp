// Save states through the keys: the slot files beside the ROM, a load that brings back the
// whole machine on every board we have cartridges for, every kind of bad file refused with the
// machine unchanged, and a failed save that keeps the slot's previous state.
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
#include "emulator/machine_state/state_layout.h"
#include "tests/emulator/host/save_file_fixture.h"

namespace wrenfold {
namespace {

namespace fs = std::filesystem;
using test::SaveFileTest;

TEST_F(SaveFileTest, EachSlotKeyHasItsFileAndF7BringsTheSavedMachineBack) {
  Begin();
  const uint8_t keys[] = {kDik0, kDik1, kDik2, kDik3, kDik4, kDik5, kDik6, kDik7, kDik8, kDik9};
  std::vector<StateBytes> afterSave;
  for (int slot = 0; slot < 10; ++slot) {
    Tap(keys[slot]);
    Tap(kDikF5);
    Frame();
    afterSave.push_back(Encoded());
    const std::string name = "game.SV" + std::to_string(slot);
    EXPECT_EQ(FileText(name).size(), kStateSize);
    EXPECT_TRUE(Log().ends_with("Save state: " + Beside(name).string() + "\n")) << Log();
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator{}), 12)
      << "game.nes, the log and ten slots, no temporary file left";

  Frames(7);
  Tap(kDik3);
  Tap(kDikF7);
  Frame();
  EXPECT_EQ(Encoded(), afterSave[3]);
  EXPECT_TRUE(Log().ends_with("Load state: " + Beside("game.SV3").string() + "\n")) << Log();
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
  // Spoils game.SV4, which holds a good state of the running game (or the running game).
  void (*spoil)(const fs::path& slot, std::string& bytes, MachineState& running);
  const char* reason;
};

void PrintTo(const BadSlotCase& c, std::ostream* out) {
  *out << c.name;
}

void Put32(std::string& bytes, StateField field, uint32_t value) {
  PutLittleEndian(reinterpret_cast<uint8_t*>(bytes.data()) + field.offset, value);
}

const BadSlotCase kBadSlots[] = {
    {"Missing", [](const fs::path& slot, auto&, auto&) { fs::remove(slot); }, "no such file"},
    {"Folder",
     [](const fs::path& slot, auto&, auto&) {
       fs::remove(slot);
       fs::create_directory(slot);
     },
     "cannot read the file"},
    {"Empty", [](auto&, std::string& bytes, auto&) { bytes.clear(); }, "shorter than a save state"},
    {"OneByteShort", [](auto&, std::string& bytes, auto&) { bytes.pop_back(); },
     "shorter than a save state"},
    {"OneByteLong", [](auto&, std::string& bytes, auto&) { bytes += 'x'; },
     "longer than a save state"},
    {"Noise",
     [](auto&, std::string& bytes, auto&) {
       for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 131 + 7);
     },
     "not a save state"},
    {"OtherBoard", [](auto&, std::string& bytes, auto&) { bytes[27] = 2; },
     "made with another cartridge"},
    {"OtherPrgBanks",
     [](auto&, std::string& bytes, auto&) { Put32(bytes, state_layout::kPrgBankCount, 2); },
     "made with another cartridge"},
    {"OtherChrBanks",
     [](auto&, std::string& bytes, auto&) { Put32(bytes, state_layout::kChrBankCount, 0); },
     "made with another cartridge"},
    {"OtherGameOnTheSameBoard",
     [](auto&, auto&, MachineState& running) { running.prgRom[0x10] ^= 1; },
     "made with another cartridge"},
    {"MirroringFlagTwo",
     [](auto&, std::string& bytes, auto&) { Put32(bytes, state_layout::kMirrorVertical, 2); },
     "damaged"},
    {"FourScreenFlagHighBit",
     [](auto&, std::string& bytes, auto&) { Put32(bytes, state_layout::kFourScreen, 0x80000000u); },
     "damaged"},
};

class BadSlotTest : public SaveFileTest, public ::testing::WithParamInterface<BadSlotCase> {};

TEST_P(BadSlotTest, IsRefusedWithItsReasonAndTheMachineStaysAsItWas) {
  Begin();
  Frames(5);
  const fs::path slot = Beside("game.SV4");
  ASSERT_TRUE(SaveState(*machine, slot, host->settings.romPath));
  std::string bytes = test::ReadFile(slot);
  GetParam().spoil(slot, bytes, *machine);
  if (fs::is_regular_file(slot)) test::WriteFile(slot, bytes);
  Frames(3);  // so a load that touched the machine would show

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
  // As for a ROM named game.SV2 (slot 2) or game.MOV.
  Begin();
  EXPECT_FALSE(SaveState(*machine, Beside("game.nes"), host->settings.romPath));
  EXPECT_FALSE(
      StartRecording(*machine, host->saveFiles.movie, Beside("game.nes"), host->settings.romPath));
  EXPECT_EQ(FileText("game.nes"), test::CountingImage());
  EXPECT_NE(Log().find("Save state failed: " + Beside("game.nes").string() +
                       " (the cartridge's own file)\n"),
            std::string::npos);
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
