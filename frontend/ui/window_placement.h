// `CenterForm`: the splash and the main window sit a little above the middle of the screen.
#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

namespace wrenfold {

// Top = (screen height x 0.85, rounded) \ 2 - form height \ 2; Left = screen width \ 2 - form
// width \ 2, with integer halves.
QPoint CenteredFormPosition(QSize screen, QSize form);

void CenterForm(QWidget* form);

}  // namespace wrenfold
