// Random and mutated state files through the loader of a running emulator. Each one is either
// refused with every byte of the machine as it was, or loaded exactly as its bytes say, after
// which the game runs on (under the sanitizers in CI). WRENFOLD_STATE_FUZZ_COUNT sets the
// number of files (scripts/fuzz-states.sh runs a few hundred thousand).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "emulator/cart/bank_copy.h"
#include "emulator/machine_state/state_layout.h"
#include "tests/emulator/host/save_file_fixture.h"

namespace wrenfold {
namespace {

using namespace state_layout;

constexpr int kDefaultCount = 2000;
constexpr int kFramesEvery = 8;  // accepted loads between two frames run

int FuzzCount() {
  const char* text = std::getenv("WRENFOLD_STATE_FUZZ_COUNT");
  const int count = text != nullptr ? std::atoi(text) : 0;
  return count > 0 ? count : kDefaultCount;
}

class StateMutator {
 public:
  StateMutator(const StateBytes& base, uint32_t seed)
      : base(base.begin(), base.end()), random(seed) {}

  std::vector<uint8_t> Next() {
    std::vector<uint8_t> file = base;
    switch (Below(7)) {
      case 0: {  // noise of any length, half of it with the mark
        file.resize(Below(kStateSize + 100));
        for (uint8_t& byte : file) byte = Byte();
        if (file.size() >= 3 && Below(2) == 0) std::memcpy(file.data(), "KSV", 3);
        break;
      }
      case 1:  // a few bytes anywhere
        for (uint32_t n = 1 + Below(16); n > 0; --n) file[Below(kStateSize)] = Byte();
        break;
      case 2:  // the cartridge fields and the mark
        for (uint32_t n = 1 + Below(4); n > 0; --n) file[Below(kSpareNameTable.offset)] = Byte();
        break;
      case 3:
        file.resize(Below(kStateSize));
        break;
      case 4:
        for (uint32_t n = 1 + Below(64); n > 0; --n) file.push_back(Byte());
        break;
      case 5: {  // a whole 32-bit field of the header
        const StateField fields[] = {kPrgBankCount, kChrBankCount, kMirrorVertical,
                                     kBatteryFlag,  kTrainerFlag,  kFourScreen};
        const StateField field = fields[Below(std::size(fields))];
        PutLittleEndian(file.data() + field.offset, static_cast<uint32_t>(random()));
        break;
      }
      default: {  // the registers, latches and counters the game runs on
        const StateField fields[] = {kCpuP,        kCpuS,         kCpuPc,      kBoardBlock,
                                     kVramLatch,   kVramAddr,     kFineX,      kFineY,
                                     kWriteToggle, kPadReadIndex, kCycleCarry, kVramAddrWritten};
        const StateField field = fields[Below(std::size(fields))];
        for (std::size_t i = field.offset; i < field.end(); ++i) file[i] = Byte();
        break;
      }
    }
    return file;
  }

 private:
  uint32_t Below(std::size_t limit) { return static_cast<uint32_t>(random() % limit); }
  uint8_t Byte() { return static_cast<uint8_t>(random()); }

  std::vector<uint8_t> base;
  std::mt19937 random;
};

// The file as a load must have taken it: the bytes without meaning read back as zero.
StateBytes Meaningful(const std::vector<uint8_t>& file) {
  StateBytes bytes;
  std::memcpy(bytes.data(), file.data(), kStateSize);
  for (const StateField& field : {kAfterMapperNumber, kBoardBlock, kLatchBlockSpare}) {
    std::memset(bytes.data() + field.offset, 0, field.size);  // NROM keeps no board fields
  }
  return bytes;
}

using StateFuzzTest = test::SaveFileTest;

TEST_F(StateFuzzTest, EveryFileIsRefusedUntouchedOrLoadedAsItSays) {
  Begin();
  Frames(20);
  const StateBytes base = Encoded();
  StateMutator mutator(base, 20240);
  auto before = std::make_unique<MachineState>();
  int refused = 0;
  int accepted = 0;
  const int count = FuzzCount();
  for (int round = 0; round < count; ++round) {
    const std::vector<uint8_t> file = mutator.Next();
    std::memcpy(before.get(), machine.get(), sizeof(MachineState));
    if (DecodeState(file, *machine) != StateRefusal::kNone) {
      ++refused;
      ASSERT_EQ(std::memcmp(before.get(), machine.get(), sizeof(MachineState)), 0)
          << "a refused file changed the machine, round " << round;
      continue;
    }
    ++accepted;
    ASSERT_EQ(Encoded(), Meaningful(file)) << "round " << round;
    for (uint8_t cached : machine->prgBankCache) ASSERT_EQ(cached, kNoBankCached);
    if (accepted % kFramesEvery == 0) {
      Frame();
      ASSERT_FALSE(host->run.exitRequested);
      machine->haltRequested = 0;  // an opcode the mutation made up; the next frame goes on
    }
    ASSERT_EQ(DecodeState(base, *machine), StateRefusal::kNone);
  }
  EXPECT_EQ(refused + accepted, count);
  EXPECT_GT(refused, count / 4);
  EXPECT_GT(accepted, count / 4);
  std::printf("state files: %d refused, %d loaded\n", refused, accepted);
}

}  // namespace
}  // namespace wrenfold
