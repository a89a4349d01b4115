#include "emulator/cart/rom_loader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "emulator/cart/board_table.h"
#include "emulator/host/log.h"
#include "tests/emulator/cart/synthetic_rom.h"

namespace wrenfold {
namespace {

using testing_support::AllBytesAre;
using testing_support::BuildInesImage;
using testing_support::ChrByte;
using testing_support::kFlagFourScreen;
using testing_support::kFlagTrainer;
using testing_support::kFlagVertical;
using testing_support::PrgByte;
using testing_support::RomImageSpec;
using testing_support::ScratchFolder;
using testing_support::TrainerByte;

// Marks every store and window before a load, so "left as it was" is visible.
constexpr uint8_t kUntouched = 0xEE;
constexpr int kKeep = -1;  // an 8 KB CPU slot the layout must not write

std::string IdentificationLines(int mapper, int prgBanks, int chrBanks) {
  return "ROM image identified as Mapper#" + std::to_string(mapper) +
         "\nROM bank:" + std::to_string(prgBanks) + "\nVROM bank:" + std::to_string(chrBanks) +
         "\n";
}

class RomLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLogPath(folder_.PathOf("wrenfold.tst"));
    ResetLog();
    std::memset(machine_->prgRom, kUntouched, sizeof machine_->prgRom);
    std::memset(machine_->chrRom, kUntouched, sizeof machine_->chrRom);
    std::memset(machine_->cpuMem, kUntouched, sizeof machine_->cpuMem);
    std::memset(machine_->ppuMem, kUntouched, sizeof machine_->ppuMem);
    machine_->cpuMem[0x2002] = 0;
  }
  void TearDown() override { SetLogPath(kDefaultLogPath); }

  int32_t LoadBytes(const std::vector<uint8_t>& bytes) {
    const std::string path = folder_.Write("game.nes", bytes);
    return LoadRomImage(*machine_, path.c_str());
  }
  int32_t Load(const RomImageSpec& spec) { return LoadBytes(BuildInesImage(spec)); }

  std::string Log() const { return ScratchFolder::ReadText(LogPath()); }

  // Each 8 KB slot of $8000-$FFFF holds the expected fill byte throughout, or kUntouched.
  void ExpectCpuWindow(const std::array<int, 4>& slots) const {
    for (int slot = 0; slot < 4; ++slot) {
      const uint8_t expected =
          slots[slot] == kKeep ? kUntouched : static_cast<uint8_t>(slots[slot]);
      EXPECT_TRUE(AllBytesAre(machine_->cpuMem + 0x8000 + slot * 0x2000, 0x2000, expected))
          << "slot $" << std::hex << 0x8000 + slot * 0x2000;
    }
  }

  void ExpectPatternTables(uint8_t expected) const {
    EXPECT_TRUE(AllBytesAre(machine_->ppuMem, 0x2000, expected));
  }

  // A copy of the whole record, to prove a rejected image changes nothing.
  std::unique_ptr<MachineState> Snapshot() const {
    auto copy = std::make_unique<MachineState>();
    std::memcpy(copy.get(), machine_.get(), sizeof(MachineState));
    return copy;
  }

  // Everything but the two bank caches, which every load resets first.
  void ExpectUnchangedSince(MachineState& before) const {
    std::memset(before.prgBankCache, 0xFF, sizeof before.prgBankCache);
    std::memset(before.chrBankCache, 0xFF, sizeof before.chrBankCache);
    EXPECT_EQ(std::memcmp(&before, machine_.get(), sizeof(MachineState)), 0);
  }

  ScratchFolder folder_;
  std::unique_ptr<MachineState> machine_ = std::make_unique<MachineState>();
};

TEST_F(RomLoaderTest, LogsTheThreeIdentificationLinesExactly) {
  ASSERT_EQ(Load({.mapper = 2, .prgBanks = 2, .chrBanks = 1}), kRomLoaded);
  EXPECT_EQ(Log(), IdentificationLines(2, 2, 1));
}

