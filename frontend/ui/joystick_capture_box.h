// `Txt_Joy(i)`: a box that, once it has the focus, waits for a button of joystick 0 and takes it
// as the button of its slot.
#pragma once

#include <QLineEdit>

#include "frontend/model/joystick_capture.h"

namespace wrenfold {

class JoystickSource;

class JoystickCaptureBox : public QLineEdit {
  Q_OBJECT
 public:
  JoystickCaptureBox(int slot, JoystickSource* joystick, QWidget* parent = nullptr);

  // Polls until a button is pressed, the joystick fails, or the box loses the focus; window
  // events keep running meanwhile.
  void CaptureButton();
  bool Capturing() const { return m_capturing; }

  static constexpr int kPollIntervalMs = 20;

 signals:
  void buttonCaptured(int slot, int button);
  void captureFailed(MessageId title, MessageId text);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool StillWanted() const;

  int m_slot;
  JoystickSource* m_joystick;
  bool m_capturing = false;
};

}  // namespace wrenfold
