#include "platform/headless/headless_message_box.h"

namespace wrenfold {

void PrintMessage(std::FILE* stream, std::string_view caption, std::string_view text) {
  if (stream == nullptr) return;
  std::fwrite(caption.data(), 1, caption.size(), stream);
  std::fputs(": ", stream);
  std::fwrite(text.data(), 1, text.size(), stream);
  if (text.empty() || text.back() != '\n') std::fputc('\n', stream);
  std::fflush(stream);
}

void HeadlessMessageBox::Show(std::string_view caption, std::string_view text) {
  PrintMessage(stream, caption, text);
  shown.push_back(ShownMessage{std::string(caption), std::string(text)});
}

}  // namespace wrenfold
