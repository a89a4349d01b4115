#include "emulator/cpu/interrupts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "emulator/cart/cartridge_irq.h"

namespace wrenfold {
namespace {

class InterruptsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine->cpuMem[0xFFFA] = 0x00;  // NMI  $9000
    machine->cpuMem[0xFFFB] = 0x90;
    machine->cpuMem[0xFFFC] = 0x34;  // reset $8234
    machine->cpuMem[0xFFFD] = 0x82;
    machine->cpuMem[0xFFFE] = 0x78;  // IRQ $A078
    machine->cpuMem[0xFFFF] = 0xA0;
  }

  uint8_t Stack(int offset) const { return machine->cpuMem[0x0100 + offset]; }

  std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
};

TEST_F(InterruptsTest, PowerOnSetsTheStartingState) {
  machine->cpu.A = 1;
  machine->cpu.X = 2;
  machine->cpu.Y = 3;
  machine->frameCounter = 99;
  machine->ppu.vramAddr = 0x2345;
  machine->ppu.writeToggle = 1;
  machine->padReadIndex[0] = 5;
  machine->padReadIndex[1] = 6;

  PowerOn(*machine);

  EXPECT_EQ(machine->cpu.P, 0x20);
  EXPECT_EQ(machine->cpu.S, 0xFF);
  EXPECT_EQ(machine->cpu.PC, 0x8234);
  EXPECT_EQ(machine->cpu.A, 1);
  EXPECT_EQ(machine->cpu.X, 2);
  EXPECT_EQ(machine->cpu.Y, 3);
  EXPECT_EQ(machine->frameCounter, 0);
  EXPECT_EQ(machine->cpuMem[0x4011], 0x80);
  EXPECT_EQ(machine->cpuMem[0x4016], 0x42);
  EXPECT_EQ(machine->cpuMem[0x4017], 0x42);
  EXPECT_EQ(machine->cpuMem[0x2001], 0x18);
  EXPECT_EQ(machine->ppu.vramAddrWritten, 1);
  EXPECT_EQ(machine->ppu.vramAddr, 0);
  EXPECT_EQ(machine->ppu.writeToggle, 0);
  EXPECT_EQ(machine->padReadIndex[0], 0);
  EXPECT_EQ(machine->padReadIndex[1], 6);
  EXPECT_EQ(std::string(machine->hexDigits, 16), "0123456789ABCDEF");
}

TEST_F(InterruptsTest, NmiDisabledOnlyCountsTheFrame) {
  machine->cpuMem[0x2000] = 0x7F;
  machine->cpu.PC = 0xC123;
  machine->cpu.S = 0xF0;
  machine->cpu.P = 0x24;
  auto before = std::make_unique<MachineState>(*machine);

  EnterNmi(*machine);

  EXPECT_EQ(machine->frameCounter, 1);
  before->frameCounter = 1;
  EXPECT_EQ(std::memcmp(before.get(), machine.get(), sizeof(MachineState)), 0);
}

TEST_F(InterruptsTest, NmiPushesPcAndFlagsEvenWithInterruptsMasked) {
  machine->cpuMem[0x2000] = 0x80;
  machine->cpu.PC = 0xC123;
  machine->cpu.S = 0xFF;
  machine->cpu.P = 0xE5;  // I already set: the NMI is still taken

  EnterNmi(*machine);

  EXPECT_EQ(Stack(0xFF), 0xC1);
  EXPECT_EQ(Stack(0xFE), 0x23);
  EXPECT_EQ(Stack(0xFD), 0xE5);
  EXPECT_EQ(machine->cpu.S, 0xFC);
  EXPECT_EQ(machine->cpu.P, 0xE5);
  EXPECT_EQ(machine->cpu.PC, 0x9000);
  EXPECT_EQ(machine->frameCounter, 1);
}

TEST_F(InterruptsTest, StackPointerWrapsWithinPageOne) {
  machine->cpuMem[0x2000] = 0x80;
  machine->cpu.PC = 0xABCD;
  machine->cpu.S = 0x01;
  EnterNmi(*machine);
  EXPECT_EQ(Stack(0x01), 0xAB);
  EXPECT_EQ(Stack(0x00), 0xCD);
  EXPECT_EQ(Stack(0xFF), machine->cpu.P & ~kFlagI);
  EXPECT_EQ(machine->cpu.S, 0xFE);
}

struct TrainerNmiCase {
  uint8_t mapperNumber;
  uint32_t trainerFlag;
  uint16_t expectedPc;
};

class TrainerNmiTest : public InterruptsTest,
                       public ::testing::WithParamInterface<TrainerNmiCase> {};

TEST_P(TrainerNmiTest, EveryTakenNmiEntersWhereTheBoardSaysSo) {
  machine->header.mapperNumber = GetParam().mapperNumber;
  machine->header.trainerFlag = GetParam().trainerFlag;
  machine->cpuMem[0x2000] = 0x80;
  machine->cpu.S = 0xFF;
  for (int frame = 0; frame < 2; ++frame) {
    EnterNmi(*machine);
    EXPECT_EQ(machine->cpu.PC, GetParam().expectedPc) << "frame " << frame;
  }
}

INSTANTIATE_TEST_SUITE_P(MapperAndTrainer, TrainerNmiTest,
                         ::testing::Values(TrainerNmiCase{4, 1, 0x7000},
                                           TrainerNmiCase{4, 0, 0x9000},
                                           TrainerNmiCase{1, 1, 0x9000}));

TEST_F(InterruptsTest, IrqPushesTheCallersFlagsAndTakesTheIrqVector) {
  machine->cpu.PC = 0x8456;
  machine->cpu.S = 0xFF;
  machine->cpu.P = 0x30;
  EnterIrq(*machine, machine->cpu.P & ~kFlagB);
  EXPECT_EQ(Stack(0xFF), 0x84);
  EXPECT_EQ(Stack(0xFE), 0x56);
  EXPECT_EQ(Stack(0xFD), 0x20);
  EXPECT_EQ(machine->cpu.S, 0xFC);
  EXPECT_EQ(machine->cpu.P, 0x34);
  EXPECT_EQ(machine->cpu.PC, 0xA078);
  EXPECT_EQ(machine->frameCounter, 0);
}

// The cartridge's line is a level: it waits out the I flag and is taken again until it is
// acknowledged.
TEST_F(InterruptsTest, ARaisedCartridgeLineIsTakenWhenIAllowsUntilAcknowledged) {
  machine->cpu.PC = 0x8456;
  machine->cpu.S = 0xFF;
  machine->cpu.P = 0x34;  // I set, B set in the register image
  EXPECT_FALSE(TakeCartridgeIrq(*machine));  // nothing raised
  RaiseCartridgeIrq(*machine);
  EXPECT_FALSE(TakeCartridgeIrq(*machine));
  EXPECT_EQ(machine->cpu.S, 0xFF);

  machine->cpu.P = 0x30;
  EXPECT_TRUE(TakeCartridgeIrq(*machine));
  EXPECT_EQ(Stack(0xFD), 0x20);  // pushed with B clear
  EXPECT_EQ(machine->cpu.PC, 0xA078);
  EXPECT_EQ(machine->cpu.P & kFlagI, kFlagI);

  machine->cpu.P = 0x20;  // the handler returned without acknowledging
  EXPECT_TRUE(TakeCartridgeIrq(*machine));
  AcknowledgeCartridgeIrq(*machine);
  machine->cpu.P = 0x20;
  EXPECT_FALSE(TakeCartridgeIrq(*machine));
}

}  // namespace
}  // namespace wrenfold
