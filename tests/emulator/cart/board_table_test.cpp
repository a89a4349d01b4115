// The board table: one row per supported number, which boards keep cartridge RAM, mapper 0's
// plain stores, the Namco sound port, and a walk over every supported board throwing random
// writes at it.
#include "emulator/cart/board_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::kChrPoison;
using testing_support::kPrgPoison;
using testing_support::MapperTest;

// --- Low-range defaults ---

class DefaultLowRangeTest : public MapperTest, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(DefaultLowRangeTest, CartridgeRamIsStoredAndNothingBelowIt) {
  UseBoard(GetParam(), 2, 1);
  Write(0x6000, 0x11);
  Write(0x7FFF, 0x22);
  Write(0x5FFF, 0x33);
  Write(0x4018, 0x44);
  EXPECT_EQ(Machine().cpuMem[0x6000], 0x11);
  EXPECT_EQ(Machine().cpuMem[0x7FFF], 0x22);
  EXPECT_EQ(Machine().cpuMem[0x5FFF], 0);
  EXPECT_EQ(Machine().cpuMem[0x4018], 0);
}

// Every board that has no low-range handler of its own, whichever file its high range is in.
INSTANTIATE_TEST_SUITE_P(Boards, DefaultLowRangeTest,
                         ::testing::Values(1, 2, 3, 4, 5, 7, 8, 11, 15, 24, 70, 71, 89, 96, 185,
                                           225, 227, 228, 231, 232, 241, 242, 250, 254, 74, 112,
                                           115, 118, 160, 245));

TEST_F(MapperTest, Mapper0StoresEveryLowAddress) {
  UseBoard(0, 2, 1);
  Write(0x5000, 0x11);
  Write(0x4018, 0x22);
  Write(0x7FFF, 0x33);
  EXPECT_EQ(Machine().cpuMem[0x5000], 0x11);
  EXPECT_EQ(Machine().cpuMem[0x4018], 0x22);
  EXPECT_EQ(Machine().cpuMem[0x7FFF], 0x33);
}

// --- Namco 106 sound port ---

TEST_F(MapperTest, NamcoSoundPortAutoIncrementWrapsAt7F) {
  UseBoard(19, 2, 1);
  Write(0xF800, 0xFE);  // auto-increment, address 0x7E
  Write(0x4800, 0x11);
  Write(0x4800, 0x22);
  Write(0x4800, 0x33);
  EXPECT_EQ(Machine().namcoRam[0x7E], 0x11);
  EXPECT_EQ(Machine().namcoRam[0x7F], 0x22);
  EXPECT_EQ(Machine().namcoRam[0x00], 0x33);
  EXPECT_EQ(Machine().mapper.namcoRamAddr, 0x01);
}

TEST_F(MapperTest, NamcoSoundPortWithoutAutoIncrementStays) {
  UseBoard(19, 2, 1);
  Write(0xFFFF, 0x05);
  Write(0x4800, 0x11);
  Write(0x4800, 0x22);
  EXPECT_EQ(Machine().namcoRam[0x05], 0x22);
  EXPECT_EQ(Machine().namcoRam[0x06], 0);
  EXPECT_EQ(Machine().mapper.namcoRamAddr, 0x05);
}

// --- The table ---

TEST(BoardTableTest, EveryNumberHasItsOwnRowAndOnlyNamedRowsAreSupported) {
  int supported = 0;
  for (int number = 0; number < 256; ++number) {
    const BoardDescription& board = BoardFor(static_cast<uint8_t>(number));
    SCOPED_TRACE(number);
    EXPECT_EQ(board.mapperNumber, number);
    if (number == 248) continue;  // an alias, below
    EXPECT_EQ(IsSupportedMapper(static_cast<uint8_t>(number)), board.name != nullptr);
    if (board.name == nullptr) {
      EXPECT_EQ(board.highWrite, nullptr);
      EXPECT_EQ(board.lowWrite, nullptr);
      EXPECT_EQ(board.powerOn, nullptr);
      EXPECT_EQ(board.lineStep, nullptr);
      EXPECT_TRUE(board.savedState.empty());
      continue;
    }
    ++supported;
    EXPECT_GT(std::strlen(board.name), 0u);
    EXPECT_LE(BoardStateSize(board), kBoardStateCapacity);
  }
  EXPECT_GT(supported, 0);
  EXPECT_FALSE(IsSupportedMapper(9));
}

TEST(BoardTableTest, TheMmc3CloneNumberLoadsAsMapper4) {
  EXPECT_EQ(LoadedMapperNumber(248), 4);
  EXPECT_EQ(IsSupportedMapper(248), IsSupportedMapper(4));
  for (int number = 0; number < 256; ++number) {
    if (number == 248) continue;
    EXPECT_EQ(LoadedMapperNumber(static_cast<uint8_t>(number)), number);
  }
}

// --- Random writes over every supported board ---

struct ImageShape {
  const char* name;
  uint32_t prgBanks16k;
  uint32_t chrBanks8k;
};

// Small and odd bank counts, so every reduction wraps and a one-bank image has no 32 KB bank.
constexpr ImageShape kShapes[] = {
    {"Prg3Chr3", 3, 3},
    {"Prg1PatternRam", 1, 0},
    {"Prg2Chr1", 2, 1},
};

constexpr int kWritesPerBoard = 1500;
constexpr uint32_t kSeed = 0xB0A2D5;

