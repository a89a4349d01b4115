#include "frontend/ui/message_boxes.h"

#include "frontend/ui/captions.h"

namespace wrenfold {

void ShowMessage(QWidget* parent, const QString& title, const QString& text,
                 QMessageBox::Icon icon) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.exec();
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void ShowNotice(QWidget* parent, const Notice& notice, int language) {
  QMessageBox::Icon icon = QMessageBox::Warning;
  if (notice.icon == NoticeIcon::Information) icon = QMessageBox::Information;
  if (notice.icon == NoticeIcon::Critical) icon = QMessageBox::Critical;
  ShowMessage(parent, FromUtf8(notice.Title(language)), FromUtf8(notice.Text(language)), icon);
}

}  // namespace wrenfold
