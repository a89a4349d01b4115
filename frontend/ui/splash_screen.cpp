#include "frontend/ui/splash_screen.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "frontend/ui/captions.h"

namespace wrenfold {
namespace {

QPixmap SplashPicture() {
  QPixmap picture(360, 120);
  picture.fill(QColor(0, 0, 96));
  QPainter painter(&picture);
  painter.setPen(QColor(255, 208, 64));
  QFont font = painter.font();
  font.setPointSize(28);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Wrenfold"));
  return picture;
}

}  // namespace

SplashScreen::SplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("Title");
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(this);
  title->setObjectName("Label1");
  auto* picture = new QLabel(this);
  picture->setObjectName("Image1");
  picture->setPixmap(SplashPicture());
  m_progress = new QLabel(this);
  m_progress->setObjectName("TitleLabel");
  layout->addWidget(title);
  layout->addWidget(picture);
  layout->addWidget(m_progress);
  ApplyCaptions(this, FormName::Title, kLanguageChinese);
}

void SplashScreen::SetProgress(const QString& text) {
  m_progress->setText(text);
  if (isVisible()) repaint();
  QCoreApplication::processEvents();
}

QString SplashScreen::Progress() const {
  return m_progress->text();
}

}  // namespace wrenfold
