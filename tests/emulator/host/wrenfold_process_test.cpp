// Runs the built wrenfold program as the front-end does: no arguments, a working folder
// holding Wrenfold.CFG, and SDL's window-less dummy video and audio drivers.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/emulator/host/headless_host.h"
#include "tests/emulator/host/temp_folder.h"
#include "tests/files/special_files.h"

extern char** environ;

namespace wrenfold {
namespace {

namespace fs = std::filesystem;

// A guard against a program that never ends; a normal run takes well under a second.
constexpr auto kRunLimit = std::chrono::seconds(30);

struct ProcessOutcome {
  bool finished = false;
  int exitStatus = -1;
};

// Starts `program` in `folder` without a shell, with SDL's dummy video driver and the given
// audio driver, standard output and error going to files in the folder; waits for it to end,
// killing it past kRunLimit.
ProcessOutcome RunInFolder(const fs::path& program, const fs::path& folder,
                           const std::string& audioDriver = "dummy") {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    if (variable.starts_with("SDL_VIDEODRIVER=") || variable.starts_with("SDL_AUDIODRIVER=")) {
      continue;
    }
    environment.push_back(variable);
  }
  environment.push_back("SDL_VIDEODRIVER=dummy");
  environment.push_back("SDL_AUDIODRIVER=" + audioDriver);
  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);

  const std::string programPath = program.string();
  const std::string folderPath = folder.string();
  const std::string stdoutPath = (folder / "stdout.txt").string();
  const std::string stderrPath = (folder / "stderr.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folderPath.c_str());
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv = {const_cast<char*>(programPath.c_str()), nullptr};
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, programPath.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ProcessOutcome outcome;
  if (spawned != 0) return outcome;

  const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return outcome;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  outcome.finished = WIFEXITED(status);
  outcome.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

class WrenfoldProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(fs::exists(program)) << program << " has not been built";
  }

  std::string Log() const { return test::ReadFile(folder.path() / "wrenfold.tst"); }
  // Where the message boxes go without a display.
  std::string Errors() const { return test::ReadFile(folder.path() / "stderr.txt"); }
  std::string Diagnostics() const { return "log:\n" + Log() + "\nstderr:\n" + Errors(); }

  // NOP, then an opcode neither core knows, then a jump to itself.
  void WriteHaltingGame(std::string_view extraConfig = "SOUND=Mono\r\n") const {
    test::WriteFile(folder.path() / "halt.nes", test::NromImage({0xEA, 0x22, 0x4C, 0x02, 0x80}));
    test::WriteFile(
        folder.path() / "Wrenfold.CFG",
        "BOOT=halt.nes\r\nROMDIR=" + folder.path().string() + "\r\n" + std::string(extraConfig));
  }

  test::TempFolder folder;
  const fs::path program = fs::path(WRENFOLD_BIN_DIR) / "wrenfold";
};

TEST_F(WrenfoldProcessTest, BadOpcodeWritesItsReportReleasesAndExits) {
  WriteHaltingGame();
  const ProcessOutcome outcome = RunInFolder(program, folder.path());
  ASSERT_TRUE(outcome.finished) << "the program did not end by itself\n" << Diagnostics();
  EXPECT_EQ(outcome.exitStatus, 1) << Diagnostics();
  EXPECT_NE(Errors().find("Wrenfold: The game stopped: the processor met an instruction"),
            std::string::npos)
      << Diagnostics();

  const std::string log = Log();
  EXPECT_NE(log.find("Keyboard initialized\n"), std::string::npos) << Diagnostics();
  EXPECT_NE(log.find("NMI Vector:33024\n"), std::string::npos) << Diagnostics();
  EXPECT_NE(log.find("Bad opcode:34\nAt:32769\nFrame:0\nNMI vector:33024\nIRQ vector:33280\n"),
            std::string::npos)
      << Diagnostics();
  EXPECT_EQ(log.find("Error"), std::string::npos) << Diagnostics();
}

