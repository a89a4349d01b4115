#include "frontend/ui/control_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "frontend/model/key_translation.h"
#include "frontend/model/number_text.h"
#include "frontend/ui/captions.h"
#include "frontend/ui/hint_line.h"
#include "frontend/ui/joystick_capture_box.h"
#include "frontend/ui/key_capture_box.h"

namespace wrenfold {
namespace {

constexpr std::array<MessageId, 3> kPlayerDeviceTexts = {
    MessageId::PlayerDeviceNone, MessageId::PlayerDeviceKeyboard, MessageId::PlayerDeviceJoystick};

// The "plus" (folded) and "minus" (unfolded) pictures of the fold buttons.
QIcon FoldIcon(bool unfolded) {
  QPixmap picture(12, 12);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setPen(QPen(Qt::black, 2));
  painter.drawLine(2, 6, 10, 6);
  if (!unfolded) painter.drawLine(6, 2, 6, 10);
  return QIcon(picture);
}

void ShowFoldPicture(QToolButton* button, bool unfolded) {
  button->setIcon(FoldIcon(unfolded));
  button->setProperty("picture", unfolded ? "minus" : "plus");
}

QToolButton* MakeFoldButton(const char* name, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setAutoRaise(true);
  ShowFoldPicture(button, false);
  return button;
}

template <typename Widget>
Widget* Named(Widget* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

QString IndexedName(const char* base, int index) {
  return QStringLiteral("%1(%2)").arg(base).arg(index);
}

}  // namespace

ControlPanel::ControlPanel(JoystickSource* joystick, QWidget* parent) : QGroupBox(parent) {
  setObjectName("FrameCfg");
  m_hints = new HoverHints(this);

  // Two columns, so the face fits a low screen with both groups unfolded: console and sound
  // settings with the two buttons on the left, the input table on the right.
  auto* layout = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  left->addWidget(BuildConsoleGroup());
  left->addWidget(BuildSoundGroup());
  auto* buttons = new QHBoxLayout;
  m_updateConfig = Named(new QPushButton(this), "Cmd_UpdateCfg");
  m_start = Named(new QPushButton(this), "Command5");
  buttons->addWidget(m_updateConfig);
  buttons->addWidget(m_start);
  left->addLayout(buttons);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(BuildInputGroup(joystick));
  right->addStretch(1);
  layout->addLayout(left, 1);
  layout->addLayout(right, 1);

  connect(m_updateConfig, &QPushButton::clicked, this, &ControlPanel::updateConfigRequested);
  connect(m_start, &QPushButton::clicked, this, &ControlPanel::startRequested);
  m_hints->Attach(m_start, MessageId::HintStartEmulator);

  ApplyCaptions(this, FormName::Form1, kLanguageChinese);
  SetLanguage(kLanguageChinese);
  LoadSettings(m_settings);
}

QWidget* ControlPanel::BuildConsoleGroup() {
  m_consoleGroup = Named(new QGroupBox(this), "Frame2");
  auto* layout = new QVBoxLayout(m_consoleGroup);

  auto* basic = new QGridLayout;
  basic->addWidget(Named(new QLabel(m_consoleGroup), "Label21"), 0, 0);
  m_ntsc = Named(new QRadioButton(m_consoleGroup), IndexedName("Opt_Disp", 0));
  m_pal = Named(new QRadioButton(m_consoleGroup), IndexedName("Opt_Disp", 1));
  auto* videoGroup = new QButtonGroup(m_consoleGroup);
  videoGroup->addButton(m_ntsc);
  videoGroup->addButton(m_pal);
  basic->addWidget(m_ntsc, 0, 1);
  basic->addWidget(m_pal, 0, 2);
  m_consoleToggle = MakeFoldButton("Cmd_Max", m_consoleGroup);
  basic->addWidget(m_consoleToggle, 0, 3, Qt::AlignRight | Qt::AlignTop);
  basic->addWidget(Named(new QLabel(m_consoleGroup), "Label42"), 1, 0);
  m_displayList = Named(new QComboBox(m_consoleGroup), "Cmb_DD");
  basic->addWidget(m_displayList, 1, 1, 1, 3);
  basic->addWidget(Named(new QLabel(m_consoleGroup), "Label40"), 2, 0);
  m_resolutionList = Named(new QComboBox(m_consoleGroup), "Cmb_Res");
  for (MessageId item :
       {MessageId::Resolution640, MessageId::Resolution800, MessageId::Resolution1024})
    m_resolutionList->addItem(Message(item, kLanguageChinese));
  basic->addWidget(m_resolutionList, 2, 1, 1, 3);
  m_windowed = Named(new QCheckBox(m_consoleGroup), "Chk_Windowed");
  basic->addWidget(m_windowed, 3, 0, 1, 4);
  m_hints->Attach(m_windowed, MessageId::HintWindowed);
  layout->addLayout(basic);

  m_consoleMore = new QWidget(m_consoleGroup);
  auto* more = new QGridLayout(m_consoleMore);
  more->setContentsMargins(0, 0, 0, 0);
  m_scanline = Named(new QCheckBox(m_consoleMore), "Chk_Scanline");
  m_color = Named(new QCheckBox(m_consoleMore), "Chk_Color");
  m_doubleSize = Named(new QCheckBox(m_consoleMore), "Chk2X");
  more->addWidget(m_scanline, 0, 0);
  more->addWidget(m_color, 0, 1);
  more->addWidget(m_doubleSize, 1, 0, 1, 2);

  auto* irqRow = new QHBoxLayout;
  auto* irqLabel = Named(new QLabel(m_consoleMore), "Label38");
  m_irqAdjust = Named(new QLabel(m_consoleMore), "LabHardNum");
  m_irqAdjust->setMinimumWidth(40);
  auto* irqZero = Named(new QPushButton(m_consoleMore), "CmdHardWare0");
  auto* irqDec = Named(new QPushButton(m_consoleMore), "CmdHardWareDec");
  auto* irqInc = Named(new QPushButton(m_consoleMore), "CmdHardWareInc");
  for (QPushButton* button : {irqZero, irqDec, irqInc}) button->setMaximumWidth(32);
  irqRow->addWidget(irqLabel);
  irqRow->addWidget(m_irqAdjust);
  irqRow->addWidget(irqZero);
  irqRow->addWidget(irqDec);
  irqRow->addWidget(irqInc);
  irqRow->addStretch(1);
  more->addLayout(irqRow, 2, 0, 1, 2);

  auto* coreRow = new QHBoxLayout;
  coreRow->addWidget(Named(new QLabel(m_consoleMore), "Label39"));
  m_asmCore = Named(new QRadioButton(m_consoleMore), IndexedName("Option1", 0));
  m_cCore = Named(new QRadioButton(m_consoleMore), IndexedName("Option1", 1));
  m_fullCore = Named(new QRadioButton(m_consoleMore), IndexedName("Option1", 2));
  auto* coreGroup = new QButtonGroup(m_consoleMore);
  for (QRadioButton* core : {m_asmCore, m_cCore, m_fullCore}) {
    coreGroup->addButton(core);
    coreRow->addWidget(core);
  }
  coreRow->addStretch(1);
  more->addLayout(coreRow, 3, 0, 1, 2);
  layout->addWidget(m_consoleMore);

  connect(irqZero, &QPushButton::clicked, this, [this] { m_irqAdjust->setText("0"); });
  connect(irqDec, &QPushButton::clicked, this, [this] {
    m_irqAdjust->setText(
        QString::fromStdString(StepIrqAdjustCaption(m_irqAdjust->text().toStdString(), -1)));
  });
  connect(irqInc, &QPushButton::clicked, this, [this] {
    m_irqAdjust->setText(
        QString::fromStdString(StepIrqAdjustCaption(m_irqAdjust->text().toStdString(), +1)));
  });
  connect(m_consoleToggle, &QToolButton::clicked, this,
          [this] { SetConsoleExpanded(!m_consoleExpanded); });
  // Leaving a CPU core option stores the settings at once.
  for (QRadioButton* core : {m_asmCore, m_cCore, m_fullCore}) core->installEventFilter(this);
  m_hints->Attach(irqLabel, MessageId::HintIrqAdjust);
  SetConsoleExpanded(false);
  return m_consoleGroup;
}

QWidget* ControlPanel::BuildSoundGroup() {
  m_soundGroup = Named(new QGroupBox(this), "Frame3");
  auto* layout = new QVBoxLayout(m_soundGroup);
  auto* basic = new QHBoxLayout;
  m_soundEnable = Named(new QCheckBox(m_soundGroup), "Chk_SoundEnable");
  m_stereo = Named(new QCheckBox(m_soundGroup), "Chk_Stereo");
  m_soundToggle = MakeFoldButton("Cmd_SMax", m_soundGroup);
  basic->addWidget(m_soundEnable);
  basic->addWidget(m_stereo);
  basic->addStretch(1);
  basic->addWidget(m_soundToggle, 0, Qt::AlignTop);
  layout->addLayout(basic);

  m_soundMore = new QWidget(m_soundGroup);
  auto* more = new QVBoxLayout(m_soundMore);
  more->setContentsMargins(0, 0, 0, 0);
  m_namco = Named(new QCheckBox(m_soundMore), "Chk_NamcoExtended");
  m_vrc6 = Named(new QCheckBox(m_soundMore), "Chk_VRC6Extended");
  more->addWidget(m_namco);
  more->addWidget(m_vrc6);
  layout->addWidget(m_soundMore);

  connect(m_soundEnable, &QCheckBox::toggled, this, [this] { ApplySoundEnabled(); });
  connect(m_soundToggle, &QToolButton::clicked, this,
          [this] { SetSoundExpanded(!m_soundExpanded); });
  SetSoundExpanded(false);
  return m_soundGroup;
}

QWidget* ControlPanel::BuildInputGroup(JoystickSource* joystick) {
  auto* group = Named(new QGroupBox(this), "Frame4");
  auto* layout = new QGridLayout(group);

  auto* player1Label =
      Named(new QLabel(Message(MessageId::Player1Label, kLanguageChinese), group), "Label22");
  auto* player2Label =
      Named(new QLabel(Message(MessageId::Player2Label, kLanguageChinese), group), "Label23");
  m_player1 = Named(new QComboBox(group), "Cmb_1P");
  m_player2 = Named(new QComboBox(group), "Cmb_2P");
  // The device lists take their own widths, not those of the key columns below them.
  auto* players = new QHBoxLayout;
  players->addWidget(player1Label);
  players->addWidget(m_player1);
  players->addSpacing(12);
  players->addWidget(player2Label);
  players->addWidget(m_player2);
  players->addStretch(1);
  layout->addLayout(players, 0, 0, 1, 4);

  layout->addWidget(Named(new QLabel(group), "Label24"), 1, 1);
  layout->addWidget(Named(new QLabel(group), "Label25"), 1, 2);
  for (int slot = 0; slot < kKeySlotCount; ++slot) {
    layout->addWidget(Named(new QLabel(group), QStringLiteral("Label%1").arg(26 + slot)), 2 + slot,
                      0);
    m_keyBoxes[slot] = new KeyCaptureBox(slot, group);
    layout->addWidget(m_keyBoxes[slot], 2 + slot, 1);
    connect(m_keyBoxes[slot], &KeyCaptureBox::keyCaptured, this, [this](int keySlot, int scanCode) {
      m_settings.keyMap.codes[keySlot] = static_cast<int16_t>(scanCode);
    });
  }
  for (int slot = 0; slot < kJoySlotCount; ++slot) {
    m_joyBoxes[slot] = new JoystickCaptureBox(slot, joystick, group);
    // The joystick rows line up with the key rows A to Start.
    layout->addWidget(m_joyBoxes[slot], 2 + kKeyA + slot, 2);
    connect(m_joyBoxes[slot], &JoystickCaptureBox::buttonCaptured, this,
            [this](int joySlot, int button) {
              m_settings.joyMap.buttons[joySlot] = static_cast<int16_t>(button);
              m_updateConfig->setFocus(Qt::OtherFocusReason);
            });
    connect(m_joyBoxes[slot], &JoystickCaptureBox::captureFailed, this,
            &ControlPanel::joystickFailed);
  }

  const int rapidRow = 2 + kKeySlotCount;
  layout->addWidget(Named(new QLabel(group), "Label36"), rapidRow, 0);
  m_rapidFire = Named(new QScrollBar(Qt::Horizontal, group), "Hscr_RF");
  m_rapidFire->setRange(0, kRapidFireMax);
  m_rapidFire->setPageStep(1);
  layout->addWidget(m_rapidFire, rapidRow, 1);
  m_rapidFireCaption = Named(new QLabel(group), "Lab_Interval");
  layout->addWidget(m_rapidFireCaption, rapidRow, 2);

  connect(m_player1, qOverload<int>(&QComboBox::activated), this, [this] { SettlePlayers(1); });
  connect(m_player2, qOverload<int>(&QComboBox::activated), this, [this] { SettlePlayers(2); });
  connect(m_rapidFire, &QScrollBar::valueChanged, this, [this](int value) {
    m_settings.rapidFireInterval = value;
    ShowRapidFire(value);
  });
  return group;
}

void ControlPanel::SetConsoleExpanded(bool expanded) {
  m_consoleExpanded = expanded;
  m_consoleMore->setVisible(expanded);
  ShowFoldPicture(m_consoleToggle, expanded);
}

void ControlPanel::SetSoundExpanded(bool expanded) {
  m_soundExpanded = expanded;
  m_soundMore->setVisible(expanded);
  ShowFoldPicture(m_soundToggle, expanded);
}

void ControlPanel::ApplySoundEnabled() {
  m_stereo->setEnabled(m_soundEnable->isChecked());
  if (!m_soundEnable->isChecked()) m_stereo->setChecked(false);
}

void ControlPanel::SettlePlayers(int changedPlayer) {
  m_settings.player1 = static_cast<PlayerDevice>(std::max(0, m_player1->currentIndex()));
  m_settings.player2 = static_cast<PlayerDevice>(std::max(0, m_player2->currentIndex()));
  SettlePlayerDevices(m_settings, changedPlayer);
  m_player1->setCurrentIndex(static_cast<int>(m_settings.player1));
  m_player2->setCurrentIndex(static_cast<int>(m_settings.player2));
}

void ControlPanel::ShowRapidFire(int interval) {
  const RapidFireDisplay display = ChangeRF(interval);
  m_rapidFireCaption->setText(QString::fromStdString(display.caption));
  const QSignalBlocker blocker(m_rapidFire);
  m_rapidFire->setValue(display.scrollValue);
}

bool ControlPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut &&
      (watched == m_asmCore || watched == m_cCore || watched == m_fullCore)) {
    // Only a move to another control counts: a message box taking the window's focus (perhaps
    // the report of a failed write) must not write again.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      emit updateConfigRequested();
  }
  return QGroupBox::eventFilter(watched, event);
}

