// The result conventions of the public test cartridges: the status block at $6000 (blargg's
// later shell) and the result byte at $00F8 (his 2005 shell), and answering a "press reset"
// request.
#pragma once

#include <cstdint>
#include <string>

#include "emulator/machine_state/machine_state.h"
#include "tools/headless_runner/runner_options.h"

namespace wrenfold::headless {

inline constexpr uint16_t kStatusAddress = 0x6000;
inline constexpr uint16_t kSignatureAddress = 0x6001;   // DE B0 61 once the block is valid
inline constexpr uint16_t kStatusTextAddress = 0x6004;  // zero-terminated ASCII
inline constexpr uint16_t kResultByteAddress = 0x00F8;

inline constexpr uint8_t kStatusPassed = 0x00;
inline constexpr uint8_t kStatusRunning = 0x80;
inline constexpr uint8_t kStatusPressReset = 0x81;

// The request is answered this many frames after it is first seen: 100 ms or more of
// emulated time, as the cartridges ask.
inline constexpr uint32_t kResetDelayFrames = 10;

struct StatusBlock {
  bool valid = false;  // the signature is in place
  uint8_t status = 0;
  std::string text;  // printable ASCII and line ends; anything else shows as '?'
};

// `withText` false leaves the text out (for the per-frame check).
StatusBlock ReadStatusBlock(const MachineState& machine, bool withText = true);

// True once the block holds a final result (passed or a failure code).
bool IsFinalStatus(const StatusBlock& block);

// kNothingReported: the automatic reading found neither a status block nor a result byte, so
// the cartridge is no test cartridge (or has not started reporting); kNone: a source was read
// and holds no final result.
enum class VerdictKind : uint8_t { kPassed, kFailed, kNone, kNothingReported };

struct Verdict {
  VerdictKind kind = VerdictKind::kNone;
  std::string description;  // e.g. "passed ($6000 status $00)"
  std::string text;         // the status block's text, when it was read
};

Verdict JudgeTestRom(const MachineState& machine, VerdictSource source);

// Process exit status of a verdict: 0 passed or nothing reported, 1 failed, 2 none.
int VerdictExitStatus(VerdictKind kind);

// Watches the status block for $81 and says when to press reset: kResetDelayFrames frames
// after the request appears, once per request (the status must leave $81 before another
// request counts).
class ResetRequestWatcher {
 public:
  // Call after every frame; true when the reset is due now.
  bool AfterFrame(const StatusBlock& block);

  uint32_t ResetsPressed() const { return resets; }

 private:
  bool armed = true;
  uint32_t countdown = 0;  // frames left until the pending reset; 0 = none pending
  uint32_t resets = 0;
};

}  // namespace wrenfold::headless
