// Modal messages with one OK button. Without a display the caption and text go to standard
// error instead, and the call never waits for anyone.
#pragma once

#include <string_view>

namespace wrenfold {

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void Show(std::string_view caption, std::string_view text) = 0;
};

}  // namespace wrenfold
