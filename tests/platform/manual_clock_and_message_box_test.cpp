#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/headless/headless_message_box.h"
#include "platform/headless/manual_clock.h"

namespace wrenfold {
namespace {

TEST(ManualClockTest, MovesOnlyWhenToldAndDifferencesSurviveTheWrap) {
  ManualClock clock(0xFFFFFFF0u);
  const uint32_t start = clock.Milliseconds();
  EXPECT_EQ(clock.Milliseconds(), start);
  clock.Sleep(10);
  clock.Advance(22);
  EXPECT_EQ(clock.Milliseconds() - start, 32u);
  EXPECT_EQ(clock.SleptMilliseconds(), 10u);
}

TEST(ManualClockTest, StepPerReadEndsABusyWait) {
  ManualClock clock;
  clock.SetStepPerRead(1);
  const uint32_t start = clock.Milliseconds();
  int reads = 0;
  while (clock.Milliseconds() - start < 16) ++reads;
  EXPECT_EQ(reads, 15);
  EXPECT_EQ(clock.Peek(), 17u);
}

TEST(HeadlessMessageBoxTest, RecordsAndPrintsWithOneLineEnd) {
  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  HeadlessMessageBox box(stream);
  box.Show("ERROR", "Direct Draw Init Failed (88760078)\n");
  box.Show("Error!", "Fail to initialize DirectInput");
  std::rewind(stream);
  char text[200] = {};
  const std::size_t length = std::fread(text, 1, sizeof text - 1, stream);
  std::fclose(stream);
  EXPECT_EQ(std::string(text, length),
            "ERROR: Direct Draw Init Failed (88760078)\nError!: Fail to initialize DirectInput\n");
  ASSERT_EQ(box.Shown().size(), 2u);
  EXPECT_EQ(box.Shown()[1].caption, "Error!");
  EXPECT_EQ(box.Shown()[1].text, "Fail to initialize DirectInput");
}

}  // namespace
}  // namespace wrenfold
