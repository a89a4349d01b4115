// Hostile input over whole frames: the MMC1 and MMC3 family boards get random register writes,
// PPU address changes, CPU reads of their ports and interrupt entries line after line while their
// line steps run and the renderer draws. Nothing may read outside the image or the stores.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "emulator/cart/board_table.h"
#include "emulator/cpu/read_bus.h"
#include "emulator/ppu/renderer.h"
#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::kChrPoison;
using testing_support::kPrgPoison;
using testing_support::MapperTest;

struct Shape {
  const char* name;
  uint32_t prgBanks16k;
  uint32_t chrBanks8k;
};

constexpr Shape kShapes[] = {
    {"Prg3Chr3", 3, 3},
    {"Prg1PatternRam", 1, 0},
    {"Prg32Chr16", 32, 16},
};

constexpr int kBoardsOfThisFamily[] = {1, 4, 74, 112, 115, 118, 160, 161, 245, 249};
constexpr int kFrames = 12;
constexpr int kLinesPerFrame = 262;

// Addresses the boards decode, weighted towards their registers.
constexpr uint16_t kAddresses[] = {0x8000, 0x8001, 0x8800, 0x8801, 0x9000, 0x9003, 0xA000,
                                   0xA001, 0xB001, 0xC000, 0xC001, 0xC002, 0xC003, 0xE000,
                                   0xE001, 0xFFFF, 0x6000, 0x7FFF, 0x2006, 0x2007, 0x2000};

class BoardFramesFuzzTest : public MapperTest,
                            public ::testing::WithParamInterface<std::tuple<int, Shape>> {};

TEST_P(BoardFramesFuzzTest, RandomWritesWhileFramesRunStayInsideTheImage) {
  const uint8_t mapper = static_cast<uint8_t>(std::get<0>(GetParam()));
  const Shape& shape = std::get<1>(GetParam());
  UseBoard(mapper, shape.prgBanks16k, shape.chrBanks8k);
  MachineState& m = Machine();
  const BoardDescription& board = BoardFor(mapper);
  std::vector<uint8_t> front(256);
  std::vector<uint8_t> rear(256);

  std::mt19937 random(0x5EED0000u + mapper * 7 + shape.prgBanks16k);
  std::uniform_int_distribution<int> pick(0, std::size(kAddresses) - 1);
  std::uniform_int_distribution<int> anyByte(0, 255);
  std::uniform_int_distribution<int> writesThisLine(0, 3);
  std::uniform_int_distribution<int> anyAddress(0x4018, 0xFFFF);
  for (int frame = 0; frame < kFrames; ++frame) {
    m.vblankPhase = 0;
    for (int line = 0; line < kLinesPerFrame; ++line) {
      if (line == 240) m.vblankPhase = 1;
      m.cpuMem[0x2001] = static_cast<uint8_t>(anyByte(random) | 0x18);
      if (board.lineStep != nullptr) board.lineStep(m, static_cast<uint16_t>(line), true);
      for (int i = writesThisLine(random); i > 0; --i) {
        const uint16_t address =
            (i & 1) ? kAddresses[pick(random)] : static_cast<uint16_t>(anyAddress(random));
        Write(address, static_cast<uint8_t>(anyByte(random)));
        CpuRead(m, static_cast<uint16_t>(anyAddress(random) & 0x7FFF));
      }
      m.irqAdjust = static_cast<int16_t>(anyByte(random) - 128);
      m.cpu.P = static_cast<uint8_t>(anyByte(random));
      if (line < 240) RenderLine(m, front.data(), rear.data(), line, 256, board.ppuFetch);

      ASSERT_EQ(std::memchr(m.cpuMem + 0x8000, kPrgPoison, 0x8000), nullptr)
          << "PRG from beyond the image, frame " << frame << " line " << line;
      // Pattern RAM holds whatever the random $2007 writes put there.
      if (shape.chrBanks8k != 0) {
        ASSERT_EQ(std::memchr(m.ppuMem, kChrPoison, 0x2000), nullptr)
            << "CHR from beyond the image, frame " << frame << " line " << line;
      }
      ASSERT_FALSE(m.oneScreenA && m.oneScreenB);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Mmc1AndMmc3Family, BoardFramesFuzzTest,
                         ::testing::Combine(::testing::ValuesIn(kBoardsOfThisFamily),
                                            ::testing::ValuesIn(kShapes)),
                         [](const ::testing::TestParamInfo<std::tuple<int, Shape>>& info) {
                           return "Mapper" + std::to_string(std::get<0>(info.param)) + "_" +
                                  std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace wrenfold
