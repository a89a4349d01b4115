// Every file the emulator reads by a name the user controls, replaced by a FIFO, a link to an
// endless device, a folder or a link to nothing: each reader gives its usual refusal at once
// and leaves the machine as it was; the program itself ends with its usual failure.
#include "tests/files/special_files.h"

#include <gtest/gtest.h>

#include <cstring>

#include "emulator/cart/rom_loader.h"
#include "emulator/host/battery_ram.h"
#include "emulator/host/movie.h"
#include "emulator/host/rom_diagnosis.h"
#include "emulator/host/save_states.h"
#include "tests/emulator/host/headless_host.h"
#include "tests/emulator/host/save_file_fixture.h"

namespace wrenfold {
namespace {

using namespace std::chrono_literals;
using test::SpecialFile;

class EmulatorSpecialFileTest : public test::SaveFileTest,
                                public ::testing::WithParamInterface<SpecialFile> {
 protected:
  // A running battery cartridge, and the special file at `name` beside it.
  std::filesystem::path Prepare(std::string_view name) {
    Begin(test::CountingImage(test::kBatteryBit));
    const std::filesystem::path path = Beside(name);
    EXPECT_TRUE(test::MakeSpecialFile(path, GetParam()));
    Frames(3);
    before = Encoded();
    return path;
  }

  bool MachineUnchanged() const { return Encoded() == before; }

  StateBytes before{};
};

TEST_P(EmulatorSpecialFileTest, TheConfigurationGivesTheDefaults) {
  const std::filesystem::path path = Beside("Wrenfold.CFG");
  ASSERT_TRUE(test::MakeSpecialFile(path, GetParam()));
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    HostSettings settings;
    return !ReadHostSettings(path, settings) && settings == HostSettings{};
  }));
}

TEST_P(EmulatorSpecialFileTest, TheCartridgeIsNotOpened) {
  const std::filesystem::path path = Beside("game2.nes");
  ASSERT_TRUE(test::MakeSpecialFile(path, GetParam()));
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    return LoadRomImage(*machine, path.c_str()) == kRomOpenFailed &&
           !DiagnoseRomImage(path.string()).empty();
  }));
}

TEST_P(EmulatorSpecialFileTest, SaveStatesMoviesAndBatteryRamAreRefused) {
  const std::filesystem::path state = Prepare("game.SV1");
  const std::filesystem::path movie = Beside("game.MOV");
  const std::filesystem::path battery = Beside("game.sav");
  ASSERT_TRUE(test::MakeSpecialFile(movie, GetParam()));
  ASSERT_TRUE(test::MakeSpecialFile(battery, GetParam()));
  EXPECT_TRUE(test::EndsWithin(2s, [&] { return !LoadState(*machine, state); }));
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    MovieState movieState;
    return !StartPlayback(*machine, movieState, movie) && !IsPlaying(movieState);
  }));
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    BatteryRam ram;
    ram.path = battery;
    ram.writeBack = true;
    LoadBatteryRam(*machine, ram);
    // A special file that is there is kept, never replaced by the cartridge's RAM.
    const bool exists = GetParam() != SpecialFile::kDanglingLink;
    return ram.writeBack != exists;
  }));
  // The refusals ran in child processes; here the same calls must leave the machine alone.
  LoadState(*machine, state);
  MovieState movieState;
  StartPlayback(*machine, movieState, movie);
  EXPECT_TRUE(MachineUnchanged());
}

INSTANTIATE_TEST_SUITE_P(Kinds, EmulatorSpecialFileTest, ::testing::ValuesIn(test::kSpecialFiles),
                         [](const auto& info) { return test::SpecialFileName(info.param); });

}  // namespace
}  // namespace wrenfold
