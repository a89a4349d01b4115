// Battery RAM: $6000-$7FFF written to game.sav at the end of a run and read back after the
// next power-on; files of another size are ignored and kept, cartridges without the battery
// bit touch no file, and a folder that cannot take the file costs a log line, nothing more.
#include "emulator/host/battery_ram.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/emulator/host/save_file_fixture.h"

namespace wrenfold {
namespace {

namespace fs = std::filesystem;
using test::SaveFileTest;

constexpr uint8_t kTrainerBit = 0x04;

std::string Pattern(std::size_t size, uint8_t seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + seed);
  return bytes;
}

std::string CartridgeRam(const MachineState& machine) {
  return std::string(reinterpret_cast<const char*>(machine.cpuMem + kBatteryRamStart),
                     kBatteryRamSize);
}

class BatteryRamTest : public SaveFileTest {
 protected:
  // A new machine on the same cartridge, as the next start of the emulator.
  void Restart(const std::string& image) {
    ReleaseAll(*host);
    machine = std::make_unique<MachineState>();
    host = std::make_unique<HostState>();
    Begin(image);
  }

  std::string SavPath() const { return Beside("game.sav").string(); }
};

TEST_F(BatteryRamTest, IsWrittenAtTheEndAndReadBackAfterTheNextPowerOn) {
  const std::string image = test::CountingImage(test::kBatteryBit);
  Begin(image);
  EXPECT_EQ(CartridgeRam(*machine), std::string(kBatteryRamSize, '\0')) << "no file: fresh RAM";
  Frames(3);
  const std::string written = Pattern(kBatteryRamSize, 1);
  std::memcpy(machine->cpuMem + kBatteryRamStart, written.data(), kBatteryRamSize);
  CloseSaveFiles(*machine, *host);
  EXPECT_EQ(FileText("game.sav"), written);
  EXPECT_TRUE(Log().ends_with("Battery RAM saved: " + SavPath() + "\n")) << Log();

  Restart(image);
  EXPECT_EQ(CartridgeRam(*machine), written);
  EXPECT_NE(Log().find("Battery RAM loaded: " + SavPath() + "\n"), std::string::npos) << Log();
}

TEST_F(BatteryRamTest, ATrainerStaysOverTheLoadedRam) {
  std::string image = test::CountingImage(test::kBatteryBit | kTrainerBit);
  const std::string trainer = Pattern(512, 9);
  image.insert(16, trainer);
  const std::string saved = Pattern(kBatteryRamSize, 3);
  test::WriteFile(Beside("game.sav"), saved);
  Begin(image);
  const std::string ram = CartridgeRam(*machine);
  EXPECT_EQ(ram.substr(0, 0x1000), saved.substr(0, 0x1000));
  EXPECT_EQ(ram.substr(0x1000, 512), trainer);
  EXPECT_EQ(ram.substr(0x1200), saved.substr(0x1200));
}

TEST_F(BatteryRamTest, AFileOfAnotherSizeIsIgnoredAndKept) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, kBatteryRamSize - 1,
                                 kBatteryRamSize + 1, 2 * kBatteryRamSize}) {
    SCOPED_TRACE(size);
    const std::string other = Pattern(size, 5);
    test::WriteFile(Beside("game.sav"), other);
    Restart(test::CountingImage(test::kBatteryBit));
    EXPECT_EQ(CartridgeRam(*machine), std::string(kBatteryRamSize, '\0'));
    EXPECT_NE(
        Log().find("Battery RAM ignored: " + SavPath() + " (not the size of the cartridge RAM)\n"),
        std::string::npos);
    machine->cpuMem[kBatteryRamStart] = 0x55;
    CloseSaveFiles(*machine, *host);
    EXPECT_EQ(FileText("game.sav"), other);
    EXPECT_TRUE(Log().ends_with("Battery RAM not saved: " + SavPath() +
                                " (kept the file that was not loaded)\n"))
        << Log();
  }
}

TEST_F(BatteryRamTest, WithoutTheBatteryBitNoFileIsReadOrWritten) {
  const std::string saved = Pattern(kBatteryRamSize, 2);
  test::WriteFile(Beside("game.sav"), saved);
  Begin(test::CountingImage());
  EXPECT_EQ(CartridgeRam(*machine), std::string(kBatteryRamSize, '\0'));
  machine->cpuMem[kBatteryRamStart] = 0x77;
  CloseSaveFiles(*machine, *host);
  EXPECT_EQ(FileText("game.sav"), saved);
  EXPECT_EQ(Log().find("Battery"), std::string::npos) << Log();
}

TEST_F(BatteryRamTest, AFolderThatIsGoneCostsALogLineAndNothingElse) {
  // The cartridge in a folder of its own; the log stays in the test folder.
  const fs::path romFolder = folder.path() / "roms";
  fs::create_directory(romFolder);
  Configure(test::kKeyboardConfig, test::CountingImage(test::kBatteryBit));
  fs::rename(Beside("game.nes"), romFolder / "game.nes");
  host->settings.romDirectory = romFolder.string();
  BuildRomPath(host->settings);
  ASSERT_EQ(StartEmulator(*machine, *host, *sound, services.platform), StartUpResult::kReady);
  BeginRun(*machine, *host);
  Frames(2);
  fs::remove_all(romFolder);

  CloseSaveFiles(*machine, *host);
  EXPECT_TRUE(Log().ends_with("Battery RAM not saved: " + (romFolder / "game.sav").string() +
                              " (cannot write the file)\n"))
      << Log();
  EXPECT_FALSE(fs::exists(romFolder));
}

}  // namespace
}  // namespace wrenfold
