#include "emulator/sound/noise_channel.h"

#include "emulator/sound/apu_registers.h"

namespace wrenfold {
namespace {

bool IsEnvelopeSample(uint32_t n) {
  return n == 0 || n == 93 || n == 186 || n == 270;
}

int32_t LengthReload(const NoiseRegisters& regs) {
  return regs.length >> kLengthIndexShift;
}

void ClockEnvelope(NoiseState& noise, uint8_t control, int32_t& written) {
  if (noise.envelopeDivider != 0) --noise.envelopeDivider;
  if (noise.envelopeDivider != 0) return;
  // Held at 0 rather than wrapping to 255: the envelope starts at volume 0 after power-on.
  if (noise.volume > 0) --noise.volume;
  if (noise.volume == 0) {
    if (control & kEnvelopeLoop) {
      noise.volume = 15;
    } else {
      noise.envelopeRestartPending = true;
      written = 1;
    }
  }
  noise.envelopeDivider = static_cast<uint8_t>((control & kVolumeMask) + 1);
}

void AdvanceSequence(NoiseState& noise, const NoiseRegisters& regs, const SoundTables& tables) {
  uint8_t entry;
  if (regs.mode & kNoiseShortMode) {
    noise.shortPosition = static_cast<uint8_t>(
        noise.shortPosition + 1 >= kShortNoiseSteps ? 0 : noise.shortPosition + 1);
    entry = tables.noise[noise.shortPosition];
  } else {
    noise.sequencePosition = static_cast<uint16_t>((noise.sequencePosition + 1) & 0x7FF);
    entry = tables.noise[noise.sequencePosition];
  }
  noise.high = (entry & 2) != 0;
}

}  // namespace

NoiseFramePlan StartNoiseFrame(NoiseState& noise, const NoiseRegisters& regs, int32_t& lengthCode,
                               int32_t& written) {
  NoiseFramePlan plan{false, true};
  if (lengthCode != 0) {
    --lengthCode;
  } else if (regs.control & kEnvelopeLoop) {
    if ((regs.control & kConstantVolume) == 0) {
      lengthCode = LengthReload(regs) + 5;
      written = 1;
      noise.volume = 15;
    } else {
      plan.clearBuffer = true;
      lengthCode = LengthReload(regs) + 4;
    }
  } else {
    plan.clearBuffer = true;
    written = 0;
  }
  if (lengthCode == 0 && written == 0) {
    plan.render = false;
    return plan;
  }
  if (written) {
    noise.holdLength = kNoiseHoldTable[regs.mode & 0x0F];
    written = 0;
    if (noise.envelopeRestartPending && (regs.control & kConstantVolume) == 0) {
      noise.envelopeDivider = static_cast<uint8_t>((regs.control & kVolumeMask) + 1);
      noise.envelopeRestartPending = false;
      noise.volume = 15;
    }
  }
  if (regs.control & kConstantVolume) noise.constantVolume = regs.control & kVolumeMask;
  return plan;
}

void RenderNoiseFrame(NoiseState& noise, const NoiseRegisters& regs, const SoundTables& tables,
                      int32_t& written, int16_t* out, uint32_t count) {
  const uint8_t control = regs.control;
  const bool constant = (control & kConstantVolume) != 0;
  for (uint32_t n = 0; n < count; ++n) {
    if (IsEnvelopeSample(n) && !constant && !noise.envelopeRestartPending) {
      ClockEnvelope(noise, control, written);
    }
    if (noise.holdCounter >= noise.holdLength) {
      AdvanceSequence(noise, regs, tables);
      noise.holdCounter = 0;
    }
    const int value = (constant ? noise.constantVolume : noise.volume) * 128;
    out[n] = static_cast<int16_t>(noise.high ? value : -value);
    ++noise.holdCounter;
  }
}

}  // namespace wrenfold
