// Message boxes without a display: each goes to a stream (standard error by default) and
// is kept for the caller to inspect. Nothing ever waits for a click.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/printed_message.h"
#include "platform/message_box.h"

namespace wrenfold {

struct ShownMessage {
  std::string caption;
  std::string text;
};

class HeadlessMessageBox final : public MessageBox {
 public:
  // A null stream only records.
  explicit HeadlessMessageBox(std::FILE* stream = stderr) : stream(stream) {}

  void Show(std::string_view caption, std::string_view text) override;
  const std::vector<ShownMessage>& Shown() const { return shown; }

 private:
  std::FILE* stream;
  std::vector<ShownMessage> shown;
};

}  // namespace wrenfold
