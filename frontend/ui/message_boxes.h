// Message boxes in the interface language.
#pragma once

#include <QMessageBox>
#include <QString>

#include "frontend/model/frontend_notices.h"

class QWidget;

namespace wrenfold {

void ShowMessage(QWidget* parent, const QString& title, const QString& text,
                 QMessageBox::Icon icon = QMessageBox::Information);

// Yes and No buttons; true for Yes.
bool AskYesNo(QWidget* parent, const QString& title, const QString& text);

void ShowNotice(QWidget* parent, const Notice& notice, int language);

}  // namespace wrenfold
