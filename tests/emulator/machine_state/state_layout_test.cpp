// The save-state file format: where each field lands and in which byte order, how a board's
// spans fill the board block, and that reading a file back restores every field whatever the
// bytes without meaning hold.
#include "emulator/machine_state/state_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "emulator/machine_state/state_io.h"
#include "emulator/machine_state/visit_state.h"

namespace wrenfold {
namespace {

using namespace state_layout;

std::unique_ptr<MachineState> RandomMachine(uint32_t seed) {
  auto machine = std::make_unique<MachineState>();
  std::mt19937 random(seed);
  auto* bytes = reinterpret_cast<uint8_t*>(machine.get());
  for (std::size_t i = 0; i < sizeof(MachineState); ++i) bytes[i] = static_cast<uint8_t>(random());
  return machine;
}

StateBytes Write(const MachineState& machine, const StateEnvelope& envelope,
                 std::span<const StateSpan> spans = {}) {
  StateBytes file{};
  StateWriter writer(file);
  VisitState(writer, machine, envelope, spans);
  return file;
}

std::vector<uint8_t> Le(uint64_t value, std::size_t size) {
  std::vector<uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
  return bytes;
}

template <std::size_t N>
std::vector<uint8_t> Bytes(const uint8_t (&array)[N]) {
  return std::vector<uint8_t>(array, array + N);
}

TEST(StateLayoutTest, EveryFieldLiesAtItsOffsetInLittleEndianOrder) {
  const auto machine = RandomMachine(1);
  const MachineState& m = *machine;
  const StateBytes file = Write(m, StateEnvelope{kStateMagic, 0xA1B2C3D4});

  struct Expected {
    StateField field;
    std::vector<uint8_t> bytes;
  };
  const Expected table[] = {
      {kMagic, {'K', 'S', 'V'}},
      {kPrgBankCount, Le(m.header.prgBankCount, 4)},
      {kChrBankCount, Le(m.header.chrBankCount, 4)},
      {kMirrorVertical, Le(m.header.mirrorVertical, 4)},
      {kBatteryFlag, Le(m.header.batteryFlag, 4)},
      {kTrainerFlag, Le(m.header.trainerFlag, 4)},
      {kFourScreen, Le(m.header.fourScreen, 4)},
      {kMapperNumber, {m.header.mapperNumber}},
      {kAfterMapperNumber, {0, 0, 0}},
      {kSpareNameTable, Bytes(m.spareNameTable)},
      {kPaletteRam, Bytes(m.paletteRam)},
      {kNamcoRam, Bytes(m.namcoRam)},
      {kCpuP, {m.cpu.P}},
      {kCpuS, {m.cpu.S}},
      {kCpuPc, Le(m.cpu.PC, 2)},
      {kCpuA, {m.cpu.A}},
      {kCpuX, {m.cpu.X}},
      {kCpuY, {m.cpu.Y}},
      {kCpuSpare, Bytes(m.cpu.spare)},
      {kBoardBlock, std::vector<uint8_t>(kBoardBlock.size, 0)},  // a board without spans
      {kCpuMem, Bytes(m.cpuMem)},
      {kPpuMem, Bytes(m.ppuMem)},
      {kOam, Bytes(m.oam)},
      {kVramLatch, Le(m.ppu.vramLatch, 2)},
      {kVramAddr, Le(m.ppu.vramAddr, 2)},
      {kWriteToggle, {m.ppu.writeToggle}},
      {kFineX, {m.ppu.fineX}},
      {kFineY, {m.ppu.fineY}},
      {kVramAddrWritten, {m.ppu.vramAddrWritten}},
      {kPadReadIndex, Bytes(m.padReadIndex)},
      {kCycleCarry, Le(static_cast<uint16_t>(m.cycleCarry), 2)},
      {kRomFingerprint, {0xD4, 0xC3, 0xB2, 0xA1}},
      {kLatchBlockSpare, std::vector<uint8_t>(kLatchBlockSpare.size, 0)},
  };
  ASSERT_EQ(std::size(table), std::size(kStateFields)) << "a field of the layout is not checked";
  for (std::size_t i = 0; i < std::size(table); ++i) {
    const Expected& expected = table[i];
    SCOPED_TRACE("field at offset " + std::to_string(expected.field.offset));
    ASSERT_EQ(expected.field.offset, kStateFields[i].offset);
    ASSERT_EQ(expected.bytes.size(), expected.field.size);
    EXPECT_EQ(std::memcmp(file.data() + expected.field.offset, expected.bytes.data(),
                          expected.field.size),
              0);
  }
}

TEST(StateLayoutTest, BoardSpansArePackedInRowOrderFromTheStartOfTheBlock) {
  auto machine = RandomMachine(2);
  const StateSpan spans[] = {WRENFOLD_STATE_SPAN(irq.cycleIrqCounter),
                             WRENFOLD_STATE_SPAN(mapper.mmc1Regs), WRENFOLD_STATE_SPAN(oneScreenB)};
  const StateBytes file = Write(*machine, StateEnvelope{}, spans);
  const uint8_t* block = file.data() + kBoardBlock.offset;
  EXPECT_EQ(std::vector<uint8_t>(block, block + 2), Le(machine->irq.cycleIrqCounter, 2));
  EXPECT_EQ(std::vector<uint8_t>(block + 2, block + 6), Bytes(machine->mapper.mmc1Regs));
  EXPECT_EQ(block[6], machine->oneScreenB);
  EXPECT_EQ(std::vector<uint8_t>(block + 7, block + kBoardBlock.size),
            std::vector<uint8_t>(kBoardBlock.size - 7, 0));
}

TEST(StateLayoutTest, ReadingBackRestoresEveryFieldWhateverTheBytesWithoutMeaningHold) {
  const StateSpan spans[] = {WRENFOLD_STATE_SPAN(mapper.vrcChrRegs),
                             WRENFOLD_STATE_SPAN(irq.bandaiIrqCounter)};
  std::mt19937 random(3);
  for (uint32_t seed = 10; seed < 16; ++seed) {
    const auto original = RandomMachine(seed);
    const StateEnvelope written{kStateMagic, static_cast<uint32_t>(random())};
    const StateBytes file = Write(*original, written, spans);

    StateBytes noisy = file;
    for (const StateField& field : {kAfterMapperNumber, kLatchBlockSpare}) {
      for (std::size_t i = field.offset; i < field.end(); ++i)
        noisy[i] = static_cast<uint8_t>(random());
    }
    for (std::size_t i = kBoardBlock.offset + 10; i < kBoardBlock.end(); ++i) {
      noisy[i] = static_cast<uint8_t>(random());
    }

    const auto loaded = RandomMachine(seed + 1000);
    StateEnvelope read{{0, 0, 0}, 0};
    StateReader reader(noisy);
    VisitState(reader, *loaded, read, spans);
    EXPECT_EQ(read.magic, kStateMagic);
    EXPECT_EQ(read.romFingerprint, written.romFingerprint);
    EXPECT_EQ(Write(*loaded, read, spans), file) << "seed " << seed;
  }
}

}  // namespace
}  // namespace wrenfold
