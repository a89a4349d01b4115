#include "emulator/sound/pulse_channel.h"

#include <algorithm>

#include "emulator/sound/apu_registers.h"

namespace wrenfold {
namespace {

constexpr uint32_t kMidFrameSample = 187;  // the sweep and envelope also clock after it
constexpr uint32_t kEnvelopeSampleA = 92;
constexpr uint32_t kEnvelopeSampleB = 275;
constexpr uint16_t kMaxPeriod = 2047;

int16_t SignedVolume(int16_t output, uint8_t volume) {
  const int value = volume * 128;
  return static_cast<int16_t>(output < 0 ? -value : value);
}

bool EnvelopeClocks(const PulseState& pulse, uint8_t control) {
  return (control & kConstantVolume) == 0 && pulse.envelopeActive;
}

// One envelope step: the volume falls by one; at 0 it loops back to 15 or the envelope ends.
// A volume already at 0 (left there by constant-volume mode) stays at 0 instead of wrapping
// to 255, which would blast a full-scale square wave.
void StepEnvelopeVolume(PulseState& pulse, uint8_t control) {
  if (pulse.volume > 0) --pulse.volume;
  if (pulse.volume == 0) {
    if (control & kEnvelopeLoop) {
      pulse.volume = 15;
    } else {
      pulse.envelopeActive = false;
    }
  }
  pulse.output = SignedVolume(pulse.output, pulse.volume);
  pulse.envelopeDivider = static_cast<uint8_t>((control & kVolumeMask) + 1);
}

void ClockEnvelope(PulseState& pulse, uint8_t control) {
  if (pulse.envelopeDivider != 0) --pulse.envelopeDivider;
  if (pulse.envelopeDivider == 0) StepEnvelopeVolume(pulse, control);
}

void ClockSecondPulseEnvelope(PulseState& pulse, uint8_t control) {
  pulse.envelopeDivider = static_cast<uint8_t>(pulse.envelopeDivider - 1);
  if (EnvelopeClocks(pulse, control) && pulse.envelopeDivider == 0) {
    StepEnvelopeVolume(pulse, control);
  }
}

// The new period takes effect when the next cycle begins.
void ClockSweep(PulseState& pulse, uint8_t sweep) {
  ++pulse.sweepDivider;
  if (pulse.sweepDivider <= ((sweep >> 4) & 7)) return;
  pulse.sweepDivider = 0;
  const int shift = sweep & kSweepShiftMask;
  if (shift == 0) return;
  const int delta = pulse.period >> shift;
  int period = (sweep & kSweepNegate) ? pulse.period - delta : pulse.period + delta;
  if (period < 3) {
    period = 0;
  } else if (period > kMaxPeriod - 1) {
    period = kMaxPeriod;
  }
  pulse.period = static_cast<uint16_t>(period);
}

}  // namespace

uint16_t PulseDutyThreshold(uint16_t samplesPerCycle, uint8_t control) {
  switch (control >> kDutyShift) {
    case 0:
      return samplesPerCycle >> 3;
    case 1:
      return samplesPerCycle >> 2;
    case 2:
      return samplesPerCycle >> 1;
    default:
      return static_cast<uint16_t>((samplesPerCycle >> 2) * 3);
  }
}

void StartPulseFrame(PulseState& pulse, const PulseRegisters& regs, PulseChangeFlags flags) {
  // The count never silences the note: it triggers it again every table-length frames.
  // It starts at 0, so the first frame loads it.
  if (--pulse.lengthCounter <= 0) {
    flags.written = 1;
    pulse.lengthCounter = kLengthTable[regs.timerHigh >> kLengthIndexShift];
  }
  if (flags.written) {
    pulse.period = static_cast<uint16_t>(regs.timerLow | ((regs.timerHigh & kTimerHighMask) << 8));
    flags.written = 0;
    if (flags.sweepWritten == 0) pulse.sweepDivider = 0;
    if (pulse.envelopeRestartPending && (regs.control & kConstantVolume) == 0) {
      pulse.envelopeDivider = static_cast<uint8_t>((regs.control & kVolumeMask) + 1);
      pulse.envelopeRestartPending = false;
      pulse.envelopeActive = true;
      pulse.volume = 15;
    }
  }
  if (regs.control & kConstantVolume) pulse.volume = regs.control & kVolumeMask;
}

namespace {

// One sample with everything that can happen at it: the envelope clocks before samples 92 and
// 275, the flip at the duty threshold, a new cycle, and the sweep and envelope after sample 187
// and the frame's last.
void RenderPulseSample(PulseState& pulse, const PulseRegisters& regs, const SoundTables& tables,
                       bool secondPulse, int16_t* out, uint32_t n, uint32_t count) {
  const uint8_t control = regs.control;
  if (n == kEnvelopeSampleA || n == kEnvelopeSampleB) {
    if (secondPulse) {
      ClockSecondPulseEnvelope(pulse, control);
    } else if (EnvelopeClocks(pulse, control)) {
      ClockEnvelope(pulse, control);
    }
  }
  if (pulse.position == pulse.dutyThreshold) pulse.output = static_cast<int16_t>(-pulse.output);
  if (pulse.position >= pulse.samplesPerCycle) {
    pulse.position = 0;
    if (pulse.period == 0) {
      pulse.samplesPerCycle = 0;
      pulse.dutyThreshold = 8;
      pulse.output = 0;
    } else {
      pulse.envelopeRestartPending = true;
      pulse.samplesPerCycle = tables.samplesPerPeriod[pulse.period];
      pulse.dutyThreshold = PulseDutyThreshold(pulse.samplesPerCycle, control);
      pulse.output = static_cast<int16_t>(pulse.volume * 128);
    }
  }
  out[n] = pulse.output;
  ++pulse.position;
  if (n == kMidFrameSample || n + 1 == count) {
    if (regs.sweep & kSweepEnable) ClockSweep(pulse, regs.sweep);
    if (EnvelopeClocks(pulse, control)) ClockEnvelope(pulse, control);
  }
}

// The samples from `n` on before the next of the frame's clock samples (the last sample
// clocks the sweep and envelope too).
uint32_t SamplesBeforeClock(uint32_t n, uint32_t count) {
  uint32_t quiet = count - 1 - n;
  for (const uint32_t clock : {kEnvelopeSampleA, kMidFrameSample, kEnvelopeSampleB}) {
    if (clock >= n) quiet = std::min(quiet, clock - n);
  }
  return quiet;
}

// How many samples from `n` on only repeat the output and step the position: none of them is
// one of the frame's clock samples, and the position reaches neither the duty threshold nor
// the end of the cycle.
uint32_t QuietSamples(const PulseState& pulse, uint32_t n, uint32_t count) {
  uint32_t quiet = SamplesBeforeClock(n, count);
  if (pulse.position >= pulse.samplesPerCycle) return 0;
  quiet = std::min<uint32_t>(quiet, pulse.samplesPerCycle - pulse.position);
  if (pulse.position <= pulse.dutyThreshold) {
    quiet = std::min<uint32_t>(quiet, pulse.dutyThreshold - pulse.position);
  }
  return quiet;
}

}  // namespace

// Sample by sample where something happens, and the runs between as one fill.
void RenderPulseFrame(PulseState& pulse, const PulseRegisters& regs, const SoundTables& tables,
                      bool secondPulse, int16_t* out, uint32_t count) {
  pulse.dutyThreshold = PulseDutyThreshold(pulse.samplesPerCycle, regs.control);
  uint32_t n = 0;
  while (n < count) {
    if (pulse.period == 0 && pulse.samplesPerCycle == 0) {
      // At period 0 every sample starts a new, silent cycle (the sweep keeps the period at 0):
      // up to the next clock sample each writes 0 and leaves the position at 1.
      const uint32_t silent = SamplesBeforeClock(n, count);
      if (silent != 0) {
        std::fill_n(out + n, silent, int16_t{0});
        n += silent;
        pulse.position = 1;
        pulse.dutyThreshold = 8;
        pulse.output = 0;
      }
    } else {
      const uint32_t quiet = QuietSamples(pulse, n, count);
      std::fill_n(out + n, quiet, pulse.output);
      pulse.position = static_cast<uint16_t>(pulse.position + quiet);
      n += quiet;
    }
    RenderPulseSample(pulse, regs, tables, secondPulse, out, n, count);
    ++n;
  }
}

}  // namespace wrenfold
