// `FrameCfg`, the control-panel face of the main window: console, sound and input settings,
// the window mode, "Update Config" and "Start Wrenfold!".
#pragma once

#include <QGroupBox>
#include <array>
#include <vector>

#include "frontend/model/emulator_config.h"
#include "frontend/ui/frontend_services.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolButton;

namespace wrenfold {

class HoverHints;
class JoystickCaptureBox;
class KeyCaptureBox;

class ControlPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit ControlPanel(JoystickSource* joystick, QWidget* parent = nullptr);

  // `Cmb_DD`: one entry per display; the first is selected.
  void SetDisplayDevices(const std::vector<DisplayDevice>& devices);
  QString SelectedDisplayDeviceId() const;

  // Shows settings read from Wrenfold.CFG (the IRQ adjustment always starts at "0").
  void LoadSettings(const ControlPanelSettings& settings);

  // The panel's settings; the language, ROM file and ROM directory are the caller's to fill.
  ControlPanelSettings CurrentSettings() const;

  QString IrqAdjustCaption() const;

  // The 1P/2P lists in the interface language, keeping the chosen entries.
  void SetLanguage(int language);

  bool ConsoleGroupExpanded() const { return m_consoleExpanded; }
  bool SoundGroupExpanded() const { return m_soundExpanded; }

  HoverHints* Hints() const { return m_hints; }

 signals:
  void updateConfigRequested();
  void startRequested();
  void joystickFailed(MessageId title, MessageId text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildConsoleGroup();
  QWidget* BuildSoundGroup();
  QWidget* BuildInputGroup(JoystickSource* joystick);
  void SetConsoleExpanded(bool expanded);
  void SetSoundExpanded(bool expanded);
  void ApplySoundEnabled();
  void SettlePlayers(int changedPlayer);
  void ShowRapidFire(int interval);

  ControlPanelSettings m_settings;  // key and button codes, devices and the rapid-fire interval
  bool m_consoleExpanded = false;
  bool m_soundExpanded = false;

  QGroupBox* m_consoleGroup = nullptr;
  QWidget* m_consoleMore = nullptr;
  QToolButton* m_consoleToggle = nullptr;
  QGroupBox* m_soundGroup = nullptr;
  QWidget* m_soundMore = nullptr;
  QToolButton* m_soundToggle = nullptr;

  QRadioButton* m_ntsc = nullptr;
  QRadioButton* m_pal = nullptr;
  QComboBox* m_displayList = nullptr;
  std::vector<QString> m_displayIds;
  QComboBox* m_resolutionList = nullptr;
  QCheckBox* m_scanline = nullptr;
  QCheckBox* m_color = nullptr;
  QCheckBox* m_doubleSize = nullptr;
  QCheckBox* m_windowed = nullptr;
  QLabel* m_irqAdjust = nullptr;
  QRadioButton* m_asmCore = nullptr;
  QRadioButton* m_cCore = nullptr;
  QRadioButton* m_fullCore = nullptr;

  QCheckBox* m_soundEnable = nullptr;
  QCheckBox* m_stereo = nullptr;
  QCheckBox* m_namco = nullptr;
  QCheckBox* m_vrc6 = nullptr;

  QComboBox* m_player1 = nullptr;
  QComboBox* m_player2 = nullptr;
  std::array<KeyCaptureBox*, kKeySlotCount> m_keyBoxes{};
  std::array<JoystickCaptureBox*, kJoySlotCount> m_joyBoxes{};
  QLabel* m_rapidFireCaption = nullptr;
  QScrollBar* m_rapidFire = nullptr;

  QPushButton* m_updateConfig = nullptr;
  QPushButton* m_start = nullptr;
  HoverHints* m_hints = nullptr;
};

}  // namespace wrenfold
