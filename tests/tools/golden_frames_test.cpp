// Golden frames: our own cartridges run through bin/wrenfold-headless, and the hash of each
// listed frame must match tests/tools/golden_frames.txt. A deliberate change to the picture
// is taken into the table with scripts/regenerate-golden.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/golden_table.h"
#include "tests/tools/headless_process.h"

namespace wrenfold::runner_test {
namespace {

struct GoldenFrame {
  uint32_t frame = 0;
  std::string hash;  // 16 hex digits, or "-" while not generated
};

// One run of the runner: a cartridge with an input script, and the frames hashed in it.
struct GoldenRun {
  std::string cartridge;    // file name in bin/roms
  std::string inputScript;  // file name in tests/tools/golden_input, or "-"
  std::vector<GoldenFrame> frames;
};

// Shown by GoogleTest in place of the record's bytes.
void PrintTo(const GoldenRun& run, std::ostream* out) {
  *out << run.cartridge << " with input " << run.inputScript << ", " << run.frames.size()
       << " frames";
}

std::string TablePath() {
  return GoldenTablePath("golden_frames.txt");
}

// Rows of the same cartridge and input become one run. A malformed row becomes a frame 0
// carrying the line, which the test reports.
std::vector<GoldenRun> LoadGoldenTable() {
  std::vector<GoldenRun> runs;
  for (const GoldenRow& row : ReadGoldenRows(TablePath())) {
    auto run = std::ranges::find_if(runs, [&](const GoldenRun& r) {
      return r.cartridge == row.cartridge && r.inputScript == row.inputScript;
    });
    if (run == runs.end()) {
      runs.push_back(GoldenRun{row.cartridge, row.inputScript, {}});
      run = runs.end() - 1;
    }
    if (const std::optional<uint32_t> frame = ParseFrameCount(row.frameText)) {
      run->frames.push_back(GoldenFrame{*frame, row.hash});
    } else {
      run->frames.push_back(GoldenFrame{0, "malformed row: " + row.line});
    }
  }
  return runs;
}

class GoldenFramesTest : public ::testing::TestWithParam<GoldenRun> {};

TEST_P(GoldenFramesTest, FrameHashesMatchTheTable) {
  const GoldenRun& run = GetParam();
  for (const GoldenFrame& frame : run.frames) {
    ASSERT_NE(frame.frame, 0u) << frame.hash;
    ASSERT_TRUE(std::regex_match(frame.hash, std::regex("[0-9a-f]{16}")))
        << run.cartridge << " frame " << frame.frame << " has no hash yet; run "
        << "scripts/regenerate-golden.sh";
  }
  const std::string rom = std::string(WRENFOLD_BIN_DIR) + "/roms/" + run.cartridge;
  ASSERT_TRUE(std::filesystem::exists(rom)) << rom << " is not built (target demo_roms)";

  uint32_t lastFrame = 0;
  std::string frameList;
  for (const GoldenFrame& frame : run.frames) {
    lastFrame = std::max(lastFrame, frame.frame);
    frameList += (frameList.empty() ? "" : ",") + std::to_string(frame.frame);
  }
  std::vector<std::string> arguments{
      rom, "--frames", std::to_string(lastFrame), "--hash-frames", frameList, "--verdict", "none"};
  if (run.inputScript != kNoInput) {
    arguments.push_back("--input");
    arguments.push_back(GoldenInputFolder() + "/" + run.inputScript);
  }
  const ProcessResult result = RunRunner(arguments);
  ASSERT_TRUE(result.exited) << "wrenfold-headless did not finish: " << result.err;
  ASSERT_EQ(result.exitStatus, 0) << result.err;

  std::map<uint32_t, std::string> printed;
  const std::regex line("frame ([0-9]+) hash ([0-9a-f]{16})");
  for (std::sregex_iterator it(result.out.begin(), result.out.end(), line), end; it != end; ++it) {
    printed[static_cast<uint32_t>(std::stoul((*it)[1].str()))] = (*it)[2].str();
  }
  for (const GoldenFrame& frame : run.frames) {
    EXPECT_EQ(printed[frame.frame], frame.hash)
        << run.cartridge << " frame " << frame.frame << " (input " << run.inputScript
        << "); if the change is intended, run scripts/regenerate-golden.sh";
  }
}

INSTANTIATE_TEST_SUITE_P(Table, GoldenFramesTest, ::testing::ValuesIn(LoadGoldenTable()),
                         GoldenRunName<GoldenRun>);
// The table is filled by the regenerate script; until then there is nothing to instantiate.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenFramesTest);

TEST(GoldenFramesTable, IsPresentAndNotEmpty) {
  ASSERT_TRUE(std::filesystem::exists(TablePath())) << TablePath();
  if (LoadGoldenTable().empty()) {
    GTEST_SKIP() << "no golden frames yet: build demo_roms and run scripts/regenerate-golden.sh";
  }
}

}  // namespace
}  // namespace wrenfold::runner_test
