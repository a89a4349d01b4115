#include "platform/common/printed_message.h"

namespace wrenfold {

void PrintMessage(std::FILE* stream, std::string_view caption, std::string_view text) {
  if (stream == nullptr) return;
  std::fwrite(caption.data(), 1, caption.size(), stream);
  std::fputs(": ", stream);
  std::fwrite(text.data(), 1, text.size(), stream);
  if (text.empty() || text.back() != '\n') std::fputc('\n', stream);
  std::fflush(stream);
}

}  // namespace wrenfold
