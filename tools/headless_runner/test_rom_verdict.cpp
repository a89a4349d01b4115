#include "tools/headless_runner/test_rom_verdict.h"

#include <cstdio>

namespace wrenfold::headless {
namespace {

constexpr uint8_t kSignature[3] = {0xDE, 0xB0, 0x61};
constexpr uint32_t kCartridgeRamEnd = 0x8000;
constexpr uint8_t kResultBytePassed = 1;

std::string Hex(uint8_t value) {
  char text[4];
  std::snprintf(text, sizeof text, "$%02X", value);
  return text;
}

char Printable(uint8_t c) {
  if (c == '\n' || (c >= 0x20 && c < 0x7F)) return static_cast<char>(c);
  return '?';
}

Verdict JudgeStatusBlock(const StatusBlock& block) {
  Verdict verdict;
  verdict.text = block.text;
  const std::string code = Hex(block.status);
  if (block.status == kStatusPassed) {
    verdict.kind = VerdictKind::kPassed;
    verdict.description = "passed ($6000 status " + code + ")";
  } else if (block.status < kStatusRunning) {
    verdict.kind = VerdictKind::kFailed;
    verdict.description = "failed ($6000 status " + code + ")";
  } else if (block.status == kStatusRunning) {
    verdict.description = "no verdict: still running ($6000 status $80)";
  } else if (block.status == kStatusPressReset) {
    verdict.description = "no verdict: waiting for reset ($6000 status $81)";
  } else {
    verdict.description = "no verdict: unknown $6000 status " + code;
  }
  return verdict;
}

Verdict JudgeResultByte(uint8_t value) {
  Verdict verdict;
  if (value == kResultBytePassed) {
    verdict.kind = VerdictKind::kPassed;
    verdict.description = "passed ($00F8 = 1)";
  } else if (value > kResultBytePassed) {
    verdict.kind = VerdictKind::kFailed;
    verdict.description =
        "failed #" + std::to_string(value) + " ($00F8 = " + std::to_string(value) + ")";
  } else {
    verdict.description = "no verdict: $00F8 is 0";
  }
  return verdict;
}

}  // namespace

StatusBlock ReadStatusBlock(const MachineState& machine, bool withText) {
  StatusBlock block;
  const uint8_t* signature = machine.cpuMem + kSignatureAddress;
  block.valid = signature[0] == kSignature[0] && signature[1] == kSignature[1] &&
                signature[2] == kSignature[2];
  if (!block.valid) return block;
  block.status = machine.cpuMem[kStatusAddress];
  if (!withText) return block;
  for (uint32_t address = kStatusTextAddress; address < kCartridgeRamEnd; ++address) {
    const uint8_t c = machine.cpuMem[address];
    if (c == 0) break;
    block.text.push_back(Printable(c));
  }
  return block;
}

bool IsFinalStatus(const StatusBlock& block) {
  return block.valid && block.status < kStatusRunning;
}

Verdict JudgeTestRom(const MachineState& machine, VerdictSource source) {
  switch (source) {
    case VerdictSource::kNone:
      return Verdict{VerdictKind::kNone, "not asked for", ""};
    case VerdictSource::kStatus: {
      const StatusBlock block = ReadStatusBlock(machine);
      if (!block.valid) return Verdict{VerdictKind::kNone, "no verdict: no $6000 signature", ""};
      return JudgeStatusBlock(block);
    }
    case VerdictSource::kResultByte:
      return JudgeResultByte(machine.cpuMem[kResultByteAddress]);
    case VerdictSource::kAuto: {
      const StatusBlock block = ReadStatusBlock(machine);
      if (block.valid) return JudgeStatusBlock(block);
      const uint8_t resultByte = machine.cpuMem[kResultByteAddress];
      if (resultByte != 0) return JudgeResultByte(resultByte);
      return Verdict{VerdictKind::kNothingReported,
                     "nothing reported (no $6000 signature and $00F8 is 0)", ""};
    }
  }
  return Verdict{};
}

int VerdictExitStatus(VerdictKind kind) {
  switch (kind) {
    case VerdictKind::kPassed:
    case VerdictKind::kNothingReported:
      return 0;
    case VerdictKind::kFailed:
      return 1;
    case VerdictKind::kNone:
      break;
  }
  return 2;
}

bool ResetRequestWatcher::AfterFrame(const StatusBlock& block) {
  const bool requested = block.valid && block.status == kStatusPressReset;
  if (countdown > 0) {
    if (--countdown > 0) return false;
    ++resets;
    armed = false;
    return true;
  }
  if (!requested) {
    armed = true;
  } else if (armed) {
    countdown = kResetDelayFrames;
  }
  return false;
}

}  // namespace wrenfold::headless
