// The save-state file format: where each field lands, in which byte order, and how a board's
// spans fill the board block. Reading back is checked through the loader (state_codec_test,
// state_fuzz_test).
#include "emulator/machine_state/state_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
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

TEST(StateLayoutTest, EveryFieldLiesAtItsOffsetInLittleEndianOrderAndSpansFillTheBoardBlock) {
  const auto machine = RandomMachine(1);
  const MachineState& m = *machine;
  const StateSpan spans[] = {WRENFOLD_STATE_SPAN(irq.cycleIrqCounter),
                             WRENFOLD_STATE_SPAN(mapper.mmc1Regs), WRENFOLD_STATE_SPAN(oneScreenB)};
  const StateBytes file = Write(m, StateEnvelope{kStateMagic, 0xA1B2C3D4}, spans);
  // The spans in row order from the start of the board block, then zeros.
  std::vector<uint8_t> boardBlock = Le(m.irq.cycleIrqCounter, 2);
  boardBlock.insert(boardBlock.end(), std::begin(m.mapper.mmc1Regs), std::end(m.mapper.mmc1Regs));
  boardBlock.push_back(m.oneScreenB);
  boardBlock.resize(kBoardBlock.size, 0);

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
      {kBoardBlock, boardBlock},
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
      {kPpuReadBuffer, {m.ppu.readBuffer}},
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

}  // namespace
}  // namespace wrenfold
