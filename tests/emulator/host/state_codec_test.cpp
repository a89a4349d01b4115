// Every board row's saved fields: they fit the board block without overlapping, and random
// values in them come back through a save and a load. Boards added later are walked too.
#include "emulator/host/state_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/board_table.h"
#include "tests/emulator/cart/mapper_test_support.h"

namespace wrenfold {
namespace {

using testing_support::MapperTest;

std::vector<int> SupportedBoards() {
  std::vector<int> boards;
  for (int mapper = 0; mapper < 256; ++mapper) {
    // 248 never runs: the loader turns it into 4.
    if (mapper != 248 && IsSupportedMapper(static_cast<uint8_t>(mapper))) boards.push_back(mapper);
  }
  return boards;
}

uint8_t* RecordBytes(MachineState& machine) {
  return reinterpret_cast<uint8_t*>(&machine);
}

// --- Every board row ---

class BoardStateTest : public MapperTest, public ::testing::WithParamInterface<int> {};

TEST_P(BoardStateTest, SavedFieldsFitWithoutOverlapAndRandomValuesComeBack) {
  const uint8_t mapper = static_cast<uint8_t>(GetParam());
  const std::span<const StateSpan> spans = BoardFor(mapper).savedState;
  ASSERT_LE(BoardStateSize(BoardFor(mapper)), kBoardStateCapacity);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    ASSERT_LE(spans[i].offset + spans[i].size, sizeof(MachineState));
    for (std::size_t j = 0; j < i; ++j) {
      const bool apart = spans[i].offset >= spans[j].offset + spans[j].size ||
                         spans[j].offset >= spans[i].offset + spans[i].size;
      EXPECT_TRUE(apart) << "spans " << j << " and " << i << " overlap";
    }
  }

  UseBoard(mapper, 3, 2);
  std::mt19937 random(mapper);
  const auto fillSpans = [&] {
    for (const StateSpan& span : spans) {
      for (uint32_t i = 0; i < span.size; ++i) {
        RecordBytes(Machine())[span.offset + i] = static_cast<uint8_t>(random());
      }
    }
  };
  for (int round = 0; round < 8; ++round) {
    fillSpans();
    const auto saved = std::make_unique<MachineState>(Machine());
    StateBytes file;
    EncodeState(Machine(), file);
    fillSpans();
    ASSERT_EQ(DecodeState(file, Machine()), StateRefusal::kNone);
    for (const StateSpan& span : spans) {
      EXPECT_EQ(std::memcmp(RecordBytes(Machine()) + span.offset, RecordBytes(*saved) + span.offset,
                            span.size),
                0)
          << "span at record offset " << span.offset << ", round " << round;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllBoards, BoardStateTest, ::testing::ValuesIn(SupportedBoards()),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Mapper" + std::to_string(info.param);
                         });

// Pattern RAM is kept in a store behind the tables, and bank switches copy from that store: a
// load must leave the store holding the state's tiles, not the ones drawn since the save.
class PatternRamStateTest : public MapperTest {};

TEST_F(PatternRamStateTest, ALoadLeavesTheStoreHoldingTheStatesTiles) {
  UseBoard(1, 8, 0);  // MMC1 with 8 KB of pattern RAM
  for (uint16_t address = 0; address < 0x2000; ++address) {
    WritePatternRam(Machine(), address, static_cast<uint8_t>(address * 7));
  }
  StateBytes file;
  EncodeState(Machine(), file);
  for (uint16_t address = 0; address < 0x2000; ++address) {
    WritePatternRam(Machine(), address, 0xEE);
  }
  ASSERT_EQ(DecodeState(file, Machine()), StateRefusal::kNone);
  for (uint16_t address = 0; address < 0x2000; ++address) {
    ASSERT_EQ(Machine().chrRom[address], static_cast<uint8_t>(address * 7)) << address;
  }
}

}  // namespace
}  // namespace wrenfold
