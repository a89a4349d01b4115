#include "frontend/ui/fds_loader_dialog.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "frontend/model/fds_loader_model.h"
#include "frontend/ui/captions.h"

namespace wrenfold {

FdsLoaderDialog::FdsLoaderDialog(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("FDSLoader");
  auto* outer = new QVBoxLayout(this);
  auto* frame = new QGroupBox(this);
  frame->setObjectName("Frame1");
  outer->addWidget(frame);
  auto* layout = new QVBoxLayout(frame);
  auto* title = new QLabel(frame);
  title->setObjectName("Label2");
  auto* listCaption = new QLabel(frame);
  listCaption->setObjectName("Label1");
  m_files = new QListWidget(frame);
  m_files->setObjectName("File1");
  m_start = new QPushButton(frame);
  m_start->setObjectName("Command1");
  auto* back = new QPushButton(frame);
  back->setObjectName("Command2");
  layout->addWidget(title);
  layout->addWidget(listCaption);
  layout->addWidget(m_files, 1);
  layout->addWidget(m_start);
  layout->addWidget(back);
  ApplyCaptions(this, FormName::FdsLoader, kLanguageChinese);
  setWindowTitle(Caption(FormName::FdsLoader, "Frame1", kLanguageChinese));

  m_files->installEventFilter(this);
  connect(m_start, &QPushButton::clicked, this,
          [this] { emit startRequested(SelectedFileName()); });
  connect(back, &QPushButton::clicked, this, &FdsLoaderDialog::GoBack);
}

void FdsLoaderDialog::Load(const QString& romDirectory) {
  m_files->clear();
  const std::vector<std::string> images =
      ListFdsImages(QFile::encodeName(romDirectory).toStdString());
  for (const std::string& image : images) m_files->addItem(QFile::decodeName(image.c_str()));
  m_start->setEnabled(false);
}

QString FdsLoaderDialog::SelectedFileName() const {
  const QListWidgetItem* item = m_files->currentItem();
  return item != nullptr && item->isSelected() ? item->text() : QString();
}

void FdsLoaderDialog::RunUntilBack(QWidget* mainWindow) {
  m_done = false;
  QPointer<QWidget> main(mainWindow);
  if (main) main->hide();
  show();
  if (!m_done) {
    QEventLoop loop;
    connect(this, &FdsLoaderDialog::backRequested, &loop, &QEventLoop::quit);
    loop.exec();
  }
  if (main) main->show();
}

void FdsLoaderDialog::GoBack() {
  if (m_done) return;
  m_done = true;
  hide();
  emit backRequested();
}

void FdsLoaderDialog::closeEvent(QCloseEvent* event) {
  // Closing the loader's window is the same as going back. It is only hidden, so that the
  // application does not take it for its last window closing while the main window is hidden.
  GoBack();
  event->ignore();
}

bool FdsLoaderDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_files && event->type() == QEvent::FocusIn) m_start->setEnabled(true);
  return QWidget::eventFilter(watched, event);
}

}  // namespace wrenfold
