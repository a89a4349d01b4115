// DrawBackgroundLine draws tile pairs from the even column at or left of coarse X and cuts the
// line out of them; RenderLine uses only the colouring the host runs fastest. This holds every
// colouring the host runs against a pixel-by-pixel model, at every coarse X and fine X (odd
// and even first columns, lines that end in the neighbouring table or on its first tile).
#include "emulator/ppu/background_line.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {
namespace {

constexpr int kWidth = 256;

// The colour number of pixel x of the line that starts at `scroll` and `fineX`.
uint8_t ModelPixel(const MachineState& m, uint16_t scroll, int fineX, int x) {
  const int position = fineX + x;
  int column = (scroll & 31) + position / 8;
  int tableX = (scroll >> 10) & 1;
  if (column >= 32) {
    column -= 32;
    tableX ^= 1;
  }
  const int coarseY = (scroll >> 5) & 31;
  const int table = 0x2000 | (tableX << 10) | (scroll & 0x0800);
  const uint8_t tile = m.ppuMem[table | (coarseY << 5) | column];
  const uint8_t attribute = m.ppuMem[table | 0x3C0 | ((coarseY >> 2) << 3) | (column >> 2)];
  const int palette = (attribute >> (((coarseY & 2) ? 4 : 0) + (column & 2))) & 3;
  const uint32_t pattern = ((m.cpuMem[0x2000] & 0x10) ? 0x4000u : 0u) + tile * 64u +
                           ((scroll >> 12) & 7) * 8u + position % 8;
  const uint8_t colour = m.paletteRam[palette * 4 + (m.patternCache[pattern] & 3)];
  return (m.cpuMem[0x2001] & 0x01) ? colour & 0x30 : colour;
}

class BackgroundLineTest : public ::testing::TestWithParam<BackgroundColouring> {};

TEST_P(BackgroundLineTest, EveryCoarseAndFineXMatchesThePixelModel) {
  if (!HostRuns(GetParam())) GTEST_SKIP() << "this host lacks the colouring's instructions";
  std::mt19937 random(14);
  const auto byte = [&] { return static_cast<uint8_t>(random()); };
  auto machine = std::make_unique<MachineState>();
  for (int round = 0; round < 8; ++round) {
    MachineState& m = *machine;
    for (uint8_t& b : m.patternCache) b = random() % 8 == 0 ? byte() : byte() & 3;
    for (int i = 0x2000; i < 0x3000; ++i) m.ppuMem[i] = byte();
    for (uint8_t& b : m.paletteRam) b = byte();
    m.cpuMem[0x2000] = byte();
    m.cpuMem[0x2001] = byte();
    for (int coarseX = 0; coarseX < 32; ++coarseX) {
      for (int fineX = 0; fineX < 8; ++fineX) {
        const auto scroll = static_cast<uint16_t>(((random() & 0x7FFF) & ~31) | coarseX);
        std::array<uint8_t, kWidth + 1> front;
        front.fill(0xEE);
        DrawBackgroundLine(m, front.data(), scroll, static_cast<uint8_t>(fineX), GetParam());
        for (int x = 0; x < kWidth; ++x) {
          ASSERT_EQ(front[x], ModelPixel(m, scroll, fineX, x))
              << "scroll " << scroll << " fine X " << fineX << " pixel " << x;
        }
        ASSERT_EQ(front[kWidth], 0xEE) << "drawn past the line";
      }
    }
  }
}

std::string ColouringName(const ::testing::TestParamInfo<BackgroundColouring>& info) {
  constexpr const char* kNames[] = {"BitSelect", "ByteShuffle", "WideShuffle"};
  return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Colourings, BackgroundLineTest,
                         ::testing::Values(BackgroundColouring::kBitSelect,
                                           BackgroundColouring::kByteShuffle,
                                           BackgroundColouring::kWideShuffle),
                         ColouringName);

}  // namespace
}  // namespace wrenfold
