#include "emulator/cart/mirroring.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace wrenfold {
namespace {

constexpr uint8_t kTableA = 0x11;
constexpr uint8_t kTableB = 0x22;

class MirroringTest : public ::testing::Test {
 protected:
  // Vertical layout: table A in $2000 and $2800, table B in $2400 and $2C00.
  void FillVertical() {
    machine->header.mirrorVertical = 1;
    FillSlot(0x2000, kTableA);
    FillSlot(0x2800, kTableA);
    FillSlot(0x2400, kTableB);
    FillSlot(0x2C00, kTableB);
  }

  void FillSlot(uint16_t base, uint8_t value) { std::memset(machine->ppuMem + base, value, 0x400); }

  // The byte that fills a slot, or -1 when the slot is not uniform.
  int SlotFill(uint16_t base) const { return Fill(machine->ppuMem + base); }
  int SpareFill() const { return Fill(machine->spareNameTable); }

  static int Fill(const uint8_t* table) {
    for (int i = 1; i < 0x400; ++i) {
      if (table[i] != table[0]) return -1;
    }
    return table[0];
  }

  void ExpectSlots(int s2000, int s2400, int s2800, int s2C00) const {
    EXPECT_EQ(SlotFill(0x2000), s2000);
    EXPECT_EQ(SlotFill(0x2400), s2400);
    EXPECT_EQ(SlotFill(0x2800), s2800);
    EXPECT_EQ(SlotFill(0x2C00), s2C00);
  }

