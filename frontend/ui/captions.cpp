#include "frontend/ui/captions.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace wrenfold {

void SetCaption(QWidget* widget, const QString& text) {
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(text);
  } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
    frame->setTitle(text);
  } else {
    widget->setWindowTitle(text);
  }
}

void ApplyCaptions(QWidget* root, FormName form, int language) {
  auto apply = [&](QWidget* widget) {
    const std::string name = widget->objectName().toStdString();
    if (FindCaption(form, name) != nullptr) SetCaption(widget, Caption(form, name, language));
  };
  apply(root);
  // Forms owned by this one (the enlargement, a loader) have captions of their own.
  for (QWidget* widget : root->findChildren<QWidget*>()) {
    if (widget->window() == root->window()) apply(widget);
  }
}

}  // namespace wrenfold
