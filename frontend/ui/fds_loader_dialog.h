// `FDSLoader`: lists the Famicom Disk System images of the ROM directory and starts the emulator
// on the chosen one through the main window's start routine.
#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace wrenfold {

class FdsLoaderDialog : public QWidget {
  Q_OBJECT
 public:
  explicit FdsLoaderDialog(QWidget* parent = nullptr);

  // Lists the images of `romDirectory`; the start button waits until the list is used.
  void Load(const QString& romDirectory);

  // Hides `mainWindow`, shows the loader and lets window events run until the user goes back
  // (or closes the loader); then shows `mainWindow` again.
  void RunUntilBack(QWidget* mainWindow);

  QString SelectedFileName() const;
  bool Done() const { return m_done; }

 signals:
  // "Start": the file name (no folder) to start, "" when nothing is selected.
  void startRequested(const QString& fileName);
  void backRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void GoBack();

  QListWidget* m_files = nullptr;
  QPushButton* m_start = nullptr;
  bool m_done = true;
};

}  // namespace wrenfold
