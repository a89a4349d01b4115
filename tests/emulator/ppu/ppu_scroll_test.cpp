#include "emulator/ppu/ppu_scroll.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace wrenfold {
namespace {

uint16_t Scroll(int coarseX, int coarseY, int tableX, int tableY, int fineY) {
  return static_cast<uint16_t>(coarseX | (coarseY << 5) | (tableX << 10) | (tableY << 11) |
                               (fineY << 12));
}

// From any of the 240 pixel rows of either vertical name table, a walk of line steps shows the
// rows in order and goes on at row 0 of the other table after row 239; coarse X and the
// horizontal table bit are left alone.
TEST(PpuScrollTest, LineStepsWalkThePixelRowsOfTheTwoVerticalTablesInTurn) {
  for (int table = 0; table < 2; ++table) {
    for (int start = 0; start < 240; ++start) {
      uint16_t v = Scroll(13, start / 8, 1, table, start % 8);
      for (int line = 0; line < 480; ++line) {
        const int row = (start + line) % 240;
        const int tableNow = table ^ (((start + line) / 240) & 1);
        ASSERT_EQ(v, Scroll(13, row / 8, 1, tableNow, row % 8))
            << "from row " << start << " of table " << table << ", line " << line;
        v = NextLine(v);
      }
    }
  }
}

struct StepCase {
  uint16_t before;
  uint16_t after;
};

// Rows 30 and 31 hold the attribute bytes; a scroll written there steps through them and back
// to row 0 of the same table. Past column 31 the next column is 0 of the other table.
TEST(PpuScrollTest, StepsOutsideThePictureRowsAndPastTheLastColumn) {
  const StepCase lines[] = {
      {Scroll(0, 29, 0, 1, 7), Scroll(0, 0, 0, 0, 0)},
      {Scroll(0, 30, 0, 0, 7), Scroll(0, 31, 0, 0, 0)},
      {Scroll(0, 31, 0, 1, 7), Scroll(0, 0, 0, 1, 0)},
      {Scroll(31, 31, 1, 1, 6), Scroll(31, 31, 1, 1, 7)},
  };
  for (const StepCase& c : lines) EXPECT_EQ(NextLine(c.before), c.after) << std::hex << c.before;
  const StepCase columns[] = {
      {Scroll(31, 5, 0, 1, 3), Scroll(0, 5, 1, 1, 3)},
      {Scroll(31, 5, 1, 0, 3), Scroll(0, 5, 0, 0, 3)},
      {Scroll(7, 5, 1, 0, 3), Scroll(8, 5, 1, 0, 3)},
  };
  for (const StepCase& c : columns) {
    EXPECT_EQ(NextColumn(c.before), c.after) << std::hex << c.before;
  }
}

}  // namespace
}  // namespace wrenfold
