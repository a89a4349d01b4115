// `Txt_Key(i)`: a box that takes the next key pressed in it as the key of its slot.
#pragma once

#include <QLineEdit>

namespace wrenfold {

// Background of a key or button box while it waits for input, and at rest.
inline constexpr QRgb kCaptureBoxActiveColour = qRgb(255, 255, 255);
inline constexpr QRgb kCaptureBoxIdleColour = qRgb(192, 192, 192);

void SetBoxBackground(QLineEdit* box, QRgb colour);

class KeyCaptureBox : public QLineEdit {
  Q_OBJECT
 public:
  KeyCaptureBox(int slot, QWidget* parent = nullptr);

 signals:
  // The key let go in the box, as a scan code (0: not a key the emulator takes).
  void keyCaptured(int slot, int scanCode);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int m_slot;
  int m_pressedKey = 0;  // a release counts only after a press seen here
};

}  // namespace wrenfold
