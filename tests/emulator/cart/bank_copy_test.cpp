#include "emulator/cart/bank_copy.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "tests/emulator/cart/synthetic_rom.h"

namespace wrenfold {
namespace {

using testing_support::AllBytesAre;

constexpr uint8_t kUntouched = 0xEE;

// Stores filled in the finest unit each side is switched in: every 8 KB of PRG holds its 8 KB
// bank number, every 1 KB of CHR its 1 KB bank number (both wrap at 256, which these images
// never reach).
class BankCopyTest : public ::testing::Test {
 protected:
  void UseImage(uint32_t prgBanks16k, uint32_t chrBanks8k) {
    machine_->header.prgBankCount = prgBanks16k;
    machine_->header.chrBankCount = chrBanks8k;
    for (std::size_t i = 0; i < sizeof machine_->prgRom; ++i) {
      machine_->prgRom[i] = static_cast<uint8_t>(i / kBank8k);
    }
    for (std::size_t i = 0; i < sizeof machine_->chrRom; ++i) {
      machine_->chrRom[i] = static_cast<uint8_t>(i / kBank1k);
    }
    std::memset(machine_->cpuMem, kUntouched, sizeof machine_->cpuMem);
    std::memset(machine_->ppuMem, kUntouched, sizeof machine_->ppuMem);
  }

  // Every 8 KB piece of `length` bytes at `cpuAddress` holds the given 8 KB bank.
  ::testing::AssertionResult CpuHolds(uint16_t cpuAddress, uint32_t length, uint8_t bank8k) {
    return AllBytesAre(machine_->cpuMem + cpuAddress, length, bank8k);
  }

  bool AnyDecodedPixel(uint32_t firstTile, uint32_t endTile) const {
    for (uint32_t i = firstTile * 64; i < endTile * 64; ++i) {
      if (machine_->patternCache[i] != 0) return true;
    }
    return false;
  }

