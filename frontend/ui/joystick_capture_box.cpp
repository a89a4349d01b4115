#include "frontend/ui/joystick_capture_box.h"

#include <QEventLoop>
#include <QFocusEvent>
#include <QPointer>
#include <QTimer>

#include "frontend/model/key_translation.h"
#include "frontend/ui/frontend_services.h"
#include "frontend/ui/key_capture_box.h"

namespace wrenfold {

JoystickCaptureBox::JoystickCaptureBox(int slot, JoystickSource* joystick, QWidget* parent)
    : QLineEdit(parent), m_slot(slot), m_joystick(joystick) {
  setObjectName(QStringLiteral("Txt_Joy(%1)").arg(slot));
  setReadOnly(true);
  setContextMenuPolicy(Qt::NoContextMenu);
  SetBoxBackground(this, kCaptureBoxIdleColour);
}

void JoystickCaptureBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // Coming back from a message box or another window is not a new request for a button.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
    return;
  if (!m_capturing)
    QTimer::singleShot(0, this, [this] {
      if (hasFocus()) CaptureButton();
    });
}

void JoystickCaptureBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
    SetBoxBackground(this, kCaptureBoxIdleColour);
}

bool JoystickCaptureBox::StillWanted() const {
  return isVisible() && (hasFocus() || (window() != nullptr && window()->focusWidget() == this));
}

void JoystickCaptureBox::CaptureButton() {
  if (m_capturing || m_joystick == nullptr) return;
  m_capturing = true;
  QPointer<JoystickCaptureBox> self(this);
  SetBoxBackground(this, kCaptureBoxActiveColour);
  JoystickSource* joystick = m_joystick;
  while (true) {
    const JoystickCaptureStep step = NextJoystickCaptureStep(joystick->Poll());
    if (step.outcome == JoystickCaptureOutcome::Failed) {
      joystick->Release();
      m_capturing = false;
      emit captureFailed(step.failureTitle, step.failureText);
      return;
    }
    if (step.outcome == JoystickCaptureOutcome::Captured) {
      joystick->Release();
      SetBoxBackground(this, kCaptureBoxIdleColour);
      setText(QString::fromStdString(TranslateJOY(step.button)));
      m_capturing = false;
      emit buttonCaptured(m_slot, step.button);
      return;
    }
    clear();
    QEventLoop wait;
    QTimer::singleShot(kPollIntervalMs, &wait, &QEventLoop::quit);
    wait.exec();
    if (self.isNull()) {
      joystick->Release();
      return;
    }
    if (!StillWanted()) {
      joystick->Release();
      m_capturing = false;
      SetBoxBackground(this, kCaptureBoxIdleColour);
      return;
    }
  }
}

}  // namespace wrenfold
