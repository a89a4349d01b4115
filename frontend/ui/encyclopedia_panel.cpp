#include "frontend/ui/encyclopedia_panel.h"

#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "frontend/model/screenshot_path.h"
#include "frontend/ui/captions.h"
#include "frontend/ui/hint_line.h"
#include "frontend/ui/message_boxes.h"

namespace wrenfold {
namespace {

// The screenshots are NES frames, shown at their own size.
constexpr QSize kShotBox(258, 242);
// Lines the introduction and walkthrough box shows before it scrolls.
constexpr int kTextBoxLines = 5;

QLabel* NamedLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  return label;
}

QPushButton* NamedButton(const char* name, QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  return button;
}

void SetTextColour(QLabel* label, uint32_t rgb) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor::fromRgb(static_cast<QRgb>(rgb)));
  label->setPalette(palette);
}

// A GIF that is missing or cannot be decoded shows no picture.
QPixmap LoadPicture(const QString& path) {
  if (path.isEmpty()) return {};
  QImageReader reader(path);
  const QImage image = reader.read();
  return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

}  // namespace

EncyclopediaPanel::EncyclopediaPanel(const CartdeskData& data, QWidget* parent)
    : QWidget(parent), m_data(data) {
  setObjectName("EncyclopediaPanel");
  m_hints = new HoverHints(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  m_gameFrame = new QGroupBox(this);
  m_gameFrame->setObjectName("framewin(1)");
  auto* grid = new QGridLayout(m_gameFrame);
  auto addRow = [&](int row, const char* captionName, QLabel* value) {
    grid->addWidget(NamedLabel(captionName, m_gameFrame), row, 0);
    grid->addWidget(value, row, 1, 1, 2);
  };
  m_consoleType = NamedLabel("Lab_ConsoleType", m_gameFrame);
  m_language = NamedLabel("Lab_LanType", m_gameFrame);
  m_producer = NamedLabel("Lab_Producer", m_gameFrame);
  m_gameType = NamedLabel("Lab_GameType", m_gameFrame);
  m_romVersion = NamedLabel("Lab_ROMVersion", m_gameFrame);
  m_cartVersion = NamedLabel("Lab_CartVer", m_gameFrame);
  addRow(0, "Label11", m_consoleType);
  addRow(1, "Label12", m_language);
  addRow(2, "Label16", m_producer);
  addRow(3, "Label17", m_gameType);
  addRow(4, "Label19", m_romVersion);
  addRow(5, "Label20", m_cartVersion);

  auto* marks = new QHBoxLayout;
  m_jingPin = NamedLabel("Pic_JP", m_gameFrame);
  m_jingDian = NamedLabel("Pic_JD", m_gameFrame);
  for (QLabel* mark : {m_jingPin, m_jingDian}) {
    mark->setFrameShape(QFrame::Box);
    SetTextColour(mark, 0xFF0000);
    mark->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QSizePolicy policy = mark->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    mark->setSizePolicy(policy);
    marks->addWidget(mark);
  }
  marks->addStretch(1);
  grid->addLayout(marks, 6, 0, 1, 3);

  grid->addWidget(NamedLabel("Label13", m_gameFrame), 7, 0);
  m_secretName = NamedLabel("Lab_SecretName", m_gameFrame);
  grid->addWidget(m_secretName, 7, 1, 1, 2);
  m_secretText = NamedLabel("Lab_SecretText", m_gameFrame);
  m_secretText->setWordWrap(true);
  m_secretText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Secrets often run to two or three lines: keep room for them so a wrapped one is not cut.
  m_secretText->setMinimumHeight(3 * m_secretText->fontMetrics().lineSpacing() + 6);
  m_secretText->setFrameShape(QFrame::StyledPanel);
  m_secretText->setCursor(Qt::PointingHandCursor);
  grid->addWidget(m_secretText, 8, 0, 1, 3);
  grid->setColumnStretch(2, 1);

  auto* shotColumn = new QVBoxLayout;
  shotColumn->addWidget(NamedLabel("Label18", m_gameFrame));
  m_shot = NamedLabel("Img_Shot", m_gameFrame);
  m_shot->setFixedSize(kShotBox);
  m_shot->setFrameShape(QFrame::Box);
  m_shot->setAlignment(Qt::AlignCenter);
  shotColumn->addWidget(m_shot);
  auto* nextShot = NamedButton("Cmd_NextShot", m_gameFrame);
  shotColumn->addWidget(nextShot);
  shotColumn->addStretch(1);
  grid->addLayout(shotColumn, 0, 3, 9, 1);

  auto* buttons = new QHBoxLayout;
  m_introButton = NamedButton("Cmd_GameIntro", m_gameFrame);
  m_walkthroughButton = NamedButton("Command7", m_gameFrame);
  buttons->addWidget(m_introButton);
  buttons->addWidget(m_walkthroughButton);
  buttons->addStretch(1);
  grid->addLayout(buttons, 9, 0, 1, 4);
  // The introduction or the walkthrough, in a box of its own below everything else: long
  // texts scroll, and its room stays reserved while it is hidden, so nothing moves or overlaps.
  m_intro = new QTextBrowser(m_gameFrame);
  m_intro->setObjectName("Lab_Intro");
  m_intro->setReadOnly(true);
  m_intro->setOpenLinks(false);
  m_intro->setFixedHeight(kTextBoxLines * m_intro->fontMetrics().lineSpacing() +
                          2 * m_intro->frameWidth() + 8);
  QSizePolicy introPolicy = m_intro->sizePolicy();
  introPolicy.setRetainSizeWhenHidden(true);
  m_intro->setSizePolicy(introPolicy);
  m_intro->hide();
  grid->addWidget(m_intro, 10, 0, 1, 4);
  layout->addWidget(m_gameFrame);

  // The music frame was laid out but never given any behaviour.
  m_musicFrame = new QGroupBox(this);
  m_musicFrame->setObjectName("framewin(2)");
  auto* music = new QGridLayout(m_musicFrame);
  music->addWidget(NamedButton("Command8", m_musicFrame), 0, 0);
  auto* loop = new QCheckBox(m_musicFrame);
  loop->setObjectName("Check1");
  music->addWidget(loop, 0, 1);
  music->addWidget(NamedLabel("Label15", m_musicFrame), 0, 2);
  auto* musicList = new QListWidget(m_musicFrame);
  musicList->setObjectName("MusicList");
  musicList->setMaximumHeight(2 * musicList->fontMetrics().lineSpacing() + 8);
  music->addWidget(musicList, 1, 0, 1, 3);
  layout->addWidget(m_musicFrame);

  m_large = new QLabel(this, Qt::ToolTip | Qt::FramelessWindowHint);
  m_large->setObjectName("Pic_Large");
  m_large->hide();

  connect(nextShot, &QPushButton::clicked, this, &EncyclopediaPanel::NextShot);
  connect(m_introButton, &QPushButton::clicked, this,
          [this] { ToggleTextBox(TextBoxContent::kIntroduction); });
  connect(m_walkthroughButton, &QPushButton::clicked, this,
          [this] { ToggleTextBox(TextBoxContent::kWalkthrough); });
  m_secretText->installEventFilter(this);
  m_shot->installEventFilter(this);
  m_hints->Attach(m_introButton, MessageId::HintIntroduction);
  m_hints->Attach(m_walkthroughButton, MessageId::HintWalkthrough);
  m_hints->Attach(m_shot, MessageId::HintScreenshot);
  m_hints->Attach(m_secretText, MessageId::HintSecretText);

  ApplyCaptions(this, FormName::Form1, kLanguageChinese);
  UpdateAG(0);
}

void EncyclopediaPanel::ToggleTextBox(TextBoxContent content) {
  if (!m_intro->isHidden() && m_textBoxContent == content) {
    m_intro->hide();
    return;
  }
  m_textBoxContent = content;
  if (content == TextBoxContent::kIntroduction) {
    m_intro->setPlainText(FromUtf8(m_view.introduction));
  } else {
    const std::string walkthrough = WalkthroughText(m_data.encyclopedia, m_entryNumber);
    m_intro->setPlainText(walkthrough.empty() ? Message(MessageId::WalkthroughNone, m_data.language)
                                              : FromUtf8(walkthrough));
  }
  m_intro->show();
}

QString EncyclopediaPanel::TextBoxText() const {
  return m_intro->toPlainText();
}

void EncyclopediaPanel::UpdateAG(int entryNumber) {
  m_letter = 'A';
  m_screenshotPath.clear();
  m_entryNumber =
      entryNumber >= 1 && static_cast<size_t>(entryNumber) <= m_data.encyclopedia.entries.size()
          ? entryNumber
          : 0;
  m_view = ViewOfEntry(m_data.encyclopedia, m_entryNumber, m_data.language);
  m_intro->hide();
  ShowView();
  ShowScreenshot();
}

void EncyclopediaPanel::ShowView() {
  m_consoleType->setText(FromUtf8(m_view.consoleType));
  m_language->setText(FromUtf8(m_view.gameLanguage));
  SetTextColour(m_language, m_view.gameLanguageColor);
  m_jingPin->setVisible(m_view.jingPinMarkVisible);
  m_jingDian->setVisible(m_view.jingDianMarkVisible);
  m_secretName->setText(FromUtf8(m_view.secretName));
  m_secretText->setText(FromUtf8(m_view.secretText));
  m_producer->setText(FromUtf8(m_view.producer));
  m_gameType->setText(FromUtf8(m_view.gameType));
  m_romVersion->setText(FromUtf8(m_view.romVersion));
  m_cartVersion->setText(FromUtf8(m_view.cartVersion));
  m_introButton->setEnabled(m_view.introductionEnabled);
  m_intro->setPlainText(FromUtf8(m_view.introduction));
  m_textBoxContent = TextBoxContent::kIntroduction;
}

void EncyclopediaPanel::ShowScreenshot() {
  m_screenshotPath.clear();
  QPixmap picture;
  if (m_entryNumber != 0) {
    if (const auto path = FindScreenshot(m_data.workingFolder, m_entryNumber, m_letter)) {
      const QString candidate = QFile::decodeName(path->string().c_str());
      picture = LoadPicture(candidate);
      if (!picture.isNull()) m_screenshotPath = candidate;
    }
  }
  if (picture.isNull()) {
    m_shot->clear();
  } else {
    m_shot->setPixmap(picture.scaled(kShotBox, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  }
}

void EncyclopediaPanel::NextSecret() {
  if (m_entryNumber == 0 || m_view.secretNumber == 0) return;
  ShowNextSecret(m_data.encyclopedia, m_entryNumber, m_view);
  m_secretName->setText(FromUtf8(m_view.secretName));
  m_secretText->setText(FromUtf8(m_view.secretText));
}

void EncyclopediaPanel::NextShot() {
  m_letter = OtherScreenshotLetter(m_letter);
  if (m_entryNumber != 0) ShowScreenshot();
}

void EncyclopediaPanel::ShowEnlargement() {
  if (m_screenshotPath.isEmpty() || m_entryNumber == 0) return;
  const QPixmap picture = LoadPicture(m_screenshotPath);
  if (picture.isNull()) return;
  m_large->setPixmap(picture);
  m_large->resize(picture.size());
  m_large->move(m_shot->mapToGlobal(QPoint(0, 0)) -
                QPoint(picture.width() / 2, picture.height() / 4));
  m_large->show();
}

void EncyclopediaPanel::HideEnlargement() {
  m_large->hide();
}

bool EncyclopediaPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_secretText && event->type() == QEvent::MouseButtonPress) {
    NextSecret();
    return true;
  }
  if (watched == m_shot && event->type() == QEvent::MouseButtonPress) {
    ShowEnlargement();
    return true;
  }
  if (watched == m_shot && event->type() == QEvent::MouseButtonRelease) {
    HideEnlargement();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace wrenfold
