#include "emulator/cpu/read_bus.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "emulator/cart/write_bus.h"

namespace wrenfold {
namespace {

class ReadBusTest : public ::testing::Test {
 protected:
  std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
};

class RamMirrorReadTest : public ReadBusTest, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(RamMirrorReadTest, MirrorReadsTheWorkRamByte) {
  machine->cpuMem[0x0000] = 0x5A;
  machine->cpuMem[0x07FF] = 0xA5;
  const uint16_t base = GetParam();
  EXPECT_EQ(CpuRead(*machine, base), 0x5A);
  EXPECT_EQ(CpuRead(*machine, static_cast<uint16_t>(base + 0x07FF)), 0xA5);
}

INSTANTIATE_TEST_SUITE_P(AllFourCopies, RamMirrorReadTest,
                         ::testing::Values(0x0000, 0x0800, 0x1000, 0x1800));

TEST_F(ReadBusTest, StatusReadClearsVblankAndTheToggleOnEveryRead) {
  machine->cpuMem[0x2002] = 0x90;  // vblank + CHR ROM bit
  machine->ppu.writeToggle = 1;
  EXPECT_EQ(CpuRead(*machine, 0x2002), 0x90);
  EXPECT_EQ(machine->ppu.writeToggle, 0);
  machine->ppu.writeToggle = 1;
  EXPECT_EQ(CpuRead(*machine, 0x2002), 0x10);
  EXPECT_EQ(machine->ppu.writeToggle, 0);
}

TEST_F(ReadBusTest, PpuRegistersAreNotMirroredOnReads) {
  machine->cpuMem[0x2002] = 0x80;
  machine->cpuMem[0x200A] = 0x33;
  machine->ppu.writeToggle = 1;
  EXPECT_EQ(CpuRead(*machine, 0x200A), 0x33);
  EXPECT_EQ(machine->cpuMem[0x2002], 0x80);
  EXPECT_EQ(machine->ppu.writeToggle, 1);
}

TEST_F(ReadBusTest, PlainRegistersReadBackTheStoredByte) {
  for (uint16_t address : {0x2000, 0x2001, 0x2005, 0x2006, 0x4015, 0x4018, 0x6000, 0x7FFF}) {
    machine->cpuMem[address] = static_cast<uint8_t>(address);
    EXPECT_EQ(CpuRead(*machine, address), static_cast<uint8_t>(address)) << std::hex << address;
  }
}

TEST_F(ReadBusTest, SpriteDataReadsAdvanceTheAddressAndWrap) {
  machine->oam[0xFE] = 1;
  machine->oam[0xFF] = 2;
  machine->oam[0x00] = 3;
  machine->cpuMem[0x2003] = 0xFE;
  EXPECT_EQ(CpuRead(*machine, 0x2004), 1);
  EXPECT_EQ(CpuRead(*machine, 0x2004), 2);
  EXPECT_EQ(CpuRead(*machine, 0x2004), 3);
  EXPECT_EQ(machine->cpuMem[0x2003], 0x01);
}

// A name-table read returns what the read before it fetched; a palette read returns its entry
// at once and leaves the name-table byte underneath it for the next read. Every read steps.
TEST_F(ReadBusTest, DataReadsGoThroughTheReadBufferExceptPaletteReads) {
  machine->ppu.readBuffer = 0x99;
  machine->ppuMem[0x2400] = 0x41;
  machine->ppuMem[0x2401] = 0x42;
  WriteBus(*machine, 0x2006, 0x24);
  WriteBus(*machine, 0x2006, 0x00);
  EXPECT_EQ(CpuRead(*machine, 0x2007), 0x99);
  EXPECT_EQ(CpuRead(*machine, 0x2007), 0x41);
  EXPECT_EQ(CpuRead(*machine, 0x2007), 0x42);
  EXPECT_EQ(machine->ppu.vramAddr, 0x2403);

  machine->ppuMem[0x3F01] = 0x21;
  machine->ppuMem[0x3F02] = 0x22;
  machine->ppuMem[0x2F01] = 0x55;
  machine->ppuMem[0x2F02] = 0x56;
  WriteBus(*machine, 0x2006, 0x3F);
  WriteBus(*machine, 0x2006, 0x01);
  EXPECT_EQ(CpuRead(*machine, 0x2007), 0x21);
  EXPECT_EQ(CpuRead(*machine, 0x2007), 0x22);
  WriteBus(*machine, 0x2006, 0x20);
  WriteBus(*machine, 0x2006, 0x00);
  EXPECT_EQ(CpuRead(*machine, 0x2007), 0x56);
}

// Stepping over an entry with a read after some writes (as programs do to leave the unused
// palette entries alone) must step the address: only a read that directly follows the
// address is the one that does not.
TEST_F(ReadBusTest, ReadBetweenDataWritesStepsOverOneEntry) {
  machine->vblankPhase = 1;
  WriteBus(*machine, 0x2006, 0x3F);
  WriteBus(*machine, 0x2006, 0x00);
  for (uint8_t colour : {0x0F, 0x01, 0x11, 0x21}) WriteBus(*machine, 0x2007, colour);
  EXPECT_EQ(CpuRead(*machine, 0x2007), machine->ppuMem[0x3F04]);
  EXPECT_EQ(machine->ppu.vramAddr, 0x3F05);
  WriteBus(*machine, 0x2007, 0x16);
  EXPECT_EQ(machine->paletteRam[5], 0x16);
  EXPECT_EQ(machine->paletteRam[3], 0x21);
}

TEST_F(ReadBusTest, DataReadsStepByARowAndWrapAtTheEndOfPpuSpace) {
  machine->cpuMem[0x2000] = 0x04;
  machine->ppu.vramAddr = 0x2000;
  machine->ppuMem[0x2000] = 0x41;
  machine->ppuMem[0x2020] = 0x42;
  CpuRead(*machine, 0x2007);
  EXPECT_EQ(CpuRead(*machine, 0x2007), 0x41);
  EXPECT_EQ(CpuRead(*machine, 0x2007), 0x42);
  EXPECT_EQ(machine->ppu.vramAddr, 0x2060);

  machine->ppu.vramAddr = 0x3FE0;
  machine->ppuMem[0x0000] = 0x43;
  CpuRead(*machine, 0x2007);
  EXPECT_EQ(machine->ppu.vramAddr, 0x4000);  // the low 14 bits address PPU memory
  CpuRead(*machine, 0x2007);
  EXPECT_EQ(CpuRead(*machine, 0x2007), 0x43);
}

TEST_F(ReadBusTest, PaletteMirrorReadsTheEntryBelowIt) {
  machine->ppuMem[0x3F05] = 0x16;
  machine->ppu.vramAddr = 0x3F25;
  EXPECT_EQ(CpuRead(*machine, 0x2007), 0x16);
}

TEST_F(ReadBusTest, DataReadsStayInsidePpuMemoryWhateverTheAddressLatch) {
  machine->ppu.vramAddr = 0xFFFF;  // as a damaged save state might leave it
  machine->ppuMem[0x3F1F] = 0x30;
  EXPECT_EQ(CpuRead(*machine, 0x2007), 0x30);
  EXPECT_EQ(machine->ppu.vramAddr, 0x0000);
}

struct JoypadCase {
  uint16_t port;
  int signatureRead;  // 1-based read within the 24 that returns 1 after the buttons
};

class JoypadReadTest : public ReadBusTest, public ::testing::WithParamInterface<JoypadCase> {};

TEST_P(JoypadReadTest, TwentyFourReadsGiveButtonsZerosAndTheAdapterSignature) {
  const JoypadCase& param = GetParam();
  const int port = param.port - 0x4016;
  machine->padState[port] = 0b10100101;
  machine->padState[1 - port] = 0xFF;  // the other port must not leak in

  std::vector<int> expected;
  for (int bit = 0; bit < 8; ++bit) expected.push_back((0b10100101 >> bit) & 1);
  for (int read = 9; read <= 24; ++read) expected.push_back(read == param.signatureRead ? 1 : 0);

  for (int round = 0; round < 2; ++round) {
    for (int read = 0; read < 24; ++read) {
      EXPECT_EQ(CpuRead(*machine, param.port), expected[read])
          << "round " << round << " read " << read + 1;
    }
  }
  EXPECT_EQ(machine->padReadIndex[1 - port], 0);
}

INSTANTIATE_TEST_SUITE_P(BothPorts, JoypadReadTest,
                         ::testing::Values(JoypadCase{0x4016, 20}, JoypadCase{0x4017, 19}));

TEST_F(ReadBusTest, Mapper19ReadsSoundMemoryAndTheIrqCounter) {
  machine->header.mapperNumber = 19;
  machine->namcoRam[0x12] = 0x9C;
  machine->mapper.namcoRamAddr = 0x12;
  machine->irq.cycleIrqCounter = 0xBEEF;
  EXPECT_EQ(CpuRead(*machine, 0x4800), 0x9C);
  EXPECT_EQ(machine->mapper.namcoRamAddr, 0x12);
  EXPECT_EQ(CpuRead(*machine, 0x5000), 0xEF);
  EXPECT_EQ(CpuRead(*machine, 0x57FF), 0xEF);
  EXPECT_EQ(CpuRead(*machine, 0x5800), 0xBE);
  EXPECT_EQ(CpuRead(*machine, 0x5FFF), 0xBE);

  machine->header.mapperNumber = 0;
  machine->cpuMem[0x5000] = 0x01;
  EXPECT_EQ(CpuRead(*machine, 0x5000), 0x01);
}

}  // namespace
}  // namespace wrenfold