  std::unique_ptr<MachineState> machine_ = std::make_unique<MachineState>();
};

struct PrgReductionCase {
  uint32_t prgBanks16k;
  uint32_t bankSize;
  uint32_t bank;
  uint8_t firstBank8k;  // what lands at $8000
};

class PrgReductionTest : public BankCopyTest,
                         public ::testing::WithParamInterface<PrgReductionCase> {};

TEST_P(PrgReductionTest, BankBeyondTheImageWrapsIntoIt) {
  const PrgReductionCase& c = GetParam();
  UseImage(c.prgBanks16k, 1);
  CopyPrgBank(*machine_, 0x8000, c.bankSize, c.bank);
  for (uint32_t piece = 0; piece < c.bankSize / kBank8k; ++piece) {
    EXPECT_TRUE(CpuHolds(static_cast<uint16_t>(0x8000 + piece * kBank8k), kBank8k,
                         static_cast<uint8_t>(c.firstBank8k + piece)));
  }
  if (c.bankSize < kBank32k) {
    EXPECT_EQ(machine_->cpuMem[0x8000 + c.bankSize], kUntouched);
  }
}

INSTANTIATE_TEST_SUITE_P(
    BankCopy, PrgReductionTest,
    ::testing::Values(PrgReductionCase{8, kBank16k, 9, 2},   // 16 KB bank 1
                      PrgReductionCase{8, kBank16k, 7, 14},  // the last bank as such
                      PrgReductionCase{8, kBank8k, 17, 1},
                      PrgReductionCase{8, kBank32k, 5, 4},  // 32 KB bank 1
                      PrgReductionCase{3, kBank32k, 1, 0},  // the odd 16 KB is unreachable
                      PrgReductionCase{64, kBank8k, 200, 72}));

TEST_F(BankCopyTest, ImageSmallerThanTheBankRepeatsToFillIt) {
  UseImage(1, 1);
  CopyPrgBank32k(*machine_, 0x8000, 3);
  EXPECT_TRUE(CpuHolds(0x8000, kBank8k, 0));
  EXPECT_TRUE(CpuHolds(0xA000, kBank8k, 1));
  EXPECT_TRUE(CpuHolds(0xC000, kBank8k, 0));
  EXPECT_TRUE(CpuHolds(0xE000, kBank8k, 1));
}

TEST_F(BankCopyTest, NoPrgDataCopiesNothing) {
  UseImage(0, 1);
  CopyPrgBank16k(*machine_, 0x8000, 0);
  CopyPrgBytes(*machine_, 0xC000, 0x1234, 0x4000);
  EXPECT_TRUE(CpuHolds(0x8000, 0x8000, kUntouched));
}

TEST_F(BankCopyTest, CorruptHeaderCountsStillReadInsideTheStores) {
  UseImage(255, 255);
  EXPECT_EQ(PrgDataSize(*machine_), sizeof machine_->prgRom);
  EXPECT_EQ(ChrDataSize(*machine_), sizeof machine_->chrRom);
  CopyPrgBank16k(*machine_, 0xC000, 0xFFFFFFFF);
  CopyChrBank8k(*machine_, 0x0000, 0xFFFFFFFF);
  CopyPrgBytes(*machine_, 0x8000, 0xFFFFF000, kBank16k);
  EXPECT_TRUE(CpuHolds(0xC000, kBank8k, 126));
}

TEST_F(BankCopyTest, ByteOffsetCopyWrapsAtTheEndOfTheImage) {
  UseImage(1, 1);
  CopyPrgBytes(*machine_, 0x8000, 0x3000, kBank8k);
  EXPECT_TRUE(CpuHolds(0x8000, 0x1000, 1));
  EXPECT_TRUE(CpuHolds(0x9000, 0x1000, 0));
  EXPECT_EQ(machine_->cpuMem[0xA000], kUntouched);
}

TEST_F(BankCopyTest, CopiesStopAtTheEndOfTheAddressSpace) {
  UseImage(4, 4);
  CopyPrgBytes(*machine_, 0xF000, 0, kBank32k);
  EXPECT_TRUE(CpuHolds(0xF000, 0x1000, 0));
  EXPECT_EQ(machine_->cpuMem[0x0000], kUntouched);

  CopyChrBank8k(*machine_, 0x3C00, 1);
  EXPECT_TRUE(AllBytesAre(machine_->ppuMem + 0x3C00, 0x400, 8));
  EXPECT_EQ(machine_->ppuMem[0x0000], kUntouched);
}

TEST_F(BankCopyTest, ChrBankIsReducedAndItsTilesAreDecoded) {
  UseImage(2, 2);  // sixteen 1 KB banks
  CopyChrBank1k(*machine_, 0x0400, 21);
  EXPECT_TRUE(AllBytesAre(machine_->ppuMem + 0x0400, kBank1k, 5));
  EXPECT_EQ(machine_->ppuMem[0x0800], kUntouched);
  // Tiles 64-127 cover $0400-$07FF; the rest of the cache was never decoded.
  EXPECT_TRUE(AnyDecodedPixel(64, 128));
  EXPECT_FALSE(AnyDecodedPixel(0, 64));
  EXPECT_FALSE(AnyDecodedPixel(128, 512));
}

TEST_F(BankCopyTest, EveryChrBankSizeLandsWhole) {
  UseImage(2, 4);                       // thirty-two 1 KB banks
  CopyChrBank2k(*machine_, 0x0800, 3);  // 1 KB banks 6, 7
  CopyChrBank4k(*machine_, 0x1000, 9);  // 4 KB bank 1: 1 KB banks 4-7
  EXPECT_TRUE(AllBytesAre(machine_->ppuMem + 0x0800, kBank1k, 6));
  EXPECT_TRUE(AllBytesAre(machine_->ppuMem + 0x0C00, kBank1k, 7));
  for (uint8_t k = 0; k < 4; ++k) {
    EXPECT_TRUE(AllBytesAre(machine_->ppuMem + 0x1000 + k * kBank1k, kBank1k, 4 + k));
  }
  CopyChrBank8k(*machine_, 0x0000, 6);  // 8 KB bank 2: 1 KB banks 16-23
  EXPECT_TRUE(AllBytesAre(machine_->ppuMem + 0x1C00, kBank1k, 23));
  EXPECT_TRUE(AnyDecodedPixel(500, 512));
}

TEST_F(BankCopyTest, ChrIntoANameTableSlotLeavesThePatternCacheAlone) {
  UseImage(2, 1);
  CopyChrBank1k(*machine_, 0x2400, 3);
  EXPECT_TRUE(AllBytesAre(machine_->ppuMem + 0x2400, kBank1k, 3));
  EXPECT_FALSE(AnyDecodedPixel(0, 512));
}

// Pattern RAM: the 8 KB store is switched in 1 KB pieces; a write reaches the store and every
// slot that shows the same piece, and a save state's ppuMem gives the store back its pieces.
TEST_F(BankCopyTest, PatternRamPiecesAreSwitchedAndWrittenThrough) {
  UseImage(2, 0);
  std::memset(machine_->chrRom, 0, kPatternRamSize);
  std::memset(machine_->ppuMem, 0, kPatternRamSize);
  ResetPatternRamMap(*machine_);
  for (uint16_t address = 0; address < kPatternRamSize; ++address) {
    WritePatternRam(*machine_, address, static_cast<uint8_t>(address >> 10));
  }
  CopyChrBank8k(*machine_, 0x0000, 1);  // 8 KB bank 1 of 8 KB is bank 0: nothing moves
  for (uint32_t slot = 0; slot < 8; ++slot) {
    EXPECT_TRUE(AllBytesAre(machine_->ppuMem + slot * kBank1k, kBank1k, slot));
  }
  CopyChrBank4k(*machine_, 0x0000, 1);  // the upper half in both pattern tables
  for (uint32_t slot = 0; slot < 8; ++slot) {
    EXPECT_TRUE(AllBytesAre(machine_->ppuMem + slot * kBank1k, kBank1k, 4 + slot % 4));
  }
  EXPECT_TRUE(AnyDecodedPixel(0, 64));
  WritePatternRam(*machine_, 0x0005, 0xAB);  // piece 4, shown at $0000 and $1000
  EXPECT_EQ(machine_->ppuMem[0x0005], 0xAB);
  EXPECT_EQ(machine_->ppuMem[0x1005], 0xAB);
  EXPECT_EQ(machine_->chrRom[4 * kBank1k + 5], 0xAB);
  CopyChrBank1k(*machine_, 0x2400, 3);  // name tables take no pattern RAM
  EXPECT_TRUE(AllBytesAre(machine_->ppuMem + 0x2400, kBank1k, kUntouched));

  std::memset(machine_->chrRom, 0, kPatternRamSize);  // a state restores ppuMem and the map
  RestorePatternRamStore(*machine_);
  CopyChrBank4k(*machine_, 0x0000, 0);  // pieces 0-3, shown nowhere, kept what the store held
  EXPECT_TRUE(AllBytesAre(machine_->ppuMem + kBank1k, kBank1k, 0));
  CopyChrBank4k(*machine_, 0x0000, 1);  // pieces 4-7 came back from the slots
  EXPECT_TRUE(AllBytesAre(machine_->ppuMem + kBank1k, kBank1k, 5));
  EXPECT_EQ(machine_->ppuMem[0x0005], 0xAB);
}

TEST_F(BankCopyTest, CachedPrgCopySkipsTheBankTheSlotAlreadyHolds) {
  UseImage(8, 1);
  ClearBankCaches(*machine_);
  EXPECT_TRUE(CopyPrgBank8kCached(*machine_, 1, 3));
  EXPECT_TRUE(CpuHolds(0xA000, kBank8k, 3));
  EXPECT_EQ(machine_->prgBankCache[1], 3);

  machine_->cpuMem[0xA000] = 0x55;  // a skipped copy leaves this mark
  EXPECT_FALSE(CopyPrgBank8kCached(*machine_, 1, 3));
  EXPECT_FALSE(CopyPrgBank8kCached(*machine_, 1, 3 + 16));  // the same bank after reduction
  EXPECT_EQ(machine_->cpuMem[0xA000], 0x55);

  EXPECT_TRUE(CopyPrgBank8kCached(*machine_, 1, 4));
  EXPECT_TRUE(CpuHolds(0xA000, kBank8k, 4));
  EXPECT_TRUE(CpuHolds(0x8000, kBank8k, kUntouched));
}

TEST_F(BankCopyTest, CachedChrCopySkipsAndRemembersPerSlot) {
  UseImage(2, 2);
  ClearBankCaches(*machine_);
  EXPECT_TRUE(CopyChrBank1kCached(*machine_, 7, 2));
  EXPECT_TRUE(AllBytesAre(machine_->ppuMem + 0x1C00, kBank1k, 2));
  EXPECT_EQ(machine_->chrBankCache[7], 2);
  EXPECT_FALSE(CopyChrBank1kCached(*machine_, 7, 2));
  EXPECT_TRUE(CopyChrBank1kCached(*machine_, 6, 2));
}

TEST_F(BankCopyTest, BanksThatDoNotFitTheCacheByteAreNeverSkipped) {
  UseImage(2, 64);  // 512 banks of 1 KB
  uint8_t entry = kNoBankCached;
  EXPECT_TRUE(CopyChrBankCached(*machine_, entry, 0x0000, kBank1k, 300));
  EXPECT_EQ(entry, kNoBankCached);
  EXPECT_TRUE(CopyChrBankCached(*machine_, entry, 0x0000, kBank1k, 300));
  EXPECT_TRUE(CopyChrBankCached(*machine_, entry, 0x0000, kBank1k, 255));
  EXPECT_TRUE(CopyChrBankCached(*machine_, entry, 0x0000, kBank1k, 255));
  EXPECT_TRUE(CopyChrBankCached(*machine_, entry, 0x0000, kBank1k, 254));
  EXPECT_FALSE(CopyChrBankCached(*machine_, entry, 0x0000, kBank1k, 254));
}

TEST_F(BankCopyTest, CachedCopyWithABoardsOwnCacheByte) {
  UseImage(4, 1);
  uint8_t ownCache[3] = {kNoBankCached, kNoBankCached, kNoBankCached};
  EXPECT_TRUE(CopyPrgBankCached(*machine_, ownCache[2], 0xC000, kBank8k, 5));
  EXPECT_EQ(ownCache[2], 5);
  EXPECT_TRUE(CpuHolds(0xC000, kBank8k, 5));
  EXPECT_FALSE(CopyPrgBankCached(*machine_, ownCache[2], 0xC000, kBank8k, 13));
}

TEST_F(BankCopyTest, ClearBankCachesForgetsEverySlot) {
  std::memset(machine_->prgBankCache, 1, sizeof machine_->prgBankCache);
  std::memset(machine_->chrBankCache, 1, sizeof machine_->chrBankCache);
  ClearBankCaches(*machine_);
  EXPECT_TRUE(AllBytesAre(machine_->prgBankCache, 4, kNoBankCached));
  EXPECT_TRUE(AllBytesAre(machine_->chrBankCache, 8, kNoBankCached));
}

}  // namespace
}  // namespace wrenfold
