// The hint line at the foot of the main window and the hover hints that feed it.
#pragma once

#include <QHash>
#include <QLabel>
#include <QObject>
#include <QString>

#include "frontend/model/ui_text.h"

namespace wrenfold {

// `MessageLine`: shows the hint of the control under the pointer; a click hides it for the rest
// of the run (later hints still change its text).
class HintLine : public QLabel {
  Q_OBJECT
 public:
  explicit HintLine(QWidget* parent = nullptr);
  void ShowHint(const QString& text);
  bool Dismissed() const { return m_dismissed; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  bool m_dismissed = false;
};

// Emits the hint of a widget, in the interface language, when the pointer moves onto or
// over it.
class HoverHints : public QObject {
  Q_OBJECT
 public:
  explicit HoverHints(QObject* parent = nullptr) : QObject(parent) {}
  void Attach(QWidget* widget, MessageId hint);
  void SetLanguage(int language) { m_language = language; }

 signals:
  void hintRequested(const QString& hint);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QHash<QObject*, MessageId> m_hints;
  int m_language = kLanguageChinese;
};

}  // namespace wrenfold
