#include "emulator/sound/triangle_channel.h"

#include <algorithm>

#include "emulator/sound/apu_registers.h"

namespace wrenfold {
namespace {

void BuildThresholds(TriangleState& triangle) {
  int32_t* t = triangle.thresholds;
  const int32_t q = triangle.quarterCycle;
  t[0] = q >> 4;
  t[1] = q >> 3;
  t[2] = t[0] + t[1];
  t[3] = q >> 2;
  t[4] = t[0] + t[3];
  t[5] = t[1] + t[3];
  t[6] = t[2] + t[3];
  t[7] = q >> 1;
  for (int k = 8; k < 15; ++k) t[k] = t[k - 8] + t[7];
  t[15] = q;
}

void BeginCycle(TriangleState& triangle, const SoundTables& tables) {
  triangle.position = 0;
  triangle.phase = 0;
  triangle.level = 0;
  if (triangle.period == 0) {
    // Silent: the cycle restarts on every sample.
    triangle.quarterCycle = 0;
    return;
  }
  triangle.quarterCycle = tables.samplesPerPeriod[triangle.period] / 2;
  BuildThresholds(triangle);
}

void StepLevel(TriangleState& triangle) {
  const int32_t* t = triangle.thresholds;
  const int32_t q = triangle.quarterCycle;
  const int32_t pos = triangle.position;
  switch (triangle.phase) {
    case 0:
      if (pos >= t[triangle.level] && ++triangle.level == 15) triangle.phase = 1;
      break;
    case 1:
      if (pos - q >= t[15 - triangle.level] && --triangle.level == 0) triangle.phase = 2;
      break;
    case 2:
      if (pos - 2 * q >= t[triangle.level] && ++triangle.level == 15) triangle.phase = 3;
      break;
    default:
      if (pos - 3 * q >= t[15 - triangle.level] && --triangle.level == 0) triangle.phase = 0;
      break;
  }
}

}  // namespace

void StartTriangleFrame(TriangleState& triangle, const TriangleRegisters& regs, int32_t& written) {
  const uint8_t linearLoad = regs.control & kLinearLoadMask;
  if (triangle.running) --triangle.linearCounter;
  if (regs.control & kTriangleControl) {
    if (!triangle.running) triangle.muted = false;
  } else {
    --triangle.lengthCounter;
    if (triangle.running) {
      const bool lengthOut = triangle.lengthCounter == 0;
      const bool linearOut = triangle.linearCounter == 0;
      if (lengthOut || linearOut) triangle.muted = true;
      if (lengthOut && linearOut) {
        written = 1;
        triangle.muted = false;
      }
    } else {
      triangle.running = true;
      triangle.linearCounter = static_cast<uint8_t>(linearLoad / 4);
      if (triangle.linearCounter == 0) triangle.muted = true;
    }
  }
  if (linearLoad == 0) triangle.muted = true;
  if (written) {
    triangle.period =
        regs.control != 0
            ? static_cast<uint16_t>(regs.timerLow | ((regs.timerHigh & kTimerHighMask) << 8))
            : 0;
    written = 0;
    triangle.lengthCounter = (regs.timerHigh & 0xF8) * 2;
    triangle.linearCounter = static_cast<uint8_t>(linearLoad / 4);
    triangle.muted = false;
  }
}

namespace {

int16_t RenderTriangleSample(TriangleState& triangle, const SoundTables& tables) {
  if (triangle.quarterCycle == 0 || triangle.position >= 4 * triangle.quarterCycle) {
    BeginCycle(triangle, tables);
  }
  StepLevel(triangle);
  int16_t value = 0;
  if (triangle.quarterCycle != 0 && !triangle.muted) {
    value = static_cast<int16_t>(triangle.phase < 2 ? triangle.level * 128 : triangle.level * -128);
  }
  ++triangle.position;
  return value;
}

}  // namespace

void RenderTriangleFrame(TriangleState& triangle, const SoundTables& tables, int16_t* out,
                         uint32_t count) {
  uint32_t n = 0;
  for (; n < count; ++n) {
    if (triangle.period == 0 && triangle.quarterCycle == 0) break;
    out[n] = RenderTriangleSample(triangle, tables);
  }
  if (n == count) return;
  // Silent from here: every sample restarts the cycle at period 0 from the same state, so
  // each leaves what the first leaves, and all are 0.
  out[n] = RenderTriangleSample(triangle, tables);
  std::fill(out + n + 1, out + count, int16_t{0});
}

}  // namespace wrenfold
