#include "frontend/ui/hint_line.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

#include "frontend/ui/captions.h"

namespace wrenfold {

HintLine::HintLine(QWidget* parent) : QLabel(parent) {
  setObjectName("MessageLine");
  setFrameShape(QFrame::StyledPanel);
  setTextFormat(Qt::PlainText);
  // Keep the window's width when a long hint arrives.
  setMinimumWidth(1);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void HintLine::ShowHint(const QString& text) {
  setText(text);
  if (m_dismissed) hide();
}

void HintLine::mousePressEvent(QMouseEvent* event) {
  m_dismissed = true;
  hide();
  event->accept();
}

void HoverHints::Attach(QWidget* widget, MessageId hint) {
  m_hints.insert(widget, hint);
  widget->installEventFilter(this);
  connect(widget, &QObject::destroyed, this, [this](QObject* gone) { m_hints.remove(gone); });
}

bool HoverHints::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
    auto hint = m_hints.constFind(watched);
    if (hint != m_hints.constEnd()) emit hintRequested(Message(*hint, m_language));
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace wrenfold