TEST_F(RomLoaderTest, DisTagDiscardsTheHighNibbleTheDContributes) {
  std::vector<uint8_t> image = BuildInesImage({.mapper = 2, .prgBanks = 2, .chrBanks = 1});
  image[7] = 'D';
  image[8] = 'i';
  image[9] = 's';
  ASSERT_EQ(LoadBytes(image), kRomLoaded);
  EXPECT_EQ(machine_->header.mapperNumber, 2);
  EXPECT_EQ(Log(), IdentificationLines(2, 2, 1));

  // Without the full tag the 'D' is a real high nibble: 0x40 | 2 = mapper 66.
  image[9] = 'x';
  ASSERT_EQ(LoadBytes(image), kRomLoaded);
  EXPECT_EQ(machine_->header.mapperNumber, 66);
}

TEST_F(RomLoaderTest, Mapper248IsLoggedAndRunAsMapper4) {
  ASSERT_EQ(Load({.mapper = 248, .prgBanks = 4, .chrBanks = 2}), kRomLoaded);
  EXPECT_EQ(machine_->header.mapperNumber, 4);
  EXPECT_EQ(Log(), IdentificationLines(4, 4, 2));
  ExpectCpuWindow({0, 0x40, 3, 0x43});
  ExpectPatternTables(ChrByte(0));
}

TEST_F(RomLoaderTest, BoardRegistersStartAtTheirPowerOnValues) {
  const auto load = [&](int mapper) -> const MachineState& {
    ResetMachineState(*machine_);
    EXPECT_EQ(Load({.mapper = mapper, .prgBanks = 2, .chrBanks = 1}), kRomLoaded) << mapper;
    return *machine_;
  };
  EXPECT_EQ(load(1).mapper.mmc1Regs[0], 0x0C);  // 16 KB banks, the last fixed at $C000
  const uint8_t mmc3Banks[8] = {0, 2, 4, 5, 6, 7, 0, 1};
  EXPECT_EQ(std::memcmp(load(4).mapper.mmc3Banks, mmc3Banks, 8), 0);
  EXPECT_EQ(load(118).oneScreenA, 1);
  EXPECT_EQ(load(118).irq.irqEnable, 0);
  EXPECT_EQ(load(4).oneScreenA, 0);
}

TEST_F(RomLoaderTest, Mapper225IsVerticalWhateverTheHeaderSays) {
  ASSERT_EQ(Load({.mapper = 225, .prgBanks = 2, .chrBanks = 1, .flags6 = 0}), kRomLoaded);
  EXPECT_EQ(machine_->header.mirrorVertical, 1u);

  ASSERT_EQ(Load({.mapper = 2, .prgBanks = 2, .chrBanks = 0, .flags6 = 0}), kRomLoaded);
  EXPECT_EQ(machine_->header.mirrorVertical, 0u);
  ASSERT_EQ(Load({.mapper = 2, .prgBanks = 2, .chrBanks = 0, .flags6 = kFlagVertical}), kRomLoaded);
  EXPECT_EQ(machine_->header.mirrorVertical, 1u);
}

TEST_F(RomLoaderTest, HeaderFlagsAndCountsReachTheHeaderRecord) {
  ASSERT_EQ(Load({.mapper = 3, .prgBanks = 8, .chrBanks = 4, .flags6 = 0x0B}), kRomLoaded);
  const CartridgeHeader& header = machine_->header;
  EXPECT_EQ(header.prgBankCount, 8u);
  EXPECT_EQ(header.chrBankCount, 4u);
  EXPECT_EQ(header.mirrorVertical, 1u);
  EXPECT_EQ(header.batteryFlag, 1u);
  EXPECT_EQ(header.trainerFlag, 0u);
  EXPECT_EQ(header.fourScreen, 1u);
  EXPECT_EQ(header.mapperNumber, 3);
  // The stores hold the data packed from offset 0.
  EXPECT_TRUE(AllBytesAre(machine_->prgRom + 7 * 0x4000 + 0x2000, 0x2000, PrgByte(7, true)));
  EXPECT_TRUE(AllBytesAre(machine_->chrRom + 3 * 0x2000, 0x2000, ChrByte(3)));
}

// Layouts that depend on the image size.
struct SmallImageCase {
  int mapper;
  int prgBanks;
  std::array<int, 4> slots;
};

class SmallImageLayoutTest : public RomLoaderTest,
                             public ::testing::WithParamInterface<SmallImageCase> {};

