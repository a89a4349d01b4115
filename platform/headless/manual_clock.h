// A clock that moves only when told to: Sleep and Advance move it, and a read may step it
// by a fixed amount so that a busy-wait on it comes to an end.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace wrenfold {

class ManualClock final : public Clock {
 public:
  explicit ManualClock(uint32_t start = 0) : now(start) {}

  uint32_t Milliseconds() override {
    const uint32_t reading = now;
    now += stepPerRead;
    return reading;
  }
  void Sleep(uint32_t milliseconds) override {
    now += milliseconds;
    slept += milliseconds;
  }

  void Advance(uint32_t milliseconds) { now += milliseconds; }
  void Set(uint32_t milliseconds) { now = milliseconds; }
  // Every read moves the clock on by this much afterwards (0 by default).
  void SetStepPerRead(uint32_t milliseconds) { stepPerRead = milliseconds; }
  // The clock's value, without the step a read would add.
  uint32_t Peek() const { return now; }
  // Total milliseconds asked for by Sleep.
  uint64_t SleptMilliseconds() const { return slept; }

 private:
  uint32_t now;
  uint32_t stepPerRead = 0;
  uint64_t slept = 0;
};

}  // namespace wrenfold