TEST_F(WrenfoldProcessTest, BatteryRamIsWrittenWhenTheProgramCloses) {
  // Stores $5A at $6000, then stops the CPU, which closes the program.
  std::string image = test::NromImage({0xA9, 0x5A, 0x8D, 0x00, 0x60, 0x22});
  image[6] = static_cast<char>(image[6] | 0x02);  // battery
  test::WriteFile(folder.path() / "keep.nes", image);
  test::WriteFile(folder.path() / "Wrenfold.CFG",
                  "BOOT=keep.nes\r\nROMDIR=" + folder.path().string() + "\r\nSOUND=None\r\n");
  const ProcessOutcome outcome = RunInFolder(program, folder.path());
  ASSERT_TRUE(outcome.finished) << Diagnostics();
  const std::string saved = test::ReadFile(folder.path() / "keep.sav");
  ASSERT_EQ(saved.size(), 8192u) << Diagnostics();
  EXPECT_EQ(static_cast<uint8_t>(saved[0]), 0x5A);
  EXPECT_NE(Log().find("Battery RAM saved: " + (folder.path() / "keep.sav").string() + "\n"),
            std::string::npos)
      << Diagnostics();
}

TEST_F(WrenfoldProcessTest, MissingRomIsLoggedAndTheProgramStops) {
  test::WriteFile(folder.path() / "Wrenfold.CFG",
                  "BOOT=missing.nes\r\nROMDIR=" + folder.path().string() + "\r\n");
  const ProcessOutcome outcome = RunInFolder(program, folder.path());
  ASSERT_TRUE(outcome.finished) << Diagnostics();
  EXPECT_EQ(outcome.exitStatus, 1) << Diagnostics();
  EXPECT_TRUE(Log().ends_with("Error reading ROM\n")) << Diagnostics();
  EXPECT_NE(Errors().find("Wrenfold could not load the game \"" + folder.path().string() +
                          "/missing.nes\": no such file."),
            std::string::npos)
      << Diagnostics();
}

TEST_F(WrenfoldProcessTest, WithoutASoundDeviceTheGameRunsSilently) {
  WriteHaltingGame("SOUND=Stereo\r\n");
  const ProcessOutcome outcome = RunInFolder(program, folder.path(), "no-such-audio-driver");
  ASSERT_TRUE(outcome.finished) << Diagnostics();
  const std::string log = Log();
  const std::size_t soundLine = log.find("Fail to initialize Direct Sound\n");
  ASSERT_NE(soundLine, std::string::npos) << Diagnostics();
  // The game was loaded and run until its bad opcode, the only reason it stopped.
  EXPECT_GT(log.find("Open:", soundLine), soundLine) << Diagnostics();
  EXPECT_NE(log.find("Bad opcode:34\n"), std::string::npos) << Diagnostics();
  EXPECT_EQ(outcome.exitStatus, 1) << Diagnostics();
}

// Wrenfold.CFG or the cartridge replaced by a FIFO or a link to an endless device: the program
// neither waits nor reads forever, it fails to load the game.
class WrenfoldSpecialFileTest : public WrenfoldProcessTest,
                                public ::testing::WithParamInterface<test::SpecialFile> {};

TEST_P(WrenfoldSpecialFileTest, AsTheConfigurationTheProgramStartsWithTheDefaults) {
  ASSERT_TRUE(test::MakeSpecialFile(folder.path() / "Wrenfold.CFG", GetParam()));
  const ProcessOutcome outcome = RunInFolder(program, folder.path());
  ASSERT_TRUE(outcome.finished) << "the program did not end by itself\n" << Diagnostics();
  EXPECT_EQ(outcome.exitStatus, 1) << Diagnostics();
  EXPECT_TRUE(Log().ends_with("Error reading ROM\n")) << Diagnostics();
}

TEST_P(WrenfoldSpecialFileTest, AsTheCartridgeTheGameIsNotLoaded) {
  ASSERT_TRUE(test::MakeSpecialFile(folder.path() / "game.nes", GetParam()));
  test::WriteFile(folder.path() / "Wrenfold.CFG",
                  "BOOT=game.nes\r\nROMDIR=" + folder.path().string() + "\r\nSOUND=None\r\n");
  const ProcessOutcome outcome = RunInFolder(program, folder.path());
  ASSERT_TRUE(outcome.finished) << "the program did not end by itself\n" << Diagnostics();
  EXPECT_EQ(outcome.exitStatus, 1) << Diagnostics();
  EXPECT_TRUE(Log().ends_with("Error reading ROM\n")) << Diagnostics();
}

// The kinds that wait or never end; the others are refused by the same check.
INSTANTIATE_TEST_SUITE_P(Kinds, WrenfoldSpecialFileTest,
                         ::testing::Values(test::SpecialFile::kFifo, test::SpecialFile::kDevZero,
                                           test::SpecialFile::kDevUrandom),
                         [](const auto& info) { return test::SpecialFileName(info.param); });

}  // namespace
}  // namespace wrenfold