TEST_P(SmallImageLayoutTest, PlacesTheBanksTheBoardShowsAtPowerOn) {
  const SmallImageCase& c = GetParam();
  ASSERT_EQ(Load({.mapper = c.mapper, .prgBanks = c.prgBanks, .chrBanks = 1}), kRomLoaded);
  ExpectCpuWindow(c.slots);
}

INSTANTIATE_TEST_SUITE_P(
    RomLoader, SmallImageLayoutTest,
    ::testing::Values(
        // 16 KB NROM mirrors its bank; 32 KB shows both in order.
        SmallImageCase{0, 1, {0, 0x40, 0, 0x40}}, SmallImageCase{0, 2, {0, 0x40, 1, 0x41}},
        // CNROM: 16 KB only at $C000, 32 KB whole, anything larger gets no PRG at load.
        SmallImageCase{3, 1, {kKeep, kKeep, 0, 0x40}}, SmallImageCase{3, 2, {0, 0x40, 1, 0x41}},
        SmallImageCase{3, 4, {kKeep, kKeep, kKeep, kKeep}},
        SmallImageCase{2, 8, {0, 0x40, 7, 0x47}},
        // Windows larger than the image repeat it instead of reading past it.
        SmallImageCase{7, 1, {0, 0x40, 0, 0x40}}, SmallImageCase{241, 1, {0, 0x40, 0, 0x40}},
        SmallImageCase{241, 3, {1, 0x41, 2, 0x42}},
        SmallImageCase{19, 1, {kKeep, kKeep, kKeep, 0x40}},
        // An image without PRG data leaves the window alone.
        SmallImageCase{2, 0, {kKeep, kKeep, kKeep, kKeep}}));

TEST_F(RomLoaderTest, ChrRomSetsBit4OfThePpuStatusByte) {
  ASSERT_EQ(Load({.mapper = 0, .prgBanks = 1, .chrBanks = 1}), kRomLoaded);
  EXPECT_EQ(machine_->cpuMem[0x2002], 0x10);
}

TEST_F(RomLoaderTest, PatternRamLeavesThePpuStatusByteAlone) {
  ASSERT_EQ(Load({.mapper = 0, .prgBanks = 1, .chrBanks = 0}), kRomLoaded);
  EXPECT_EQ(machine_->cpuMem[0x2002], 0);
}

TEST_F(RomLoaderTest, TrainerLandsAt7000AndPrgIsReadAfterIt) {
  ASSERT_EQ(Load({.mapper = 0, .prgBanks = 2, .chrBanks = 1, .flags6 = kFlagTrainer}), kRomLoaded);
  for (std::size_t i = 0; i < 512; ++i) ASSERT_EQ(machine_->cpuMem[0x7000 + i], TrainerByte(i));
  EXPECT_EQ(machine_->cpuMem[0x7200], kUntouched);
  EXPECT_EQ(machine_->header.trainerFlag, 1u);
  // File offset 528 starts PRG bank 0; the CHR follows the PRG.
  EXPECT_TRUE(AllBytesAre(machine_->prgRom, 0x2000, PrgByte(0, false)));
  ExpectCpuWindow({0, 0x40, 1, 0x41});
  ExpectPatternTables(ChrByte(0));
}

// The board's name-table registers start on the console's pages 0, 0, 1, 1 whatever the header
// says, and no bank is known to stand in $8000-$DFFF.
TEST_F(RomLoaderTest, Mapper19StartsHorizontalAndShowsTheLastBanks) {
  ASSERT_EQ(Load({.mapper = 19, .prgBanks = 4, .chrBanks = 3, .flags6 = kFlagFourScreen | 1}),
            kRomLoaded);
  EXPECT_EQ(machine_->header.fourScreen, 0u);
  EXPECT_EQ(machine_->header.mirrorVertical, 0u);
  ExpectCpuWindow({kKeep, kKeep, kKeep, 0x43});
  ExpectPatternTables(ChrByte(2));
  EXPECT_TRUE(AllBytesAre(machine_->prgBankCache, 4, 0xFF));
  EXPECT_TRUE(AllBytesAre(machine_->chrBankCache, 8, 0xFF));
  const uint8_t pages[4] = {0xE0, 0xE0, 0xE1, 0xE1};
  EXPECT_EQ(std::memcmp(machine_->mapper.namcoNtRegs, pages, 4), 0);
}

