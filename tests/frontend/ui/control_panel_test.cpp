#include "frontend/ui/control_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "frontend/model/emulator_config.h"
#include "frontend/ui/joystick_capture_box.h"
#include "frontend/ui/key_capture_box.h"
#include "tests/frontend/ui/ui_test_support.h"
#include "tests/frontend/ui/ui_tests.h"

namespace wrenfold::ui_test {

class ControlPanelTest : public QObject {
  Q_OBJECT

 private:
  template <typename Widget>
  Widget* Find(ControlPanel& panel, const QString& name) {
    auto* widget = panel.findChild<Widget*>(name);
    if (widget == nullptr) qWarning("no control %s", qPrintable(name));
    return widget;
  }

 private slots:
  void everyControlHasItsName() {
    ControlPanel panel(nullptr);
    QStringList names = {
        "Frame2",           "Opt_Disp(0)",     "Opt_Disp(1)",    "Label21",
        "Cmb_DD",           "Label42",         "Cmb_Res",        "Label40",
        "Chk_Scanline",     "Chk_Color",       "Chk2X",          "LabHardNum",
        "Label38",          "CmdHardWare0",    "CmdHardWareDec", "CmdHardWareInc",
        "Option1(0)",       "Option1(1)",      "Label39",        "Cmd_Max",
        "Frame3",           "Chk_SoundEnable", "Chk_Stereo",     "Chk_NamcoExtended",
        "Chk_VRC6Extended", "Cmd_SMax",        "Frame4",         "Cmb_1P",
        "Cmb_2P",           "Label24",         "Label25",        "Lab_Interval",
        "Hscr_RF",          "Label36",         "Cmd_UpdateCfg",  "Command5"};
    names << "Option1(2)";
    for (int slot = 0; slot < 10; ++slot)
      names << QStringLiteral("Txt_Key(%1)").arg(slot) << QStringLiteral("Label%1").arg(26 + slot);
    for (int slot = 0; slot < 6; ++slot) names << QStringLiteral("Txt_Joy(%1)").arg(slot);
    for (const QString& name : names)
      QVERIFY2(panel.findChild<QWidget*>(name) != nullptr, qPrintable(name));
    QCOMPARE(panel.objectName(), QString("FrameCfg"));
    QCOMPARE(panel.title(), QString("Wrenfold控制台"));
    QCOMPARE(Find<QPushButton>(panel, "Command5")->text(), QString("启动Wrenfold！"));
    QCOMPARE(Find<QComboBox>(panel, "Cmb_Res")->itemText(2), QString("1024*768"));
    QCOMPARE(Find<QComboBox>(panel, "Cmb_1P")->itemText(2), QString("手柄"));
  }

  void irqAdjustButtonsStepTheCaption() {
    ControlPanel panel(nullptr);
    auto* caption = Find<QLabel>(panel, "LabHardNum");
    QCOMPARE(caption->text(), QString("0"));
    Find<QPushButton>(panel, "CmdHardWareInc")->click();
    QCOMPARE(caption->text(), QString(" 1"));
    Find<QPushButton>(panel, "CmdHardWareDec")->click();
    Find<QPushButton>(panel, "CmdHardWareDec")->click();
    Find<QPushButton>(panel, "CmdHardWareDec")->click();
    QCOMPARE(caption->text(), QString("-2"));
    QCOMPARE(panel.CurrentSettings().irqAdjustCaption, std::string("-2"));
    Find<QPushButton>(panel, "CmdHardWare0")->click();
    QCOMPARE(caption->text(), QString("0"));
  }

  void soundOffDisablesAndClearsStereo() {
    ControlPanel panel(nullptr);
    auto* sound = Find<QCheckBox>(panel, "Chk_SoundEnable");
    auto* stereo = Find<QCheckBox>(panel, "Chk_Stereo");
    sound->setChecked(true);
    stereo->setChecked(true);
    sound->setChecked(false);
    QVERIFY(!stereo->isEnabled());
    QVERIFY(!stereo->isChecked());
    sound->setChecked(true);
    QVERIFY(stereo->isEnabled());
  }

  void samePlayerDeviceResetsTheOtherList() {
    ControlPanel panel(nullptr);
    auto* player1 = Find<QComboBox>(panel, "Cmb_1P");
    auto* player2 = Find<QComboBox>(panel, "Cmb_2P");
    player1->setCurrentIndex(1);
    player2->setCurrentIndex(1);
    emit player2->activated(1);
    QCOMPARE(player1->currentIndex(), 0);
    QCOMPARE(player2->currentIndex(), 1);
    player1->setCurrentIndex(1);
    emit player1->activated(1);
    QCOMPARE(player2->currentIndex(), 0);
    QCOMPARE(panel.CurrentSettings().player1, PlayerDevice::kKeyboard);
    QCOMPARE(panel.CurrentSettings().player2, PlayerDevice::kNone);
  }

