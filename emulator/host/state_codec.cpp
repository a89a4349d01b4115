#include "emulator/host/state_codec.h"

#include <memory>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/board_table.h"
#include "emulator/machine_state/visit_state.h"
#include "emulator/ppu/ppu_memory.h"

namespace wrenfold {
namespace {

constexpr uint32_t kFnvOffsetBasis = 2166136261u;
constexpr uint32_t kFnvPrime = 16777619u;
constexpr uint32_t kPatternTablesSize = 0x2000;

uint32_t Fnv1a(uint32_t hash, const uint8_t* bytes, uint32_t length) {
  for (uint32_t i = 0; i < length; ++i) hash = (hash ^ bytes[i]) * kFnvPrime;
  return hash;
}

bool IsFlag(uint32_t value) {
  return value == 0 || value == 1;
}

bool SameCartridge(const CartridgeHeader& state, const CartridgeHeader& running) {
  return state.mapperNumber == running.mapperNumber && state.prgBankCount == running.prgBankCount &&
         state.chrBankCount == running.chrBankCount;
}

}  // namespace

const char* RefusalText(StateRefusal refusal) {
  switch (refusal) {
    case StateRefusal::kNone:
      return "loaded";
    case StateRefusal::kTooShort:
      return "shorter than a save state";
    case StateRefusal::kTooLong:
      return "longer than a save state";
    case StateRefusal::kNotAState:
      return "not a save state";
    case StateRefusal::kOtherCartridge:
      return "made with another cartridge";
    case StateRefusal::kDamaged:
      return "damaged";
  }
  return "damaged";
}

uint32_t RomFingerprint(const MachineState& machine) {
  const uint32_t hash = Fnv1a(kFnvOffsetBasis, machine.prgRom, PrgDataSize(machine));
  return Fnv1a(hash, machine.chrRom, ChrDataSize(machine));
}

void EncodeState(const MachineState& machine, StateBytes& out) {
  const StateEnvelope envelope{kStateMagic, RomFingerprint(machine)};
  StateWriter writer(out);
  VisitState(writer, machine, envelope, BoardFor(machine.header.mapperNumber).savedState);
}

StateRefusal DecodeState(std::span<const uint8_t> bytes, MachineState& machine) {
  if (bytes.size() < kStateSize) return StateRefusal::kTooShort;
  if (bytes.size() > kStateSize) return StateRefusal::kTooLong;

  // Every field is read into a scratch record and checked before the machine changes; the
  // scratch needs no copy of the machine, since only the fields a state holds are looked at.
  const std::span<const StateSpan> boardSpans = BoardFor(machine.header.mapperNumber).savedState;
  const auto scratch = std::make_unique_for_overwrite<MachineState>();
  StateEnvelope envelope;
  StateReader reader(bytes.first<kStateSize>());
  VisitState(reader, *scratch, envelope, boardSpans);

  if (envelope.magic != kStateMagic) return StateRefusal::kNotAState;
  if (!SameCartridge(scratch->header, machine.header) ||
      envelope.romFingerprint != RomFingerprint(machine)) {
    return StateRefusal::kOtherCartridge;
  }
  const CartridgeHeader& header = scratch->header;
  if (!IsFlag(header.mirrorVertical) || !IsFlag(header.batteryFlag) ||
      !IsFlag(header.trainerFlag) || !IsFlag(header.fourScreen)) {
    return StateRefusal::kDamaged;
  }

  // Checked whole: the same reading cannot fail on the machine.
  VisitState(reader, machine, envelope, boardSpans);
  // The caches name the banks the running machine copied last, not what the state holds.
  ClearBankCaches(machine);
  // Pattern RAM lives in a store behind the tables; the slots hold the state's bytes, so the
  // store takes them back before a bank switch copies from it.
  if (machine.header.chrBankCount == 0) RestorePatternRamStore(machine);
  DecodeTileRange(machine, 0, kPatternTablesSize);
  return StateRefusal::kNone;
}

}  // namespace wrenfold
