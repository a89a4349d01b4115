// VisitState names every field of a save state once, for both directions: with a StateWriter
// and a const machine it saves, with a StateReader and a machine it loads. The size of each
// member is checked against its place in the layout when this compiles.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <span>
#include <type_traits>

#include "emulator/cart/board.h"
#include "emulator/machine_state/machine_state.h"
#include "emulator/machine_state/state_layout.h"

namespace wrenfold {

static_assert(kBoardStateCapacity == state_layout::kBoardBlock.size,
              "a board's saved spans fill the board block of the state");

// What a state file holds besides the machine: its mark and the fingerprint of the cartridge
// data it was made with.
struct StateEnvelope {
  std::array<uint8_t, 3> magic = kStateMagic;
  uint32_t romFingerprint = 0;
};

template <StateField kField, class Io, class T>
void VisitField(Io& io, T& value) {
  static_assert(sizeof(T) == kField.size, "the member does not fill its place in the layout");
  io.Value(kField.offset, value);
}

// The board's spans, packed one after another from the start of the board block. Spans are
// raw bytes of the record, so their multi-byte members are in the host's order, which the
// build requires to be little-endian.
template <class Io, class Machine>
void VisitBoardBlock(Io& io, Machine& machine, std::span<const StateSpan> boardSpans) {
  static_assert(std::endian::native == std::endian::little);
  using Byte = std::conditional_t<std::is_const_v<Machine>, const uint8_t, uint8_t>;
  Byte* record = reinterpret_cast<Byte*>(&machine);
  const StateField block = state_layout::kBoardBlock;
  std::size_t used = 0;
  for (const StateSpan& span : boardSpans) {
    // The board table refuses rows that do not fit at compile time; this only keeps a bad
    // row from writing past the block.
    if (used + span.size > block.size || span.offset + span.size > sizeof(MachineState)) break;
    io.Raw(block.offset + used, record + span.offset, span.size);
    used += span.size;
  }
  io.Reserved(block.offset + used, block.size - used);
}

template <class Io, class Machine, class Envelope>
void VisitState(Io& io, Machine& machine, Envelope& envelope,
                std::span<const StateSpan> boardSpans) {
  using namespace state_layout;
  VisitField<kMagic>(io, envelope.magic);
  VisitField<kPrgBankCount>(io, machine.header.prgBankCount);
  VisitField<kChrBankCount>(io, machine.header.chrBankCount);
  VisitField<kMirrorVertical>(io, machine.header.mirrorVertical);
  VisitField<kBatteryFlag>(io, machine.header.batteryFlag);
  VisitField<kTrainerFlag>(io, machine.header.trainerFlag);
  VisitField<kFourScreen>(io, machine.header.fourScreen);
  VisitField<kMapperNumber>(io, machine.header.mapperNumber);
  io.Reserved(kAfterMapperNumber.offset, kAfterMapperNumber.size);
  VisitField<kSpareNameTable>(io, machine.spareNameTable);
  VisitField<kPaletteRam>(io, machine.paletteRam);
  VisitField<kNamcoRam>(io, machine.namcoRam);
  VisitField<kCpuP>(io, machine.cpu.P);
  VisitField<kCpuS>(io, machine.cpu.S);
  VisitField<kCpuPc>(io, machine.cpu.PC);
  VisitField<kCpuA>(io, machine.cpu.A);
  VisitField<kCpuX>(io, machine.cpu.X);
  VisitField<kCpuY>(io, machine.cpu.Y);
  VisitField<kCpuSpare>(io, machine.cpu.spare);
  VisitBoardBlock(io, machine, boardSpans);
  VisitField<kCpuMem>(io, machine.cpuMem);
  VisitField<kPpuMem>(io, machine.ppuMem);
  VisitField<kOam>(io, machine.oam);
  VisitField<kVramLatch>(io, machine.ppu.vramLatch);
  VisitField<kVramAddr>(io, machine.ppu.vramAddr);
  VisitField<kWriteToggle>(io, machine.ppu.writeToggle);
  VisitField<kFineX>(io, machine.ppu.fineX);
  VisitField<kFineY>(io, machine.ppu.fineY);
  VisitField<kVramAddrWritten>(io, machine.ppu.vramAddrWritten);
  VisitField<kPadReadIndex>(io, machine.padReadIndex);
  VisitField<kCycleCarry>(io, machine.cycleCarry);
  VisitField<kRomFingerprint>(io, envelope.romFingerprint);
  VisitField<kPpuReadBuffer>(io, machine.ppu.readBuffer);
  io.Reserved(kLatchBlockSpare.offset, kLatchBlockSpare.size);
}

}  // namespace wrenfold
