// `Title`: the splash form shown while the databases load, with its progress line.
#pragma once

#include <QWidget>

class QLabel;

namespace wrenfold {

class SplashScreen : public QWidget {
  Q_OBJECT
 public:
  explicit SplashScreen(QWidget* parent = nullptr);

  // `TitleLabel` shows the step; the form is repainted and pending window events run.
  void SetProgress(const QString& text);
  QString Progress() const;

 private:
  QLabel* m_progress = nullptr;
};

}  // namespace wrenfold
