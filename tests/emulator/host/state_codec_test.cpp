// The machine as a save state and back: every board row's saved fields fit and come back, a
// load empties the bank caches and rebuilds the pattern cache, and every kind of bad state is
// refused with the machine left exactly as it was.
#include "emulator/host/state_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "emulator/cart/board_table.h"
#include "emulator/machine_state/state_layout.h"
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
  for (int round = 0; round < 8; ++round) {
    uint8_t* record = RecordBytes(Machine());
    for (const StateSpan& span : spans) {
      for (uint32_t i = 0; i < span.size; ++i)
        record[span.offset + i] = static_cast<uint8_t>(random());
    }
    const auto saved = std::make_unique<MachineState>(Machine());
    StateBytes file;
    EncodeState(Machine(), file);
    for (const StateSpan& span : spans) {
      for (uint32_t i = 0; i < span.size; ++i)
        record[span.offset + i] = static_cast<uint8_t>(random());
    }

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

// --- What a load does beside the fields ---

TEST_F(MapperTest, ALoadEmptiesTheBankCachesAndRebuildsThePatternCache) {
  UseBoard(2, 4, 1);
  Write(0x8000, 3);
  StateBytes file;
  EncodeState(Machine(), file);
  Machine().prgBankCache[0] = 1;
  ClearPatternCache();
  ASSERT_EQ(DecodeState(file, Machine()), StateRefusal::kNone);
  for (uint8_t cached : Machine().prgBankCache) EXPECT_EQ(cached, kNoBankCached);
  for (uint8_t cached : Machine().chrBankCache) EXPECT_EQ(cached, kNoBankCached);
  EXPECT_TRUE(CacheMatchesPatterns(0, 0x2000));
  EXPECT_TRUE(PrgAt(0x8000, 0x4000, 6));
}

// --- Refusals ---

struct RefusalCase {
  const char* name;
  // Spoils a good state of the running machine (mapper 0, 2 PRG banks, 1 CHR bank), or the
  // machine itself.
  std::function<void(std::vector<uint8_t>& file, MachineState& running)> spoil;
  StateRefusal expected;
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
  *out << c.name;
}

void Put32(std::vector<uint8_t>& file, StateField field, uint32_t value) {
  PutLittleEndian(file.data() + field.offset, value);
}

const RefusalCase kRefusals[] = {
    {"Empty", [](auto& file, auto&) { file.clear(); }, StateRefusal::kTooShort},
    {"OneByteShort", [](auto& file, auto&) { file.pop_back(); }, StateRefusal::kTooShort},
    {"OneByteLong", [](auto& file, auto&) { file.push_back(0); }, StateRefusal::kTooLong},
    {"RandomBytes",
     [](auto& file, auto&) {
       std::mt19937 random(7);
       for (uint8_t& byte : file) byte = static_cast<uint8_t>(random());
     },
     StateRefusal::kNotAState},
    {"WrongMark", [](auto& file, auto&) { file[2] = 'v'; }, StateRefusal::kNotAState},
    {"OtherBoard", [](auto& file, auto&) { file[state_layout::kMapperNumber.offset] = 2; },
     StateRefusal::kOtherCartridge},
    {"OtherPrgBankCount", [](auto& file, auto&) { Put32(file, state_layout::kPrgBankCount, 4); },
     StateRefusal::kOtherCartridge},
    {"OtherChrBankCount", [](auto& file, auto&) { Put32(file, state_layout::kChrBankCount, 0); },
     StateRefusal::kOtherCartridge},
    {"SameBoardOtherGame", [](auto&, auto& running) { running.prgRom[0x1234] ^= 0x01; },
     StateRefusal::kOtherCartridge},
    {"OtherFingerprint",
     [](auto& file, auto&) { file[state_layout::kRomFingerprint.offset] ^= 0x80; },
     StateRefusal::kOtherCartridge},
    {"MirroringFlagNeitherZeroNorOne",
     [](auto& file, auto&) { Put32(file, state_layout::kMirrorVertical, 2); },
     StateRefusal::kDamaged},
    {"FourScreenFlagHighBit",
     [](auto& file, auto&) { Put32(file, state_layout::kFourScreen, 0x80000000u); },
     StateRefusal::kDamaged},
};

class RefusedStateTest : public MapperTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedStateTest, LeavesEveryByteOfTheMachineAsItWas) {
  UseBoard(0, 2, 1);
  Write(0x2006, 0x21);
  Machine().cpuMem[0x0300] = 0x5A;
  StateBytes good;
  EncodeState(Machine(), good);
  std::vector<uint8_t> file(good.begin(), good.end());
  // The machine moves on after the save, so a load that touched it would show.
  Machine().cpuMem[0x0300] = 0xA5;
  Machine().cpu.PC = 0x9000;
  GetParam().spoil(file, Machine());

  const auto before = std::make_unique<MachineState>(Machine());
  EXPECT_EQ(DecodeState(file, Machine()), GetParam().expected);
  EXPECT_EQ(std::memcmp(before.get(), &Machine(), sizeof(MachineState)), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedStateTest, ::testing::ValuesIn(kRefusals),
                         [](const ::testing::TestParamInfo<RefusalCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace wrenfold
