#include "platform/common/buffered_keyboard.h"

#include <algorithm>

namespace wrenfold {

void KeyEventBuffer::Push(uint8_t scanCode, bool pressed, bool autoRepeat) {
  if (scanCode == 0) return;
  if (pressed && (autoRepeat || down[scanCode])) return;
  if (count == kCapacity) return;
  down[scanCode] = pressed;
  ring[(head + count) % kCapacity] = KeyEvent{scanCode, pressed ? kKeyPressed : uint8_t{0}};
  ++count;
}

int KeyEventBuffer::Take(KeyEvent* out, int max) {
  int taken = 0;
  while (taken < max && count > 0) {
    out[taken++] = ring[head];
    head = (head + 1) % kCapacity;
    --count;
  }
  return taken;
}

void KeyEventBuffer::Clear() {
  head = 0;
  count = 0;
  down.fill(false);
}

int32_t ForegroundKeyboard::SetBufferSize(int events) {
  if (events < 1 || events > kKeyboardFetchLimit) return kInputErrInvalidParam;
  bufferSize = events;
  return kInputOk;
}

int32_t ForegroundKeyboard::Acquire() {
  PumpEvents();
  if (!WindowHasFocus()) return kInputErrOtherAppHasPriority;
  acquired = true;
  return kInputOk;
}

int32_t ForegroundKeyboard::Unacquire() {
  acquired = false;
  return kInputOk;
}

int32_t ForegroundKeyboard::FetchEvents(KeyEvent* events, int capacity, int* count) {
  if (count == nullptr || capacity < 0 || (events == nullptr && capacity > 0)) {
    return kInputErrInvalidParam;
  }
  *count = 0;
  PumpEvents();
  if (!WindowHasFocus()) {
    // A foreground device is taken away with the focus and must be acquired again.
    acquired = false;
    return kInputErrInputLost;
  }
  if (!acquired) return kInputErrNotAcquired;
  *count = buffer.Take(events, std::min(capacity, bufferSize));
  return kInputOk;
}

}  // namespace wrenfold
