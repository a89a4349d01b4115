// Every file the front-end reads by a name the user controls, replaced by a FIFO, a link to an
// endless device, a folder or a link to nothing: each reader gives its usual refusal at once,
// and the header repair never opens such a file for writing.
#include "tests/files/special_files.h"

#include <gtest/gtest.h>

#include "frontend/model/emulator_config.h"
#include "frontend/model/encyclopedia_db.h"
#include "frontend/model/header_repair.h"
#include "frontend/model/personal_settings.h"
#include "frontend/model/recognition_db.h"
#include "frontend/model/rom_signature.h"
#include "tests/frontend/model/scratch_folder.h"

namespace wrenfold {
namespace {

using namespace std::chrono_literals;
using test::SpecialFile;

class FrontEndSpecialFileTest : public ::testing::TestWithParam<SpecialFile> {
 protected:
  std::filesystem::path Make(std::string_view name) const {
    const std::filesystem::path path = folder / name;
    EXPECT_TRUE(test::MakeSpecialFile(path, GetParam()));
    return path;
  }

  testing::ScratchFolder folder;
};

TEST_P(FrontEndSpecialFileTest, ConfigurationAndPersonalSettingsAreRefused) {
  const std::filesystem::path config = Make("Wrenfold.CFG");
  Make("Wrenfold.PER");
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    const StartupConfig read = LoadStartupConfig(config, "/roms");
    return read.status != ConfigStatus::Ok && read.settings.romDirectoryText == "/roms";
  }));
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    LaunchRequest request;
    request.bootFile = "game.nes";
    return PatchConfigFile(config, config, request) != ConfigStatus::Ok;
  }));
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    const PersonalSettingsRead read = LoadPersonalSettings(folder.Path());
    return read.status != PersonalSettingsStatus::Ok && read.choices.empty();
  }));
}

TEST_P(FrontEndSpecialFileTest, DatabasesAreRefused) {
  const std::filesystem::path recognition = Make("NESROMS.ENC");
  const std::filesystem::path encyclopedia = Make("CARTINFO.ENC");
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    RecognitionDb db;
    return LoadRecognitionDb(recognition, db).error != DataFileError::kNone && db.records.empty();
  }));
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    EncyclopediaDb db;
    return LoadEncyclopediaDb(encyclopedia, db).error != DataFileError::kNone && db.entries.empty();
  }));
}

TEST_P(FrontEndSpecialFileTest, CartridgesAreNeitherReadNorRepaired) {
  const std::filesystem::path rom = Make("game.nes");
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    return ComputeRomSignature(rom, InProcessCalcCrc).error != DataFileError::kNone &&
           InProcessCalcCrc(rom.c_str()) == 0;
  }));
  EXPECT_TRUE(test::EndsWithin(2s, [&] {
    const RomHeaderBytes expected = {'N', 'E', 'S', 0x1A, 2, 1};
    return ReadRomHeader(rom).status != HeaderFileStatus::Ok &&
           WriteExpectedHeader(rom, expected).status != HeaderFileStatus::Ok &&
           ClearHeaderTrash(rom).status != HeaderFileStatus::Ok;
  }));
}

INSTANTIATE_TEST_SUITE_P(Kinds, FrontEndSpecialFileTest, ::testing::ValuesIn(test::kSpecialFiles),
                         [](const auto& info) { return test::SpecialFileName(info.param); });

}  // namespace
}  // namespace wrenfold
