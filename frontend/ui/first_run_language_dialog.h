// `FirstLan`: asks for the interface language on the first run.
#pragma once

#include <QWidget>

class QPushButton;
class QRadioButton;

namespace wrenfold {

class FirstRunLanguageDialog : public QWidget {
  Q_OBJECT
 public:
  explicit FirstRunLanguageDialog(QWidget* parent = nullptr);

  // Shows the form (hiding `splash`), lets window events run until a language is confirmed or
  // the form is closed, shows `splash` again. The language chosen, 0 when the form was closed.
  int Choose(QWidget* splash);

  int ChosenLanguage() const { return m_chosen; }

 signals:
  void finished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Confirm();

  QRadioButton* m_chinese = nullptr;
  QRadioButton* m_english = nullptr;
  QPushButton* m_confirm = nullptr;
  int m_chosen = 0;
  bool m_finished = false;
};

}  // namespace wrenfold
