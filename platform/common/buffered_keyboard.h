// The keyboard device both input backends share: a queue of key transitions fed by the
// window system, handed out in fetches of at most 32, and a foreground rule, so the device
// works only while the emulator window has the keyboard.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/input.h"

namespace wrenfold {

// Key transitions waiting for the next fetch.
class KeyEventBuffer {
 public:
  static constexpr std::size_t kCapacity = 256;

  // Queues a transition. Dropped: auto-repeat presses, a press of a key that is already
  // down, scan code 0 (a key without a scan code), and any event while the queue is full.
  void Push(uint8_t scanCode, bool pressed, bool autoRepeat = false);
  // Moves up to `max` events, oldest first, into `out`; returns how many.
  int Take(KeyEvent* out, int max);
  std::size_t Pending() const { return count; }
  // Forgets pending events and which keys are down.
  void Clear();

 private:
  std::array<KeyEvent, kCapacity> ring{};
  std::size_t head = 0;
  std::size_t count = 0;
  std::array<bool, 256> down{};
};

class ForegroundKeyboard : public Keyboard {
 public:
  explicit ForegroundKeyboard(KeyEventBuffer& buffer) : buffer(buffer) {}

  int32_t SetBufferSize(int events) override;
  int32_t Acquire() override;
  int32_t Unacquire() override;
  int32_t FetchEvents(KeyEvent* events, int capacity, int* count) override;

 protected:
  // Moves the window system's pending key transitions into the buffer.
  virtual void PumpEvents() = 0;
  virtual bool WindowHasFocus() = 0;

 private:
  KeyEventBuffer& buffer;
  bool acquired = false;
  int bufferSize = kKeyboardFetchLimit;
};

}  // namespace wrenfold
