#include "tools/headless_runner/trace_output.h"

#include <string_view>

namespace wrenfold::headless {
namespace {

void WriteLine(void* context, std::string_view line) {
  auto* stream = static_cast<std::FILE*>(context);
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fputc('\n', stream);
}

}  // namespace

TraceToStream::TraceToStream(std::FILE* stream)
    : stream(stream), sink{WriteLine, stream}, previous(TheCpuTrace().sink) {
  TheCpuTrace().sink = &sink;
}

TraceToStream::~TraceToStream() {
  TheCpuTrace().sink = previous;
  std::fflush(stream);
}

}  // namespace wrenfold::headless