// Register addresses the boards decode exactly, which uniform addresses would rarely hit.
constexpr uint16_t kRegisterAddresses[] = {
    0x4100, 0x41FF, 0x4800, 0x5000, 0x5800, 0x6000, 0x6001, 0x6002, 0x6003, 0x6004, 0x6005,
    0x6006, 0x6007, 0x6800, 0x7000, 0x7001, 0x7FFD, 0x7FFE, 0x7FFF, 0x8000, 0x8001, 0x8002,
    0x8003, 0x8800, 0x8801, 0x8B06, 0x8E11, 0x9000, 0x9316, 0x9326, 0xA000, 0xA001, 0xB000,
    0xC000, 0xC001, 0xC010, 0xC020, 0xC080, 0xE000, 0xE001, 0xF000, 0xF004, 0xF005, 0xF800};

std::vector<int> SupportedBoards() {
  std::vector<int> boards;
  for (int mapper = 0; mapper < 256; ++mapper) {
    // 248 never reaches the handlers: the loader turns it into 4.
    if (mapper != 248 && IsSupportedMapper(static_cast<uint8_t>(mapper))) boards.push_back(mapper);
  }
  return boards;
}

class RandomWriteTest : public MapperTest,
                        public ::testing::WithParamInterface<std::tuple<int, ImageShape>> {
 protected:
  bool RegionUnchanged(const uint8_t* before, const uint8_t* after, std::size_t length) {
    return std::memcmp(before, after, length) == 0;
  }
};

TEST_P(RandomWriteTest, WritesStayInsideTheWindowsAndTheImage) {
  const uint8_t mapper = static_cast<uint8_t>(std::get<0>(GetParam()));
  const ImageShape& shape = std::get<1>(GetParam());
  UseBoard(mapper, shape.prgBanks16k, shape.chrBanks8k);
  auto before = std::make_unique<MachineState>();
  std::memcpy(before.get(), &Machine(), sizeof(MachineState));

  std::mt19937 random(kSeed + mapper);
  std::uniform_int_distribution<int> anyAddress(0x4018, 0xFFFF);
  std::uniform_int_distribution<int> registerIndex(0, std::size(kRegisterAddresses) - 1);
  std::uniform_int_distribution<int> anyByte(0, 255);
  for (int i = 0; i < kWritesPerBoard; ++i) {
    const uint16_t address = (i % 2 == 0) ? static_cast<uint16_t>(anyAddress(random))
                                          : kRegisterAddresses[registerIndex(random)];
    const uint8_t value = static_cast<uint8_t>(anyByte(random));
    Write(address, value);

    const MachineState& m = Machine();
    ASSERT_EQ(std::memchr(m.cpuMem + 0x8000, kPrgPoison, 0x8000), nullptr)
        << "PRG read beyond the image after $" << std::hex << address << " = " << int{value};
    ASSERT_EQ(std::memchr(m.ppuMem, kChrPoison, 0x2000), nullptr)
        << "CHR read beyond the image after $" << std::hex << address << " = " << int{value};
    ASSERT_FALSE(m.oneScreenA && m.oneScreenB);
  }

  const MachineState& after = Machine();
  EXPECT_TRUE(RegionUnchanged(before->prgRom, after.prgRom, sizeof after.prgRom));
  // Mapper 6 keeps its four pages of pattern RAM in the CHR store.
  if (mapper != 6 || shape.chrBanks8k != 0) {
    EXPECT_TRUE(RegionUnchanged(before->chrRom, after.chrRom, sizeof after.chrRom));
  }
  EXPECT_TRUE(RegionUnchanged(before->cpuMem, after.cpuMem, 0x4018));
  if (mapper != 0) {  // mapper 0 keeps a byte at every low-range address
    EXPECT_TRUE(RegionUnchanged(before->cpuMem + 0x4018, after.cpuMem + 0x4018, 0x6000 - 0x4018));
  }
  EXPECT_TRUE(RegionUnchanged(before->ppuMem + 0x3000, after.ppuMem + 0x3000, 0x1000));
  EXPECT_TRUE(RegionUnchanged(before->paletteRam, after.paletteRam, sizeof after.paletteRam));
  EXPECT_TRUE(RegionUnchanged(before->oam, after.oam, sizeof after.oam));
  EXPECT_TRUE(RegionUnchanged(reinterpret_cast<const uint8_t*>(&before->cpu),
                              reinterpret_cast<const uint8_t*>(&after.cpu), sizeof after.cpu));
  EXPECT_TRUE(RegionUnchanged(reinterpret_cast<const uint8_t*>(&before->ppu),
                              reinterpret_cast<const uint8_t*>(&after.ppu), sizeof after.ppu));
  if (mapper != 19) {
    EXPECT_TRUE(RegionUnchanged(before->namcoRam, after.namcoRam, sizeof after.namcoRam));
  }
}

INSTANTIATE_TEST_SUITE_P(AllBoards, RandomWriteTest,
                         ::testing::Combine(::testing::ValuesIn(SupportedBoards()),
                                            ::testing::ValuesIn(kShapes)),
                         [](const ::testing::TestParamInfo<std::tuple<int, ImageShape>>& info) {
                           return "Mapper" + std::to_string(std::get<0>(info.param)) + "_" +
                                  std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace wrenfold
