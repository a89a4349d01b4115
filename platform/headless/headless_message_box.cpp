#include "platform/headless/headless_message_box.h"

namespace wrenfold {

void HeadlessMessageBox::Show(std::string_view caption, std::string_view text) {
  PrintMessage(stream, caption, text);
  shown.push_back(ShownMessage{std::string(caption), std::string(text)});
}

}  // namespace wrenfold
