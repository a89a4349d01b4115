#include "frontend/ui/first_run_language_dialog.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "frontend/ui/captions.h"
#include "frontend/ui/window_placement.h"

namespace wrenfold {

FirstRunLanguageDialog::FirstRunLanguageDialog(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("FirstLan");
  auto* layout = new QVBoxLayout(this);
  auto* chinesePrompt =
      new QLabel(Message(MessageId::FirstRunPromptChinese, kLanguageChinese), this);
  chinesePrompt->setObjectName("Label1");
  chinesePrompt->setWordWrap(true);
  auto* englishPrompt =
      new QLabel(Message(MessageId::FirstRunPromptEnglish, kLanguageEnglish), this);
  englishPrompt->setObjectName("Label2");
  englishPrompt->setWordWrap(true);
  m_chinese = new QRadioButton(this);
  m_chinese->setObjectName("Option1(0)");
  m_english = new QRadioButton(this);
  m_english->setObjectName("Option1(1)");
  auto* group = new QButtonGroup(this);
  group->addButton(m_chinese);
  group->addButton(m_english);
  m_confirm = new QPushButton(this);
  m_confirm->setObjectName("Command1");
  // Nothing to confirm until a language is picked: the start-up waits for a real choice.
  m_confirm->setEnabled(false);
  layout->addWidget(chinesePrompt);
  layout->addWidget(englishPrompt);
  layout->addWidget(m_chinese);
  layout->addWidget(m_english);
  layout->addWidget(m_confirm);
  ApplyCaptions(this, FormName::FirstLan, kLanguageChinese);

  connect(m_chinese, &QRadioButton::clicked, this, [this] {
    m_confirm->setText(Message(MessageId::FirstRunConfirmChinese, kLanguageChinese));
    m_confirm->setEnabled(true);
  });
  connect(m_english, &QRadioButton::clicked, this, [this] {
    m_confirm->setText(Message(MessageId::FirstRunConfirmEnglish, kLanguageEnglish));
    m_confirm->setEnabled(true);
  });
  connect(m_confirm, &QPushButton::clicked, this, &FirstRunLanguageDialog::Confirm);
}

void FirstRunLanguageDialog::Confirm() {
  if (m_chinese->isChecked()) m_chosen = kLanguageChinese;
  if (m_english->isChecked()) m_chosen = kLanguageEnglish;
  if (m_chosen == 0) return;
  m_finished = true;
  hide();
  emit finished();
}

void FirstRunLanguageDialog::closeEvent(QCloseEvent* event) {
  // Hidden rather than closed: while the splash is hidden this is the only window, and closing
  // it would end the application.
  event->ignore();
  hide();
  if (!m_finished) {
    m_finished = true;
    emit finished();
  }
}

int FirstRunLanguageDialog::Choose(QWidget* splash) {
  QPointer<QWidget> splashScreen(splash);
  adjustSize();
  CenterForm(this);
  show();
  if (splashScreen) splashScreen->hide();
  if (!m_finished) {
    QEventLoop loop;
    connect(this, &FirstRunLanguageDialog::finished, &loop, &QEventLoop::quit);
    loop.exec();
  }
  if (splashScreen) splashScreen->show();
  return m_chosen;
}

}  // namespace wrenfold
