#include "emulator/sound/dmc_channel.h"

#include <algorithm>
#include <string>

#include "tests/emulator/sound/sound_fixture.h"

namespace wrenfold {
namespace {

class DmcTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    StartSound();
  }

  // Starts a sample at $C000 + 64 x addressCode of lengthCode x 16 + 1 bytes.
  void PlaySample(uint8_t control, uint8_t addressCode, uint8_t lengthCode) {
    Write(0x4012, addressCode);
    Write(0x4013, lengthCode);
    Write(0x4010, control);
  }
};

TEST_F(DmcTest, SampleWithoutLoopEndsAtLevelFifteenAndOutputZero) {
  machine->cpuMem[0xC000] = 0xFF;
  machine->cpuMem[0xC001] = 0xFF;
  PlaySample(0x0D, 0x00, 0x00);  // 85 cycles a bit: every bit is heard; one byte long
  const std::vector<int16_t> frame = MixFrame(kDmcChannel);
  // Eight bits up from 15, one more from the byte after, then the sample has ended.
  EXPECT_EQ(*std::min_element(frame.begin(), frame.end()), (15 - 24) * 256);
  EXPECT_EQ(frame.back(), 0);
  EXPECT_EQ(sound->apu.dmc.level, 15);
  EXPECT_EQ(machine->cpuMem[0x4011], 15 * 4 | 0x80);
  const std::vector<int16_t> next = MixFrame(kDmcChannel);
  EXPECT_TRUE(std::all_of(next.begin(), next.end(), [](int16_t s) { return s == 0; }));
}

TEST_F(DmcTest, OutputStepsEveryRateCyclesOverEightyOneCyclesASample) {
  machine->cpuMem[0xC000] = 0xFF;
  PlaySample(0x00, 0x00, 0x00);  // slowest rate: 428 cycles a bit
  const std::vector<int16_t> frame = MixFrame(kDmcChannel);
  // 428 cycles pay for six samples (the rest is carried); the level climbs one step a bit.
  EXPECT_EQ(frame[0], -256);
  EXPECT_EQ(frame[5], -256);
  EXPECT_EQ(frame[6], -512);
}

TEST_F(DmcTest, LoopingSampleStartsAgainFromItsFirstByte) {
  machine->cpuMem[0xC000] = 0xFF;
  machine->cpuMem[0xC001] = 0x00;
  PlaySample(0x4F, 0x00, 0x00);
  MixFrames(kDmcChannel, 2);
  // Each pass climbs eight and falls one: the level sits at the top.
  EXPECT_GE(sound->apu.dmc.level, 29);
  EXPECT_FALSE(sound->apu.dmc.ended);
}

TEST_F(DmcTest, SampleRunningPastTheTopOfMemoryContinuesAt8000) {
  for (int a = 0xFFC0; a <= 0xFFFF; ++a) machine->cpuMem[a] = 0x00;
  for (int a = 0x8000; a < 0x8200; ++a) machine->cpuMem[a] = 0xFF;
  PlaySample(0x0F, 0xFF, 0xFF);  // starts at $FFC0, 4081 bytes long
  MixFrames(kDmcChannel, 2);
  EXPECT_EQ(sound->apu.dmc.level, 30);
  EXPECT_GT(sound->apu.dmc.bytePosition, 64);
}

TEST(DmcSampleAddressTest, WrapsFromFFFFTo8000) {
  auto machine = std::make_unique<MachineState>();
  machine->cpuMem[0xFFFF] = 0x11;
  machine->cpuMem[0x8000] = 0x22;
  machine->cpuMem[0x8FB0] = 0x33;
  EXPECT_EQ(ReadDmcSampleByte(*machine, 0xFFC0, 63), 0x11);
  EXPECT_EQ(ReadDmcSampleByte(*machine, 0xFFC0, 64), 0x22);
  EXPECT_EQ(ReadDmcSampleByte(*machine, 0xFFC0, 4080), 0x33);
}

TEST_F(DmcTest, EndingWithIrqEnabledLogsIOnce) {
  const size_t before = ReadLog().size();
  PlaySample(0x8F, 0x00, 0x00);
  MixFrames(kDmcChannel, 3);
  EXPECT_EQ(ReadLog().substr(before), "I");
  PlaySample(0x8F, 0x00, 0x00);  // a new sample ends again
  MixFrames(kDmcChannel, 2);
  EXPECT_EQ(ReadLog().substr(before), "II");
}

}  // namespace
}  // namespace wrenfold
