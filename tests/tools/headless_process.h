// Starting the built wrenfold-headless from tests: posix_spawn with its output caught in
// files (so a chatty run cannot block on a full pipe), and a scratch folder per test.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace wrenfold::runner_test {

struct ProcessResult {
  bool started = false;
  bool exited = false;  // ended normally (not by a signal)
  int exitStatus = -1;
  std::string out;
  std::string err;
};

inline std::string RunnerPath() {
  return std::string(WRENFOLD_BIN_DIR) + "/wrenfold-headless";
}

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "wrenfold-runner-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path; }
  std::filesystem::path operator/(const std::string& name) const { return path / name; }

 private:
  std::filesystem::path path;
};

// Runs `program` with `arguments` and waits for it.
inline ProcessResult RunProgram(const std::string& program,
                                const std::vector<std::string>& arguments) {
  ProcessResult result;
  ScratchFolder outputs;
  const std::string outPath = (outputs / "stdout").string();
  const std::string errPath = (outputs / "stderr").string();

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> argvStrings{program};
  argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : argvStrings) argv.push_back(argument.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return result;
  result.started = true;

  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return result;
  }
  result.exited = WIFEXITED(status);
  if (result.exited) result.exitStatus = WEXITSTATUS(status);
  result.out = ReadWholeFile(outPath);
  result.err = ReadWholeFile(errPath);
  return result;
}

inline ProcessResult RunRunner(const std::vector<std::string>& arguments) {
  return RunProgram(RunnerPath(), arguments);
}

}  // namespace wrenfold::runner_test