TEST_F(RomLoaderTest, Mapper184ShowsTheSecond8kOfChr) {
  ASSERT_EQ(Load({.mapper = 184, .prgBanks = 2, .chrBanks = 2}), kRomLoaded);
  ExpectPatternTables(ChrByte(1));
}

TEST_F(RomLoaderTest, PatternRamBoardsThatAlwaysLoadChrStartClear) {
  ASSERT_EQ(Load({.mapper = 3, .prgBanks = 2, .chrBanks = 0}), kRomLoaded);
  ExpectPatternTables(0);
}

TEST_F(RomLoaderTest, PatternRamBoardsThatLoadOnlyChrRomLeaveThePatternTables) {
  ASSERT_EQ(Load({.mapper = 2, .prgBanks = 2, .chrBanks = 0}), kRomLoaded);
  ExpectPatternTables(kUntouched);
}

TEST_F(RomLoaderTest, BankCachesStartEmptyExceptWhereTheBoardPresetsThem) {
  std::memset(machine_->prgBankCache, 0, 4);
  std::memset(machine_->chrBankCache, 0, 8);
  ASSERT_EQ(Load({.mapper = 2, .prgBanks = 2, .chrBanks = 0}), kRomLoaded);
  EXPECT_TRUE(AllBytesAre(machine_->prgBankCache, 4, 0xFF));
  EXPECT_TRUE(AllBytesAre(machine_->chrBankCache, 8, 0xFF));

  ASSERT_EQ(Load({.mapper = 33, .prgBanks = 2, .chrBanks = 1}), kRomLoaded);
  const uint8_t prgCache[4] = {0, 1, 0xFF, 0xFF};
  EXPECT_EQ(std::memcmp(machine_->prgBankCache, prgCache, 4), 0);
}

TEST_F(RomLoaderTest, LoadingClearsOneScreenB) {
  machine_->oneScreenB = 1;
  ASSERT_EQ(Load({.mapper = 7, .prgBanks = 2, .chrBanks = 0}), kRomLoaded);
  EXPECT_EQ(machine_->oneScreenB, 0);
}

TEST_F(RomLoaderTest, BytesAfterTheChrDataAreIgnored) {
  std::vector<uint8_t> image = BuildInesImage({.mapper = 0, .prgBanks = 1, .chrBanks = 1});
  image.insert(image.end(), 5000, 0x77);
  ASSERT_EQ(LoadBytes(image), kRomLoaded);
  EXPECT_EQ(machine_->chrRom[0x2000], kUntouched);
}

TEST_F(RomLoaderTest, TheLargestImageTheStoresHoldLoadsWhole) {
  ASSERT_EQ(Load({.mapper = 2, .prgBanks = 64, .chrBanks = 64}), kRomLoaded);
  EXPECT_EQ(machine_->prgRom[sizeof machine_->prgRom - 1], PrgByte(63, true));
  EXPECT_EQ(machine_->chrRom[sizeof machine_->chrRom - 1], ChrByte(63));
  ExpectCpuWindow({0, 0x40, 63, 63 | 0x40});
}

class UnsupportedMapperTest : public RomLoaderTest, public ::testing::WithParamInterface<int> {};

TEST_P(UnsupportedMapperTest, FillsTheStoresButLaysNothingOut) {
  const int mapper = GetParam();
  ASSERT_EQ(Load({.mapper = mapper, .prgBanks = 2, .chrBanks = 1}), kRomUnsupportedMapper);
  EXPECT_EQ(Log(), IdentificationLines(mapper, 2, 1));
  EXPECT_TRUE(AllBytesAre(machine_->prgRom + 0x4000, 0x2000, PrgByte(1, false)));
  ExpectCpuWindow({kKeep, kKeep, kKeep, kKeep});
  ExpectPatternTables(kUntouched);
}

INSTANTIATE_TEST_SUITE_P(RomLoader, UnsupportedMapperTest, ::testing::Values(9, 13, 20, 67, 255));

