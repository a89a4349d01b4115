// Sends the CPU trace to a stream while an object of this class lives.
#pragma once

#include <cstdio>

#include "emulator/cpu/cpu_trace.h"

namespace wrenfold::headless {

class TraceToStream {
 public:
  explicit TraceToStream(std::FILE* stream);
  ~TraceToStream();
  TraceToStream(const TraceToStream&) = delete;
  TraceToStream& operator=(const TraceToStream&) = delete;

 private:
  std::FILE* stream;
  CpuTraceSink sink;
  const CpuTraceSink* previous;
};

}  // namespace wrenfold::headless
