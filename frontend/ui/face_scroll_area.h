// The scrolling area that holds the faces of the main window. It asks for the whole size of
// what it shows, so the window opens showing everything where the screen has room, and
// scrolls only where the window had to stay smaller.
#pragma once

#include <QScrollArea>
#include <QScrollBar>

namespace wrenfold {

class FaceScrollArea : public QScrollArea {
 public:
  explicit FaceScrollArea(QWidget* parent = nullptr) : QScrollArea(parent) {
    setObjectName("FaceArea");
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
  }

  QSize sizeHint() const override {
    if (widget() == nullptr) return QScrollArea::sizeHint();
    return widget()->sizeHint();
  }

  // Small enough for any screen: the faces scroll below this.
  QSize minimumSizeHint() const override { return {240, 160}; }
};

}  // namespace wrenfold