void ControlPanel::SetDisplayDevices(const std::vector<DisplayDevice>& devices) {
  m_displayList->clear();
  m_displayIds.clear();
  for (const DisplayDevice& device : devices) {
    m_displayList->addItem(device.description);
    m_displayIds.push_back(device.id);
  }
  if (!devices.empty()) m_displayList->setCurrentIndex(0);
}

QString ControlPanel::SelectedDisplayDeviceId() const {
  const int index = m_displayList->currentIndex();
  return index >= 0 && static_cast<size_t>(index) < m_displayIds.size() ? m_displayIds[index]
                                                                        : QString();
}

void ControlPanel::LoadSettings(const ControlPanelSettings& settings) {
  m_settings = settings;
  (settings.videoNtsc ? m_ntsc : m_pal)->setChecked(true);
  m_scanline->setChecked(settings.scanline);
  m_color->setChecked(settings.color);
  m_doubleSize->setChecked(settings.doubleSize);
  m_windowed->setChecked(settings.windowed);
  (settings.cpuCore == CpuCoreChoice::kSecondCore      ? m_asmCore
   : settings.cpuCore == CpuCoreChoice::kReferenceCore ? m_cCore
                                                       : m_fullCore)
      ->setChecked(true);
  m_namco->setChecked(settings.namcoExtended);
  m_vrc6->setChecked(settings.vrc6Extended);
  {
    const QSignalBlocker blocker(m_soundEnable);
    m_soundEnable->setChecked(settings.soundEnabled);
  }
  m_stereo->setChecked(settings.soundEnabled && settings.stereo);
  m_stereo->setEnabled(settings.soundEnabled);
  ShowRapidFire(settings.rapidFireInterval);
  m_player1->setCurrentIndex(static_cast<int>(settings.player1));
  m_player2->setCurrentIndex(static_cast<int>(settings.player2));
  for (int slot = 0; slot < kKeySlotCount; ++slot)
    m_keyBoxes[slot]->setText(QString::fromStdString(TranslateSTR(settings.keyMap.codes[slot])));
  for (int slot = 0; slot < kJoySlotCount; ++slot)
    m_joyBoxes[slot]->setText(QString::fromStdString(TranslateJOY(settings.joyMap.buttons[slot])));
  if (settings.resolutionIndex >= 1 && settings.resolutionIndex <= 3)
    m_resolutionList->setCurrentIndex(settings.resolutionIndex - 1);
  // The IRQ adjustment is not kept between runs.
  m_irqAdjust->setText("0");
  m_settings.irqAdjustCaption = "0";
}

