// The ways the interpreters keep the status flags during a call. All offer the same
// operations, so the instruction code in cpu_interpreter.h is written once for every core.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

// Reference core: P stays packed. Each update clears the bits the instruction defines and ORs
// in the new values; B and bit 5 are ordinary bits that only PLP and RTI change.
struct PackedFlags {
  uint8_t p;

  void Load(uint8_t packed) { p = packed; }
  uint8_t Pack() const { return p; }

  bool N() const { return (p & kFlagN) != 0; }
  bool V() const { return (p & kFlagV) != 0; }
  bool Z() const { return (p & kFlagZ) != 0; }
  bool C() const { return (p & kFlagC) != 0; }
  bool I() const { return (p & kFlagI) != 0; }
  uint8_t Carry() const { return p & kFlagC; }

  void SetNZ(uint8_t result) { p = (p & 0x7D) | NZOf(result); }
  void SetNZC(uint8_t result, bool carry) { p = (p & 0x7C) | NZOf(result) | (carry ? kFlagC : 0); }
  void SetNVZC(uint8_t result, bool overflow, bool carry) {
    p = (p & 0x3C) | NZOf(result) | (overflow ? kFlagV : 0) | (carry ? kFlagC : 0);
  }
  // BIT: N and V are copied from the operand, Z comes from A AND operand.
  void SetBitTest(uint8_t operand, bool zero) {
    p = (p & 0x3D) | (operand & (kFlagN | kFlagV)) | (zero ? kFlagZ : 0);
  }
  void SetC(bool on) { p = on ? (p | kFlagC) : (p & ~kFlagC); }
  void SetI(bool on) { p = on ? (p | kFlagI) : (p & ~kFlagI); }
  void SetD(bool on) { p = on ? (p | kFlagD) : (p & ~kFlagD); }
  void ClearV() { p &= ~kFlagV; }
  // After BRK pushed its copy, B, I and bit 5 stay set in the live P.
  void EnterBreak() { p |= kFlagBit5 | kFlagB | kFlagI; }

 private:
  static uint8_t NZOf(uint8_t result) { return (result & kFlagN) | (result == 0 ? kFlagZ : 0); }
};

// Second core: P packed too, but bit 5 has no place in it: it is dropped on the way in (at
// entry, PLP, RTI), so a packed copy (on exit, PHP, BRK) always has bit 5 clear. B is an
// ordinary flag that BRK sets.
struct Bit5ClearFlags : PackedFlags {
  void Load(uint8_t packed) { p = static_cast<uint8_t>(packed & ~kFlagBit5); }
  void EnterBreak() { p |= kFlagB | kFlagI; }
};

// Full core: P packed as the console shows it. The 2A03 has no B or bit-5 latch: bit 5 always
// reads as set and B as clear, both are forced on in the copy PHP and BRK push, and PLP and RTI
// drop whatever the pulled byte holds there.
struct ConsoleFlags : PackedFlags {
  void Load(uint8_t packed) { p = static_cast<uint8_t>((packed | kFlagBit5) & ~kFlagB); }
  // BRK pushed its copy with B set; the live P only gains I.
  void EnterBreak() { p |= kFlagI; }
};

}  // namespace wrenfold