TEST_F(RomLoaderTest, MissingFileReturns255AfterResettingTheCaches) {
  std::memset(machine_->prgBankCache, 0, 4);
  std::memset(machine_->chrBankCache, 0, 8);
  EXPECT_EQ(LoadRomImage(*machine_, folder_.PathOf("absent.nes").c_str()), kRomOpenFailed);
  EXPECT_TRUE(AllBytesAre(machine_->prgBankCache, 4, 0xFF));
  EXPECT_TRUE(AllBytesAre(machine_->chrBankCache, 8, 0xFF));
  EXPECT_EQ(Log(), "");
}

TEST_F(RomLoaderTest, AFolderOrNoPathCannotBeOpened) {
  EXPECT_EQ(LoadRomImage(*machine_, folder_.PathOf("").c_str()), kRomOpenFailed);
  EXPECT_EQ(LoadRomImage(*machine_, nullptr), kRomOpenFailed);
}

TEST_F(RomLoaderTest, WrongMagicReturns254AndChangesNothing) {
  std::vector<uint8_t> image = BuildInesImage({.mapper = 0, .prgBanks = 1, .chrBanks = 1});
  image[2] = 'Z';
  const auto before = Snapshot();
  EXPECT_EQ(LoadBytes(image), kRomBadMagic);
  ExpectUnchangedSince(*before);
  EXPECT_EQ(Log(), "");
}

TEST_F(RomLoaderTest, FilesTooShortToHoldTheMagicHaveTheWrongMagic) {
  EXPECT_EQ(LoadBytes({}), kRomBadMagic);
  EXPECT_EQ(LoadBytes({'N', 'E'}), kRomBadMagic);
}

TEST_F(RomLoaderTest, ByteThreeIsNotExamined) {
  std::vector<uint8_t> image = BuildInesImage({.mapper = 0, .prgBanks = 1, .chrBanks = 0});
  image[3] = 0;
  EXPECT_EQ(LoadBytes(image), kRomLoaded);
}

TEST_F(RomLoaderTest, TooManyBanksAreRejectedBeforeAnythingIsRead) {
  for (const auto& [prg, chr] : {std::pair{65, 1}, std::pair{1, 65}, std::pair{255, 255}}) {
    SCOPED_TRACE(std::to_string(prg) + " PRG, " + std::to_string(chr) + " CHR");
    ResetLog();
    const auto before = Snapshot();
    // Only the header and one bank: the loader must not try to read what the header claims.
    std::vector<uint8_t> image =
        testing_support::BuildInesHeader({.prgBanks = prg, .chrBanks = chr});
    image.insert(image.end(), 0x4000, 0x33);
    EXPECT_EQ(LoadBytes(image), kRomTooManyBanks);
    ExpectUnchangedSince(*before);
    EXPECT_EQ(Log(), IdentificationLines(0, prg, chr) +
                         "ROM header asks for more banks than the cartridge stores hold\n");
  }
}

struct TruncationCase {
  const char* where;
  RomImageSpec spec;
  std::size_t keptBytes;
};

class TruncatedImageTest : public RomLoaderTest,
                           public ::testing::WithParamInterface<TruncationCase> {};

TEST_P(TruncatedImageTest, IsRejectedAndChangesNothing) {
  const TruncationCase& c = GetParam();
  std::vector<uint8_t> image = BuildInesImage(c.spec);
  ASSERT_LT(c.keptBytes, image.size());
  image.resize(c.keptBytes);
  const auto before = Snapshot();
  EXPECT_EQ(LoadBytes(image), kRomTruncated);
  ExpectUnchangedSince(*before);
  EXPECT_NE(Log().find("ROM image is shorter than its header says\n"), std::string::npos);
}

constexpr RomImageSpec kTrainerImage{
    .mapper = 1, .prgBanks = 2, .chrBanks = 2, .flags6 = kFlagTrainer};
constexpr RomImageSpec kPlainImage{.mapper = 1, .prgBanks = 2, .chrBanks = 2};