  void keyBoxTakesTheReleasedKey() {
    ControlPanel panel(nullptr);
    auto* up = Find<KeyCaptureBox>(panel, "Txt_Key(0)");
    QTest::keyClick(up, Qt::Key_A);
    QCOMPARE(up->text(), QString("A"));
    QCOMPARE(panel.CurrentSettings().keyMap.codes[kKeyUp], int16_t{30});
    QTest::keyClick(up, Qt::Key_5);  // digits are not taken
    QCOMPARE(up->text(), QString());
    QCOMPARE(panel.CurrentSettings().keyMap.codes[kKeyUp], int16_t{0});
    QTest::keyClick(up, Qt::Key_5, Qt::KeypadModifier);
    QCOMPARE(up->text(), QString("Num5"));
    QCOMPARE(panel.CurrentSettings().keyMap.codes[kKeyUp], int16_t{76});
    QTest::keyClick(up, Qt::Key_Colon, Qt::ShiftModifier);
    QCOMPARE(up->text(), QString(";"));
  }

  void keyBoxIgnoresAReleaseWithoutItsPress() {
    ControlPanel panel(nullptr);
    auto* start = Find<KeyCaptureBox>(panel, "Txt_Key(9)");
    const QString before = start->text();
    QTest::keyRelease(start, Qt::Key_Tab);
    QCOMPARE(start->text(), before);
  }

  void keyBoxBackgroundFollowsTheFocus() {
    ControlPanel panel(nullptr);
    auto* box = Find<KeyCaptureBox>(panel, "Txt_Key(3)");
    QCOMPARE(box->palette().color(QPalette::Base), QColor(192, 192, 192));
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(box, &in);
    QCOMPARE(box->palette().color(QPalette::Base), QColor(255, 255, 255));
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(box, &out);
    QCOMPARE(box->palette().color(QPalette::Base), QColor(192, 192, 192));
  }

  void joystickButtonIsCaptured() {
    ScriptedJoystick joystick({{kJoystickOk, 0x4}});
    ControlPanel panel(&joystick);
    auto* box = Find<JoystickCaptureBox>(panel, "Txt_Joy(2)");
    box->CaptureButton();
    QCOMPARE(box->text(), QString("B3"));
    QCOMPARE(panel.CurrentSettings().joyMap.buttons[kJoyTurboA], int16_t{3});
    QCOMPARE(box->palette().color(QPalette::Base), QColor(192, 192, 192));
    QCOMPARE(joystick.releases, 1);
  }

  void joystickCaptureWaitsForAButtonWhileFocused() {
    ScriptedJoystick joystick(
        {{kJoystickOk, 0}, {kJoystickOk, 0}, {kJoystickOk, 0}, {kJoystickOk, 0x10}});
    ControlPanel panel(&joystick);
    panel.show();
    panel.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    auto* box = Find<JoystickCaptureBox>(panel, "Txt_Joy(0)");
    box->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(box->text(), QString("B5"));
    QCOMPARE(joystick.polls, 4);
    QCOMPARE(panel.CurrentSettings().joyMap.buttons[kJoyA], int16_t{5});
    // The focus moves on to "Update Config".
    QTRY_COMPARE(QApplication::focusWidget(), panel.findChild<QWidget*>("Cmd_UpdateCfg"));
  }

  void unpluggedJoystickIsReported() {
    ScriptedJoystick joystick({{kJoystickUnplugged, 0}});
    ControlPanel panel(&joystick);
    QSignalSpy failures(&panel, &ControlPanel::joystickFailed);
    auto* box = Find<JoystickCaptureBox>(panel, "Txt_Joy(1)");
    const QString before = box->text();
    box->CaptureButton();
    QCOMPARE(failures.count(), 1);
    QCOMPARE(failures.at(0).at(1).value<MessageId>(), MessageId::JoystickUnpluggedText);
    QCOMPARE(box->text(), before);
  }

