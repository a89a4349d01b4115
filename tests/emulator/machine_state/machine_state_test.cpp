#include "emulator/machine_state/machine_state.h"

#include <gtest/gtest.h>

#include <memory>

namespace wrenfold {
namespace {

TEST(MachineStateTest, StoresHaveTheSizesTheCartridgeFormatNeeds) {
  const MachineState& machine = *std::make_unique<MachineState>();
  EXPECT_EQ(sizeof machine.prgRom, 64u * 16384u);
  EXPECT_EQ(sizeof machine.chrRom, 64u * 8192u);
  EXPECT_EQ(sizeof machine.cpuMem, 65536u);
  EXPECT_EQ(sizeof machine.ppuMem, 16384u);
  EXPECT_EQ(sizeof machine.patternCache, 32768u);
  EXPECT_EQ(sizeof machine.spareNameTable, 1024u);
}

TEST(MachineStateTest, ResetClearsEveryByte) {
  auto machine = std::make_unique<MachineState>();
  machine->cpuMem[0x1234] = 7;
  machine->cpu.PC = 0xC000;
  machine->header.mapperNumber = 4;
  machine->irq.cycleIrqCounter = 0x1234;
  ResetMachineState(*machine);
  const auto* bytes = reinterpret_cast<const unsigned char*>(machine.get());
  for (std::size_t i = 0; i < sizeof(MachineState); ++i) ASSERT_EQ(bytes[i], 0u) << "byte " << i;
}

}  // namespace
}  // namespace wrenfold
