// The millisecond clock that paces frames. Only differences of readings are meaningful; the
// counter wraps after 2^32 milliseconds.
#pragma once

#include <cstdint>

namespace wrenfold {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t Milliseconds() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
};

}  // namespace wrenfold
