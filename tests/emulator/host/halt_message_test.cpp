// What the player is told when the CPU halts: a cartridge that needs the full core gets a
// log line after the bad-opcode entries and a message box before the program closes; a jam
// that stops the console itself gets neither, and the full core runs what the others halt on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/host/frame_driver.h"
#include "emulator/host/run_loop.h"
#include "tests/emulator/host/headless_host.h"

namespace wrenfold {
namespace {

struct HaltCase {
  const char* name;
  const char* config;
  uint8_t opcode;  // at the reset address, followed by a zero byte and a spin
  bool halts;
  bool needsFullCore;
};

void PrintTo(const HaltCase& c, std::ostream* out) {
  *out << c.name;
}

class HaltMessageTest : public test::HeadlessHostTest,
                        public ::testing::WithParamInterface<HaltCase> {};

TEST_P(HaltMessageTest, SaysWhetherTheFullCoreWouldRunIt) {
  const HaltCase& c = GetParam();
  std::vector<uint8_t> code = {c.opcode, 0x00};
  const std::vector<uint8_t> spin = test::SpinAt(test::kResetAddress + 2);
  code.insert(code.end(), spin.begin(), spin.end());
  ASSERT_EQ(Start(std::string("SOUND=None\n") + c.config, test::NromImage(code)),
            StartUpResult::kReady);
  BeginRun(*machine, *host);

  for (int frame = 0; frame < 3; ++frame) RunFrame(*machine, *host, 0);

  EXPECT_EQ(host->run.exitRequested, c.halts);
  const std::string log = Log();
  const std::size_t entries = log.find("Bad opcode:" + std::to_string(c.opcode) + "\n");
  EXPECT_EQ(entries != std::string::npos, c.halts) << log;
  const std::size_t line = log.find(kNeedsFullCoreLogLine);
  EXPECT_EQ(line != std::string::npos, c.needsFullCore) << log;
  if (c.needsFullCore) {
    EXPECT_GT(line, log.find("IRQ vector:", entries)) << "the line follows the five entries";
    EXPECT_EQ(log.find(kNeedsFullCoreLogLine, line + 1), std::string::npos) << "said once";
  }
  const std::vector<ShownMessage>& shown = services.messageBox.Shown();
  ASSERT_EQ(shown.size(), c.needsFullCore ? 1u : 0u);
  if (c.needsFullCore) {
    EXPECT_EQ(shown[0].caption, kNeedsFullCoreCaption);
    EXPECT_NE(shown[0].text.find("CORE=FULL"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cores, HaltMessageTest,
    ::testing::Values(HaltCase{"SecondCoreOnNopImmediate", "CORE=ASM\n", 0x80, true, true},
                      HaltCase{"ReferenceCoreOnAnc", "CORE=C\n", 0x0B, true, true},
                      HaltCase{"SecondCoreOnJam", "CORE=ASM\n", 0x02, true, false},
                      HaltCase{"FullCoreRunsAnc", "CORE=FULL\n", 0x0B, false, false},
                      HaltCase{"FullCoreOnJam", "CORE=FULL\n", 0x22, true, false}),
    [](const ::testing::TestParamInfo<HaltCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wrenfold
