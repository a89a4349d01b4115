#include "frontend/ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace wrenfold {

QPoint CenteredFormPosition(QSize screen, QSize form) {
  const int raisedHeight = static_cast<int>(std::lround(screen.height() * 0.85));
  return {screen.width() / 2 - form.width() / 2, raisedHeight / 2 - form.height() / 2};
}

void CenterForm(QWidget* form) {
  const QScreen* screen =
      form->screen() != nullptr ? form->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  form->move(area.topLeft() + CenteredFormPosition(area.size(), form->frameGeometry().size()));
}

}  // namespace wrenfold