  std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
};

// --- the write rule ---

TEST_F(MirroringTest, VerticalWriteLandsInTheSlotBelow) {
  machine->header.mirrorVertical = 1;
  WriteNameTable(*machine, 0x2001, 0x5A);
  EXPECT_EQ(machine->ppuMem[0x2001], 0x5A);
  EXPECT_EQ(machine->ppuMem[0x2801], 0x5A);
  EXPECT_EQ(machine->ppuMem[0x2401], 0);
  EXPECT_EQ(machine->ppuMem[0x2C01], 0);
}

TEST_F(MirroringTest, HorizontalWriteLandsInTheSlotBeside) {
  WriteNameTable(*machine, 0x2C01, 0x5A);
  EXPECT_EQ(machine->ppuMem[0x2C01], 0x5A);
  EXPECT_EQ(machine->ppuMem[0x2801], 0x5A);
  EXPECT_EQ(machine->ppuMem[0x2001], 0);
  EXPECT_EQ(machine->ppuMem[0x2401], 0);
}

TEST_F(MirroringTest, FourScreenWriteLandsOnlyWhereAddressed) {
  machine->header.fourScreen = 1;
  machine->header.mirrorVertical = 1;
  WriteNameTable(*machine, 0x2001, 0x5A);
  EXPECT_EQ(machine->ppuMem[0x2001], 0x5A);
  EXPECT_EQ(machine->ppuMem[0x2401], 0);
  EXPECT_EQ(machine->ppuMem[0x2801], 0);
  EXPECT_EQ(machine->ppuMem[0x2C01], 0);
}

TEST_F(MirroringTest, OneScreenWriteLandsInAllFourSlots) {
  machine->oneScreenB = 1;
  machine->header.fourScreen = 1;  // one-screen wins over four-screen
  WriteNameTable(*machine, 0x2C05, 0x5A);
  for (uint16_t address : {0x2005, 0x2405, 0x2805, 0x2C05}) {
    EXPECT_EQ(machine->ppuMem[address], 0x5A) << std::hex << address;
  }
  EXPECT_EQ(machine->ppuMem[0x2006], 0);
}

// --- the switch operations ---

TEST_F(MirroringTest, OneScreenSequenceKeepsTheHiddenTableInTheSpare) {
  FillVertical();

  SetOneScreenA(*machine);
  ExpectSlots(kTableA, kTableA, kTableA, kTableA);
  EXPECT_EQ(SpareFill(), kTableB);

  SetOneScreenB(*machine);
  ExpectSlots(kTableB, kTableB, kTableB, kTableB);
  EXPECT_EQ(SpareFill(), kTableA);
  EXPECT_EQ(machine->oneScreenA, 0);
  EXPECT_EQ(machine->oneScreenB, 1);

  // Each table goes back to its own slots: A to $2000/$2800, B to $2400/$2C00.
  LeaveToVertical(*machine);
  ExpectSlots(kTableA, kTableB, kTableA, kTableB);
  EXPECT_EQ(machine->header.mirrorVertical, 1u);
  EXPECT_EQ(machine->oneScreenA, 0);
  EXPECT_EQ(machine->oneScreenB, 0);
}

TEST_F(MirroringTest, SetOneScreenATwiceCopiesNothingTheSecondTime) {
  FillVertical();
  SetOneScreenA(*machine);
  machine->ppuMem[0x2400] = 0x99;
  machine->spareNameTable[0] = 0x98;
  SetOneScreenA(*machine);
  EXPECT_EQ(machine->ppuMem[0x2400], 0x99);
  EXPECT_EQ(machine->spareNameTable[0], 0x98);
}

TEST_F(MirroringTest, SwitchesBetweenHorizontalAndVertical) {
  FillVertical();
  SetHorizontal(*machine);
  ExpectSlots(kTableA, kTableA, kTableB, kTableB);
  EXPECT_EQ(machine->header.mirrorVertical, 0u);
  SetHorizontal(*machine);
  ExpectSlots(kTableA, kTableA, kTableB, kTableB);
  SetVertical(*machine);
  ExpectSlots(kTableA, kTableB, kTableA, kTableB);
  EXPECT_EQ(machine->header.mirrorVertical, 1u);
}

struct LeaveCase {
  const char* name;
  void (*enter)(MachineState&);  // from vertical
  void (*leave)(MachineState&);
  int s2000, s2400, s2800, s2C00;
  uint32_t mirrorVertical;
};

class LeaveTest : public MirroringTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(LeaveTest, LeavingRestoresBothTablesInTheRequestedLayout) {
  const LeaveCase& param = GetParam();
  FillVertical();
  param.enter(*machine);
  param.leave(*machine);
  ExpectSlots(param.s2000, param.s2400, param.s2800, param.s2C00);
  EXPECT_EQ(machine->header.mirrorVertical, param.mirrorVertical);
  EXPECT_EQ(machine->oneScreenA, 0);
  EXPECT_EQ(machine->oneScreenB, 0);
}

void StayVertical(MachineState&) {}

INSTANTIATE_TEST_SUITE_P(
    FromEachMode, LeaveTest,
    ::testing::Values(LeaveCase{"AToHorizontal", SetOneScreenA, LeaveToHorizontal, kTableA, kTableA,
                                kTableB, kTableB, 0},
                      LeaveCase{"BToHorizontal", SetOneScreenB, LeaveToHorizontal, kTableA, kTableA,
                                kTableB, kTableB, 0},
                      LeaveCase{"VerticalToHorizontal", StayVertical, LeaveToHorizontal, kTableA,
                                kTableA, kTableB, kTableB, 0},
                      LeaveCase{"AToVertical", SetOneScreenA, LeaveToVertical, kTableA, kTableB,
                                kTableA, kTableB, 1},
                      LeaveCase{"BToVertical", SetOneScreenB, LeaveToVertical, kTableA, kTableB,
                                kTableA, kTableB, 1},
                      LeaveCase{"HorizontalToVertical", SetHorizontal, LeaveToVertical, kTableA,
                                kTableB, kTableA, kTableB, 1},
                      LeaveCase{"VerticalStaysVertical", StayVertical, LeaveToVertical, kTableA,
                                kTableB, kTableA, kTableB, 1}),
    [](const ::testing::TestParamInfo<LeaveCase>& info) { return info.param.name; });

TEST_F(MirroringTest, LongSwitchSequenceNeverLosesEitherTable) {
  using Switch = void (*)(MachineState&);
  const std::vector<Switch> sequence = {
      SetOneScreenA, SetOneScreenB,     SetOneScreenA, LeaveToHorizontal, SetOneScreenB,
      SetOneScreenB, LeaveToVertical,   SetHorizontal, SetOneScreenA,     LeaveToVertical,
      SetOneScreenB, LeaveToHorizontal, SetVertical,   LeaveToVertical};
  FillVertical();
  for (Switch step : sequence) step(*machine);
  ExpectSlots(kTableA, kTableB, kTableA, kTableB);
}

TEST_F(MirroringTest, WritesDuringOneScreenSurviveTheWayBack) {
  FillVertical();
  SetOneScreenB(*machine);
  WriteNameTable(*machine, 0x2010, 0x77);  // drawn into table B
  LeaveToHorizontal(*machine);
  EXPECT_EQ(machine->ppuMem[0x2810], 0x77);
  EXPECT_EQ(machine->ppuMem[0x2C10], 0x77);
  EXPECT_EQ(machine->ppuMem[0x2010], kTableA);
}

}  // namespace
}  // namespace wrenfold
