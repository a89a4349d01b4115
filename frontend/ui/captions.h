// Captions and messages of the caption table as Qt text, and SetLan's walk over a form.
#pragma once

#include <QString>
#include <string_view>

#include "frontend/model/ui_text.h"

class QWidget;

namespace wrenfold {

inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString Message(MessageId id, int language) {
  return FromUtf8(MessageText(id, language));
}

inline QString Caption(FormName form, std::string_view control, int language) {
  return FromUtf8(CaptionText(form, control, language));
}

// Puts `text` where the widget shows its caption: a label's or button's text, a frame's title,
// or the title of a window.
void SetCaption(QWidget* widget, const QString& text);

// Gives `root` and every widget below it that has an entry in the caption table the caption
// of `language`.
void ApplyCaptions(QWidget* root, FormName form, int language);

}  // namespace wrenfold