INSTANTIATE_TEST_SUITE_P(
    RomLoader, TruncatedImageTest,
    ::testing::Values(TruncationCase{"header", kPlainImage, 10},
                      TruncationCase{"header only", kPlainImage, 16},
                      TruncationCase{"trainer", kTrainerImage, 16 + 300},
                      TruncationCase{"first PRG bank", kTrainerImage, 528 + 100},
                      TruncationCase{"last PRG bank", kPlainImage, 16 + 0x8000 - 1},
                      TruncationCase{"first CHR bank", kPlainImage, 16 + 0x8000 + 1},
                      TruncationCase{"last CHR byte", kTrainerImage, 528 + 0x8000 + 0x4000 - 1}),
    [](const ::testing::TestParamInfo<TruncationCase>& info) {
      std::string name = info.param.where;
      for (char& ch : name) {
        if (ch == ' ') ch = '_';
      }
      return name;
    });

// Every mapper number the loader runs.
std::vector<int> SupportedMappers() {
  std::vector<int> mappers;
  for (int mapper = 0; mapper < 256; ++mapper) {
    if (IsSupportedMapper(static_cast<uint8_t>(mapper))) mappers.push_back(mapper);
  }
  return mappers;
}

// The 8 KB piece of a 12-bank PRG image (bank 7 and the last bank differ) or of a 4-bank CHR
// image whose fill byte `value` is, or -1.
int PrgPieceOf(uint8_t value) {
  for (int bank = 0; bank < 12; ++bank) {
    for (const bool upper : {false, true}) {
      if (value == PrgByte(bank, upper)) return 2 * bank + (upper ? 1 : 0);
    }
  }
  return -1;
}

bool IsChrPiece(uint8_t value) {
  for (int bank = 0; bank < 4; ++bank) {
    if (value == ChrByte(bank)) return true;
  }
  return false;
}

class SupportedBoardTest : public RomLoaderTest, public ::testing::WithParamInterface<int> {};

// Whatever a board shows at power-on is made of whole pieces of the image: every 8 KB CPU slot
// is one piece of the PRG data or left alone, every 1 KB of the pattern tables one piece of the
// CHR data or left alone (boards whose latches pick the pattern banks later). The slot of the
// reset vector is filled, so the CPU starts in the cartridge, on every board but CNROM, which
// lays out nothing for images larger than 32 KB.
TEST_P(SupportedBoardTest, PowerOnShowsWholePiecesOfTheImage) {
  const int mapper = GetParam();
  ASSERT_EQ(Load({.mapper = mapper, .prgBanks = 12, .chrBanks = 4}), kRomLoaded);
  for (int slot = 0; slot < 4; ++slot) {
    const uint8_t* window = machine_->cpuMem + 0x8000 + slot * 0x2000;
    SCOPED_TRACE("slot $" + std::to_string(0x8000 + slot * 0x2000));
    EXPECT_TRUE(AllBytesAre(window, 0x2000, window[0]));
    EXPECT_TRUE(window[0] == kUntouched || PrgPieceOf(window[0]) >= 0);
  }
  EXPECT_EQ(machine_->cpuMem[0xFFFC] == kUntouched, mapper == 3);
  for (int piece = 0; piece < 8; ++piece) {
    const uint8_t* pattern = machine_->ppuMem + piece * 0x400;
    EXPECT_TRUE(AllBytesAre(pattern, 0x400, pattern[0])) << "pattern piece " << piece;
    EXPECT_TRUE(pattern[0] == kUntouched || IsChrPiece(pattern[0])) << "pattern piece " << piece;
  }
}

INSTANTIATE_TEST_SUITE_P(RomLoader, SupportedBoardTest, ::testing::ValuesIn(SupportedMappers()),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Mapper" + std::to_string(info.param);
                         });

// The loader and the supported-mapper test the diagnosis uses agree on every number, and the
// table still holds the sixty-odd boards the emulator is made for.
TEST_F(RomLoaderTest, LoadsExactlyTheSupportedMappers) {
  for (int mapper = 0; mapper < 256; ++mapper) {
    const int32_t result = Load({.mapper = mapper, .prgBanks = 2, .chrBanks = 1});
    EXPECT_EQ(result,
              IsSupportedMapper(static_cast<uint8_t>(mapper)) ? kRomLoaded : kRomUnsupportedMapper)
        << "mapper " << mapper;
  }
  EXPECT_GE(SupportedMappers().size(), 60u);
}

}  // namespace
}  // namespace wrenfold
