#include "emulator/cart/write_bus.h"

#include <gtest/gtest.h>

#include <memory>

#include "emulator/cpu/read_bus.h"

namespace wrenfold {
namespace {

constexpr uint8_t kMapperWithDefaultLowRange = 2;

class WriteBusTest : public ::testing::Test {
 protected:
  std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
};

// --- RAM and cartridge space ---

TEST_F(WriteBusTest, RamMirrorsWriteTheRamTheyMirror) {
  WriteBus(*machine, 0x0801, 0x12);
  WriteBus(*machine, 0x1FFF, 0x34);
  EXPECT_EQ(machine->cpuMem[0x0001], 0x12);
  EXPECT_EQ(machine->cpuMem[0x07FF], 0x34);
  EXPECT_EQ(machine->cpuMem[0x0801], 0);
  EXPECT_EQ(machine->cpuMem[0x1FFF], 0);
}

TEST_F(WriteBusTest, ProgramWindowIsNeverWrittenDirectly) {
  machine->cpuMem[0x8000] = 0xAA;
  WriteBus(*machine, 0x8000, 0x55);
  EXPECT_EQ(machine->cpuMem[0x8000], 0xAA);
}

struct LowRangeCase {
  uint8_t mapperNumber;
  uint16_t address;
  bool stored;
};

class LowRangeTest : public WriteBusTest, public ::testing::WithParamInterface<LowRangeCase> {};

TEST_P(LowRangeTest, LowRangeHandlerDecidesWhatIsStored) {
  const LowRangeCase& param = GetParam();
  machine->header.mapperNumber = param.mapperNumber;
  machine->cpuMem[param.address] = 0x11;
  WriteBus(*machine, param.address, 0x55);
  EXPECT_EQ(machine->cpuMem[param.address], param.stored ? 0x55 : 0x11);
}

INSTANTIATE_TEST_SUITE_P(
    MapperZeroAndDefault, LowRangeTest,
    ::testing::Values(LowRangeCase{0, 0x2008, true}, LowRangeCase{0, 0x3FFF, true},
                      LowRangeCase{0, 0x5000, true}, LowRangeCase{0, 0x6000, true},
                      LowRangeCase{kMapperWithDefaultLowRange, 0x2008, false},
                      LowRangeCase{kMapperWithDefaultLowRange, 0x5000, false},
                      LowRangeCase{kMapperWithDefaultLowRange, 0x5FFF, false},
                      LowRangeCase{kMapperWithDefaultLowRange, 0x6000, true},
                      LowRangeCase{kMapperWithDefaultLowRange, 0x7FFF, true},
                      LowRangeCase{19, 0x6FFF, true}, LowRangeCase{19, 0x7FFF, true},
                      LowRangeCase{19, 0x5FFF, false}));

TEST_F(WriteBusTest, WriteAt2008IsNotAPpuControlWrite) {
  WriteBus(*machine, 0x2008, 0x03);
  EXPECT_EQ(machine->cpuMem[0x2000], 0);
  EXPECT_EQ(machine->ppu.vramLatch, 0);
}

TEST_F(WriteBusTest, StatusWriteOverwritesTheStatusOnlyWithMapperZero) {
  machine->cpuMem[0x2002] = 0x80;
  WriteBus(*machine, 0x2002, 0x00);
  EXPECT_EQ(CpuRead(*machine, 0x2002), 0x00);

  machine->header.mapperNumber = kMapperWithDefaultLowRange;
  machine->cpuMem[0x2002] = 0x80;
  WriteBus(*machine, 0x2002, 0x00);
  EXPECT_EQ(CpuRead(*machine, 0x2002), 0x80);
}

// --- PPU registers ---

TEST_F(WriteBusTest, ControlWriteSelectsTheNameTableInTheLatch) {
  machine->ppu.vramLatch = 0x7FFF;
  WriteBus(*machine, 0x2000, 0x82);
  EXPECT_EQ(machine->cpuMem[0x2000], 0x82);
  EXPECT_EQ(machine->ppu.vramLatch, 0x7BFF);
}

TEST_F(WriteBusTest, SpriteDataWritesAdvanceAndWrapTheSpriteAddress) {
  WriteBus(*machine, 0x2003, 0xFF);
  WriteBus(*machine, 0x2004, 0xA1);
  WriteBus(*machine, 0x2004, 0xA2);
  EXPECT_EQ(machine->oam[0xFF], 0xA1);
  EXPECT_EQ(machine->oam[0x00], 0xA2);
  EXPECT_EQ(machine->cpuMem[0x2003], 0x01);
}

// The scroll and address registers act alike in vblank and while the picture is drawn: they
// write the latch t, and the second $2006 write copies t into the address v at once.
class ScrollRegisterTest : public WriteBusTest, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(ScrollRegisterTest, AddressPairFillsTheLatchThenCopiesItIntoTheAddress) {
  machine->vblankPhase = GetParam();
  machine->ppu.vramLatch = 0x7234;  // fine Y 7, among other bits
  machine->ppu.vramAddr = 0x0123;
  WriteBus(*machine, 0x2006, 0xFF);  // bits 8-13 from the value; bit 14 cleared
  EXPECT_EQ(machine->ppu.vramLatch, 0x3F34);
  EXPECT_EQ(machine->ppu.vramAddr, 0x0123);
  WriteBus(*machine, 0x2006, 0x00);
  EXPECT_EQ(machine->ppu.vramLatch, 0x3F00);
  EXPECT_EQ(machine->ppu.vramAddr, 0x3F00);
  EXPECT_EQ(machine->ppu.fineY, 3);  // v's fine Y: bits 12-14 of $3F00
  EXPECT_EQ(machine->ppu.writeToggle, 0);
  EXPECT_EQ(machine->ppu.vramAddrWritten, 1);
}

TEST_P(ScrollRegisterTest, ScrollPairSetsTheLatchAndFineXButNotTheAddress) {
  machine->vblankPhase = GetParam();
  machine->ppu.vramLatch = 0x0C00;  // name-table bits survive
  machine->ppu.vramAddr = 0x0123;
  WriteBus(*machine, 0x2005, 0x7D);  // coarse X 15, fine X 5
  EXPECT_EQ(machine->ppu.vramLatch, 0x0C0F);
  EXPECT_EQ(machine->ppu.fineX, 5);
  EXPECT_EQ(machine->ppu.writeToggle, 1);
  WriteBus(*machine, 0x2005, 0xEE);  // coarse Y 29, fine Y 6
  EXPECT_EQ(machine->ppu.vramLatch, 0x6C0F | (29 << 5));
  EXPECT_EQ(machine->ppu.writeToggle, 0);
  EXPECT_EQ(machine->ppu.vramAddr, 0x0123);
}

INSTANTIATE_TEST_SUITE_P(InVblankAndMidFrame, ScrollRegisterTest, ::testing::Values(1, 0));

// The split of a status bar or a raster effect: $2006, $2005, $2005, $2006 mid-frame sets the
// name table, coarse and fine Y and coarse X of the scroll at once.
TEST_F(WriteBusTest, MidFrameSplitSequenceSetsEveryPartOfTheScroll) {
  machine->vblankPhase = 0;
  WriteBus(*machine, 0x2006, 0x08);  // name table 2
  WriteBus(*machine, 0x2005, 0x4B);  // Y 75: coarse Y 9, fine Y 3
  WriteBus(*machine, 0x2005, 0x20);  // X 32: coarse X 4, fine X 0
  WriteBus(*machine, 0x2006, 0x24);  // coarse X 4, low bits of coarse Y; v := t
  EXPECT_EQ(machine->ppu.vramAddr, 0x3000 | 0x0800 | (9 << 5) | 4);
  EXPECT_EQ(machine->ppu.fineY, 3);
  EXPECT_EQ(machine->ppu.fineX, 0);
}

TEST_F(WriteBusTest, ScrollAndAddressShareOneToggle) {
  machine->vblankPhase = 1;
  WriteBus(*machine, 0x2005, 0x00);
  WriteBus(*machine, 0x2006, 0x21);  // taken as the second write of the pair
  EXPECT_EQ(machine->ppu.vramAddr, 0x0021);
  EXPECT_EQ(machine->ppu.writeToggle, 0);
}

TEST_F(WriteBusTest, DataWritesStoreAndStep) {
  machine->ppu.vramAddr = 0x0100;
  WriteBus(*machine, 0x2007, 0x99);
  EXPECT_EQ(machine->ppuMem[0x0100], 0x99);
  EXPECT_EQ(machine->ppu.vramAddr, 0x0101);
  EXPECT_EQ(machine->patternDirty, 1);
}

// The address is the low 14 bits of v; the step carries on into bit 14, its fine Y bit 2.
TEST_F(WriteBusTest, DataWriteStepOf32WrapsAtTheEndOfPpuSpace) {
  machine->cpuMem[0x2000] = 0x04;
  machine->ppu.vramAddr = 0x3FF0;
  WriteBus(*machine, 0x2007, 0x21);
  EXPECT_EQ(machine->paletteRam[0x10], 0x21);  // $3FF0 is the backdrop mirror
  EXPECT_EQ(machine->ppu.vramAddr, 0x4010);
  WriteBus(*machine, 0x2007, 0x33);
  EXPECT_EQ(machine->ppuMem[0x0010], 0x33);
}

TEST_F(WriteBusTest, DataWritesToNameTablesReachTheirMirror) {
  machine->header.mirrorVertical = 1;
  machine->ppu.vramAddr = 0x2001;
  WriteBus(*machine, 0x2007, 0x44);
  EXPECT_EQ(machine->ppuMem[0x2001], 0x44);
  EXPECT_EQ(machine->ppuMem[0x2801], 0x44);
}

// --- sprite DMA and joypads ---

TEST_F(WriteBusTest, SpriteDmaCopiesOnePage) {
  for (int i = 0; i < 256; ++i) machine->cpuMem[0x0200 + i] = static_cast<uint8_t>(i ^ 0x5A);
  machine->cpuMem[0x2003] = 0x10;
  WriteBus(*machine, 0x4014, 0x02);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(machine->oam[i], i ^ 0x5A) << i;
  EXPECT_EQ(machine->cpuMem[0x2003], 0x10);
}

TEST_F(WriteBusTest, SpriteDmaFromARamMirrorCopiesTheRam) {
  for (int i = 0; i < 256; ++i) machine->cpuMem[0x0300 + i] = static_cast<uint8_t>(i);
  WriteBus(*machine, 0x4014, 0x0B);  // $0B00 mirrors $0300
  for (int i = 0; i < 256; ++i) ASSERT_EQ(machine->oam[i], i) << i;
}

TEST_F(WriteBusTest, SpriteDmaFromProgramSpaceIsARawCopy) {
  machine->cpuMem[0xFF00] = 0x12;
  machine->cpuMem[0xFFFF] = 0x34;
  WriteBus(*machine, 0x4014, 0xFF);
  EXPECT_EQ(machine->oam[0x00], 0x12);
  EXPECT_EQ(machine->oam[0xFF], 0x34);
}

TEST_F(WriteBusTest, StrobeWithBitZeroRestartsBothPads) {
  machine->padReadIndex[0] = 5;
  machine->padReadIndex[1] = 7;
  WriteBus(*machine, 0x4016, 0x01);
  EXPECT_EQ(machine->cpuMem[0x4016], 0x01);
  EXPECT_EQ(machine->padReadIndex[0], 0);
  EXPECT_EQ(machine->padReadIndex[1], 0);

  CpuRead(*machine, 0x4016);
  CpuRead(*machine, 0x4017);
  WriteBus(*machine, 0x4016, 0x00);
  EXPECT_EQ(machine->cpuMem[0x4016], 0x00);
  EXPECT_EQ(machine->padReadIndex[0], 1);
  EXPECT_EQ(machine->padReadIndex[1], 1);
}

// --- APU register images and change flags ---

TEST_F(WriteBusTest, DmcLevelZeroIsStoredAsMidLevelExceptOnMapperZero) {
  machine->header.mapperNumber = kMapperWithDefaultLowRange;
  WriteBus(*machine, 0x4011, 0x00);
  EXPECT_EQ(machine->cpuMem[0x4011], 0x80);
  EXPECT_EQ(machine->apuFlags.dmcWritten, 1);

  // Mapper 0's low-range handler stores every address again, with the value as written.
  machine->header.mapperNumber = 0;
  WriteBus(*machine, 0x4011, 0x00);
  EXPECT_EQ(machine->cpuMem[0x4011], 0x00);
}

constexpr uint32_t kSq1 = 1;
constexpr uint32_t kSq1Sweep = 2;
constexpr uint32_t kSq2 = 4;
constexpr uint32_t kSq2Sweep = 8;
constexpr uint32_t kTri = 16;
constexpr uint32_t kNoise = 32;
constexpr uint32_t kDmc = 64;

struct ApuFlagCase {
  const char* name;
  uint16_t address;
  uint8_t storedBefore;
  uint8_t value;
  uint32_t flagsBefore;  // for the flags a write may clear
  uint32_t flagsAfter;
};

void SetFlags(ApuWriteFlags& flags, uint32_t bits) {
  flags.sq1Written = (bits & kSq1) != 0;
  flags.sq1SweepWritten = (bits & kSq1Sweep) != 0;
  flags.sq2Written = (bits & kSq2) != 0;
  flags.sq2SweepWritten = (bits & kSq2Sweep) != 0;
  flags.triWritten = (bits & kTri) != 0;
  flags.noiseWritten = (bits & kNoise) != 0;
  flags.dmcWritten = (bits & kDmc) != 0;
}

uint32_t GetFlags(const ApuWriteFlags& flags) {
  return (flags.sq1Written ? kSq1 : 0u) | (flags.sq1SweepWritten ? kSq1Sweep : 0u) |
         (flags.sq2Written ? kSq2 : 0u) | (flags.sq2SweepWritten ? kSq2Sweep : 0u) |
         (flags.triWritten ? kTri : 0u) | (flags.noiseWritten ? kNoise : 0u) |
         (flags.dmcWritten ? kDmc : 0u);
}

class ApuFlagTest : public WriteBusTest, public ::testing::WithParamInterface<ApuFlagCase> {};

TEST_P(ApuFlagTest, WriteStoresTheValueAndRaisesTheChannelsFlags) {
  const ApuFlagCase& param = GetParam();
  machine->header.mapperNumber = kMapperWithDefaultLowRange;
  machine->cpuMem[param.address] = param.storedBefore;
  SetFlags(machine->apuFlags, param.flagsBefore);
  WriteBus(*machine, param.address, param.value);
  EXPECT_EQ(machine->cpuMem[param.address], param.value);
  EXPECT_EQ(GetFlags(machine->apuFlags), param.flagsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Channels, ApuFlagTest,
    ::testing::Values(ApuFlagCase{"Sq1Unchanged", 0x4000, 0x3F, 0x3F, 0, 0},
                      ApuFlagCase{"Sq1Changed", 0x4002, 0x00, 0x80, 0, kSq1},
                      ApuFlagCase{"Sq1SweepUnchanged", 0x4001, 0x88, 0x88, 0, kSq1Sweep},
                      ApuFlagCase{"Sq1LengthRestarts", 0x4003, 0x08, 0x08, kSq1Sweep, kSq1},
                      ApuFlagCase{"Sq2Unchanged", 0x4004, 0x3F, 0x3F, 0, 0},
                      ApuFlagCase{"Sq2SweepChanged", 0x4005, 0x00, 0x88, 0, kSq2 | kSq2Sweep},
                      ApuFlagCase{"Sq2LengthRestarts", 0x4007, 0x08, 0x08, kSq2Sweep, kSq2},
                      ApuFlagCase{"TriangleAlways", 0x400A, 0x10, 0x10, 0, kTri},
                      ApuFlagCase{"NoiseUnchanged", 0x400E, 0x05, 0x05, 0, 0},
                      ApuFlagCase{"NoiseChanged", 0x400C, 0x00, 0x1F, 0, kNoise},
                      ApuFlagCase{"NoiseLengthAlways", 0x400F, 0x08, 0x08, 0, kNoise},
                      ApuFlagCase{"DmcControl", 0x4010, 0x0F, 0x0F, 0, kDmc},
                      ApuFlagCase{"DmcAddressOnlyStores", 0x4012, 0x00, 0x40, 0, 0},
                      ApuFlagCase{"DmcLengthOnlyStores", 0x4013, 0x00, 0x40, 0, 0}),
    [](const ::testing::TestParamInfo<ApuFlagCase>& info) { return info.param.name; });

TEST_F(WriteBusTest, NoiseLengthCodeStartsFromTheValueWritten) {
  machine->cpuMem[0x400F] = 0xF8;  // a previous, longer note
  WriteBus(*machine, 0x400F, 0x18);
  EXPECT_EQ(machine->apuFlags.noiseLengthCode, (0x18 >> 3) + 4);
}

// --- expansion sound ports ---

TEST_F(WriteBusTest, Mapper19SoundPortFillsConsecutiveBytesAndWraps) {
  machine->header.mapperNumber = 19;
  WriteBus(*machine, 0xF800, 0xFE);  // auto-increment from $7E
  EXPECT_EQ(machine->mapper.namcoAddrCtrl, 0xFE);
  EXPECT_EQ(machine->mapper.namcoRamAddr, 0x7E);
  WriteBus(*machine, 0x4800, 0x01);
  WriteBus(*machine, 0x4800, 0x02);
  WriteBus(*machine, 0x4800, 0x03);
  EXPECT_EQ(machine->namcoRam[0x7E], 0x01);
  EXPECT_EQ(machine->namcoRam[0x7F], 0x02);
  EXPECT_EQ(machine->namcoRam[0x00], 0x03);
  EXPECT_EQ(machine->mapper.namcoRamAddr, 0x01);
  EXPECT_EQ(CpuRead(*machine, 0x4800), 0);
}

TEST_F(WriteBusTest, Mapper19SoundPortWithoutAutoIncrementStays) {
  machine->header.mapperNumber = 19;
  WriteBus(*machine, 0xF7FF, 0x85);  // below the address register
  EXPECT_EQ(machine->mapper.namcoAddrCtrl, 0);
  WriteBus(*machine, 0xFFFF, 0x10);
  WriteBus(*machine, 0x4800, 0x01);
  WriteBus(*machine, 0x4800, 0x02);
  EXPECT_EQ(machine->namcoRam[0x10], 0x02);
  EXPECT_EQ(machine->namcoRam[0x11], 0x00);
  EXPECT_EQ(CpuRead(*machine, 0x4800), 0x02);
}

TEST_F(WriteBusTest, Mapper24StoresTheThreeSoundRegisterGroups) {
  machine->header.mapperNumber = 24;
  WriteBus(*machine, 0x9000, 0x01);
  WriteBus(*machine, 0x9002, 0x02);
  WriteBus(*machine, 0xA001, 0x03);
  WriteBus(*machine, 0xB002, 0x04);
  WriteBus(*machine, 0x9003, 0xEE);  // not a sound register
  WriteBus(*machine, 0xB100, 0xEE);
  const uint8_t expected[12] = {0x01, 0, 0x02, 0, 0, 0x03, 0, 0, 0, 0, 0x04, 0};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(machine->mapper.vrc6SoundRegs[i], expected[i]) << i;
}

TEST_F(WriteBusTest, OtherMappersIgnoreTheSoundPorts) {
  machine->header.mapperNumber = kMapperWithDefaultLowRange;
  WriteBus(*machine, 0xF800, 0x80);
  WriteBus(*machine, 0x4800, 0x01);
  WriteBus(*machine, 0x9000, 0x01);
  EXPECT_EQ(machine->mapper.namcoAddrCtrl, 0);
  EXPECT_EQ(machine->namcoRam[0], 0);
  EXPECT_EQ(machine->mapper.vrc6SoundRegs[0], 0);
}

}  // namespace
}  // namespace wrenfold
