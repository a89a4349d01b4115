#include "frontend/ui/key_capture_box.h"

#include <QKeyEvent>

#include "frontend/model/key_translation.h"

namespace wrenfold {

void SetBoxBackground(QLineEdit* box, QRgb colour) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, QColor(colour));
  box->setPalette(palette);
}

KeyCaptureBox::KeyCaptureBox(int slot, QWidget* parent) : QLineEdit(parent), m_slot(slot) {
  setObjectName(QStringLiteral("Txt_Key(%1)").arg(slot));
  setReadOnly(true);
  setContextMenuPolicy(Qt::NoContextMenu);
  SetBoxBackground(this, kCaptureBoxIdleColour);
}

void KeyCaptureBox::keyPressEvent(QKeyEvent* event) {
  event->accept();
  if (event->isAutoRepeat()) return;
  m_pressedKey = event->key();
  clear();
}

void KeyCaptureBox::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
  if (event->isAutoRepeat() || m_pressedKey == 0) return;
  m_pressedKey = 0;
  const bool keypad = (event->modifiers() & Qt::KeypadModifier) != 0;
  const int scanCode = TranslateDIK(VirtualKeyFromQtKey(event->key(), keypad));
  setText(QString::fromStdString(TranslateSTR(scanCode)));
  emit keyCaptured(m_slot, scanCode);
}

void KeyCaptureBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  m_pressedKey = 0;
  SetBoxBackground(this, kCaptureBoxActiveColour);
}

void KeyCaptureBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  SetBoxBackground(this, kCaptureBoxIdleColour);
}

}  // namespace wrenfold