  void foldButtonsOpenAndCloseTheirGroups() {
    ControlPanel panel(nullptr);
    auto* fold = Find<QToolButton>(panel, "Cmd_Max");
    QCOMPARE(fold->property("picture").toString(), QString("plus"));
    QVERIFY(!panel.ConsoleGroupExpanded());
    QVERIFY(Find<QCheckBox>(panel, "Chk_Scanline")->isHidden() ||
            !Find<QCheckBox>(panel, "Chk_Scanline")->isVisibleTo(&panel));
    fold->click();
    QVERIFY(panel.ConsoleGroupExpanded());
    QCOMPARE(fold->property("picture").toString(), QString("minus"));
    QVERIFY(Find<QCheckBox>(panel, "Chk_Scanline")->isVisibleTo(&panel));
    fold->click();
    QCOMPARE(fold->property("picture").toString(), QString("plus"));
    auto* soundFold = Find<QToolButton>(panel, "Cmd_SMax");
    soundFold->click();
    QVERIFY(panel.SoundGroupExpanded());
    QCOMPARE(soundFold->property("picture").toString(), QString("minus"));
  }

  void leavingACoreOptionStoresTheSettings() {
    ControlPanel panel(nullptr);
    QSignalSpy stores(&panel, &ControlPanel::updateConfigRequested);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(Find<QRadioButton>(panel, "Option1(1)"), &out);
    QCOMPARE(stores.count(), 1);
    QApplication::sendEvent(Find<QRadioButton>(panel, "Option1(2)"), &out);
    QCOMPARE(stores.count(), 2);
    QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(Find<QRadioButton>(panel, "Option1(0)"), &deactivated);
    QCOMPARE(stores.count(), 2);
  }

  void loadedSettingsComeBackUnchanged() {
    ControlPanel panel(nullptr);
    ControlPanelSettings settings;
    settings.videoNtsc = false;
    settings.resolutionIndex = 3;
    settings.scanline = true;
    settings.color = false;
    settings.doubleSize = true;
    settings.irqAdjustCaption = " 7";
    settings.cpuCore = CpuCoreChoice::kFullCore;
    settings.soundEnabled = true;
    settings.stereo = true;
    settings.namcoExtended = false;
    settings.rapidFireInterval = 4;
    settings.player1 = PlayerDevice::kJoystick;
    settings.player2 = PlayerDevice::kKeyboard;
    settings.keyMap.codes[kKeyStart] = 57;
    settings.joyMap.buttons[kJoyStart] = 12;
    panel.LoadSettings(settings);
    const ControlPanelSettings shown = panel.CurrentSettings();
    QVERIFY(!shown.videoNtsc);
    QCOMPARE(shown.resolutionIndex, 3);
    QVERIFY(shown.scanline && !shown.color && shown.doubleSize && shown.stereo);
    QCOMPARE(shown.cpuCore, CpuCoreChoice::kFullCore);
    QVERIFY(Find<QRadioButton>(panel, "Option1(2)")->isChecked());
    QVERIFY(!shown.namcoExtended);
    QCOMPARE(shown.irqAdjustCaption, std::string("0"));  // never kept between runs
    QCOMPARE(shown.rapidFireInterval, 4);
    QCOMPARE(Find<QLabel>(panel, "Lab_Interval")->text(), QString(" 4"));
    QCOMPARE(Find<QScrollBar>(panel, "Hscr_RF")->value(), 4);
    QCOMPARE(shown.player1, PlayerDevice::kJoystick);
    QCOMPARE(shown.keyMap.codes[kKeyStart], int16_t{57});
    QCOMPARE(Find<QLineEdit>(panel, "Txt_Joy(5)")->text(), QString("B12"));
    Find<QScrollBar>(panel, "Hscr_RF")->setValue(6);
    QCOMPARE(panel.CurrentSettings().rapidFireInterval, 6);
    QCOMPARE(Find<QLabel>(panel, "Lab_Interval")->text(), QString(" 6"));
  }

  void displayListKeepsTheIds() {
    ControlPanel panel(nullptr);
    panel.SetDisplayDevices({{"One 0,0 800x600", "One"}, {"Two 800,0 800x600", "Two"}});
    auto* list = Find<QComboBox>(panel, "Cmb_DD");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentIndex(), 0);
    QCOMPARE(panel.SelectedDisplayDeviceId(), QString("One"));
    list->setCurrentIndex(1);
    QCOMPARE(panel.SelectedDisplayDeviceId(), QString("Two"));
    panel.SetDisplayDevices({});
    QCOMPARE(panel.SelectedDisplayDeviceId(), QString());
  }

  void languageRefillsThePlayerLists() {
    ControlPanel panel(nullptr);
    auto* player1 = Find<QComboBox>(panel, "Cmb_1P");
    player1->setCurrentIndex(2);
    panel.SetLanguage(kLanguageEnglish);
    QCOMPARE(player1->itemText(0), QString("None"));
    QCOMPARE(player1->currentText(), QString("Joystick"));
  }
};

int RunControlPanelTests(int argc, char** argv) {
  ControlPanelTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace wrenfold::ui_test

#include "control_panel_test.moc"