ControlPanelSettings ControlPanel::CurrentSettings() const {
  ControlPanelSettings settings = m_settings;
  settings.videoNtsc = m_ntsc->isChecked();
  settings.resolutionIndex = m_resolutionList->currentIndex() + 1;
  settings.scanline = m_scanline->isChecked();
  settings.color = m_color->isChecked();
  settings.doubleSize = m_doubleSize->isChecked();
  settings.windowed = m_windowed->isChecked();
  settings.irqAdjustCaption = m_irqAdjust->text().toStdString();
  settings.cpuCore = m_asmCore->isChecked() ? CpuCoreChoice::kSecondCore
                     : m_cCore->isChecked() ? CpuCoreChoice::kReferenceCore
                                            : CpuCoreChoice::kFullCore;
  settings.soundEnabled = m_soundEnable->isChecked();
  settings.stereo = m_stereo->isChecked();
  settings.namcoExtended = m_namco->isChecked();
  settings.vrc6Extended = m_vrc6->isChecked();
  settings.player1 = static_cast<PlayerDevice>(std::max(0, m_player1->currentIndex()));
  settings.player2 = static_cast<PlayerDevice>(std::max(0, m_player2->currentIndex()));
  return settings;
}

QString ControlPanel::IrqAdjustCaption() const {
  return m_irqAdjust->text();
}

void ControlPanel::SetLanguage(int language) {
  m_hints->SetLanguage(language);
  for (QComboBox* list : {m_player1, m_player2}) {
    const int chosen = list->currentIndex();
    const QSignalBlocker blocker(list);
    list->clear();
    for (MessageId item : kPlayerDeviceTexts) list->addItem(Message(item, language));
    list->setCurrentIndex(std::max(0, chosen));
  }
}

}  // namespace wrenfold
