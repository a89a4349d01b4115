#include "frontend/ui/main_window.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <memory>

#include "frontend/ui/control_panel.h"
#include "frontend/ui/encyclopedia_panel.h"
#include "frontend/ui/fds_loader_dialog.h"
#include "frontend/ui/header_panel.h"
#include "frontend/ui/hint_line.h"
#include "frontend/ui/rom_list_model.h"
#include "frontend/ui/rom_list_panel.h"
#include "tests/frontend/model/db_test_support.h"
#include "tests/frontend/ui/ui_test_support.h"
#include "tests/frontend/ui/ui_tests.h"

namespace wrenfold::ui_test {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<MainWindow> Start(const TestLibrary& library) {
    auto window = std::make_unique<MainWindow>(library.Services());
    window->RunStartup(nullptr);
    return window;
  }

  template <typename Widget = QWidget>
  static Widget* Control(const QWidget& window, const char* name) {
    return window.findChild<Widget*>(QString::fromUtf8(name));
  }

  static QString LabelText(const QWidget& window, const char* name) {
    return Control<QLabel>(window, name)->text();
  }

  static QString Row(const QWidget& window, const char* list, int row) {
    const auto* view = Control<QListView>(window, list);
    return view->model()->index(row, view->modelColumn()).data().toString();
  }

 private slots:
  void everyControlHasItsName() {
    TestLibrary library;
    const auto window = Start(library);
    for (const char* name :
         {"Frame1",         "FrameCfg",         "framewin(0)",     "framewin(1)",
          "framewin(2)",    "CmdSwap",          "CmdSwap2",        "Command6",
          "Cmd_Exit",       "MessageLine",      "Image1",          "Label37",
          "FilenameList",   "CNameList",        "ENameList",       "Command2",
          "Command3",       "Command4",         "ROMscroll",       "Txt_ROMDir",
          "Label1",         "Lab_EngName",      "Cmd_ExtName",     "Lab_version",
          "Label6",         "Cmd_FDS",          "Command9",        "Label4",
          "Label5",         "Label3",           "Label2",          "Label8",
          "Label10",        "Label9",           "Lab_ConsoleType", "Label11",
          "Lab_LanType",    "Label12",          "Pic_JP",          "Pic_JD",
          "Lab_SecretName", "Lab_SecretText",   "Label13",         "Lab_Producer",
          "Label16",        "Lab_GameType",     "Label17",         "Lab_ROMVersion",
          "Label19",        "Lab_CartVer",      "Label20",         "Cmd_GameIntro",
          "Lab_Intro",      "Img_Shot",         "Label18",         "Cmd_NextShot",
          "Pic_Large",      "Command7",         "Command8",        "MusicList",
          "Check1",         "Label15",          "Command5",        "Cmd_UpdateCfg",
          "Cmd_Start",      "Cmd_ROMDirBrowse", "Txt_Filter",      "Lab_Filter",
          "Chk_Windowed"})
      QVERIFY2(Control(*window, name) != nullptr, name);
    QCOMPARE(window->objectName(), QString("Form1"));
    QCOMPARE(window->windowTitle(), QString("ROM大百科"));
    QCOMPARE(Control<QGroupBox>(*window, "Frame1")->title(), QString("Wrenfold工具箱：ROM大百科"));
  }

  void startupListsAndIdentifiesTheFolder() {
    TestLibrary library;
    const auto window = Start(library);
    QCOMPARE(window->RomList()->Model()->rowCount(), 3);
    QCOMPARE(Row(*window, "FilenameList", 0), QString(kAlphaRom));
    QCOMPARE(Row(*window, "CNameList", 0), QString("Zeta"));
    QCOMPARE(Row(*window, "ENameList", 1), QString("Beta"));
    QCOMPARE(Row(*window, "CNameList", 2), QString("未知ROM"));
    QCOMPARE(Row(*window, "ENameList", 2), QString("Unknown"));
    QCOMPARE(LabelText(*window, "Lab_version"), QString(" 2. 1. 5"));
    QVERIFY(Control(*window, "ROMscroll")->isHidden());
    QCOMPARE(window->RomList()->SelectedFileName(), std::string(kAlphaRom));
    QCOMPARE(LabelText(*window, "Lab_EngName"), QString("Alpha"));
    QCOMPARE(Control<QComboBox>(*window, "Cmb_DD")->currentText(),
             QString("Fake Display 0,0 640x480"));
    QCOMPARE(Control<QComboBox>(*window, "Cmb_2P")->currentIndex(), 2);
    QCOMPARE(Control<QLineEdit>(*window, "Txt_Key(0)")->text(), QString("Up"));
  }

  void firstRowShowsHeaderAndEncyclopedia() {
    TestLibrary library;
    const auto window = Start(library);
    QCOMPARE(LabelText(*window, "Label4"), QString("ROM容量： 32K"));
    QCOMPARE(LabelText(*window, "Label5"), QString("VROM容量： 8K"));
    QCOMPARE(LabelText(*window, "Label3"), QString("Mapper# 0"));
    QVERIFY(Control(*window, "Label2")->isHidden());
    QCOMPARE(LabelText(*window, "Lab_ConsoleType"), QString("NTSC"));
    QCOMPARE(LabelText(*window, "Lab_LanType"), QString("日文"));
    QCOMPARE(Control(*window, "Lab_LanType")->palette().color(QPalette::WindowText),
             QColor(255, 255, 0));
    QVERIFY(!Control(*window, "Pic_JP")->isHidden());
    QVERIFY(Control(*window, "Pic_JD")->isHidden());
    QCOMPARE(LabelText(*window, "Lab_SecretName"), QString("无敌( 1/ 3)"));
    QCOMPARE(LabelText(*window, "Lab_SecretText"), QString("按A"));
    QCOMPARE(LabelText(*window, "Lab_Producer"), QString("Nintendo"));
    QCOMPARE(LabelText(*window, "Lab_GameType"), QString("动作"));
    QCOMPARE(LabelText(*window, "Lab_ROMVersion"), QString("原版"));
    QCOMPARE(LabelText(*window, "Lab_CartVer"), QString("JU"));
    QVERIFY(Control(*window, "Cmd_GameIntro")->isEnabled());
    QVERIFY(Control(*window, "Lab_Intro")->isHidden());
    QVERIFY(!Control<QLabel>(*window, "Img_Shot")->pixmap().isNull());
    QVERIFY(window->Encyclopedia()->ScreenshotPath().endsWith("ScrShots/AG0001A.GIF"));
  }

  void secretsCycleAndIntroductionToggles() {
    TestLibrary library;
    const auto window = Start(library);
    auto* secret = Control(*window, "Lab_SecretText");
    QStringList names;
    for (int click = 0; click < 3; ++click) {
      QTest::mouseClick(secret, Qt::LeftButton);
      names << LabelText(*window, "Lab_SecretName");
    }
    QCOMPARE(names, QStringList({"选关( 2/ 3)", "加命( 3/ 3)", "无敌( 1/ 3)"}));
  }

  // The introduction and the walkthrough (every secret) share one box; its room is kept below
  // everything else of the game frame, shown or not, so it covers nothing.
  void introductionAndWalkthroughShowInTheirOwnBox() {
    TestLibrary library;
    const auto window = Start(library);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto* box = Control<QTextBrowser>(*window, "Lab_Intro");
    const QRect room = box->geometry();
    QVERIFY(box->isHidden());
    Control<QPushButton>(*window, "Cmd_GameIntro")->click();
    QVERIFY(box->isVisible());
    QCOMPARE(box->toPlainText(), QString("一个游戏"));
    QCOMPARE(box->geometry(), room);
    Control<QPushButton>(*window, "Command7")->click();
    QVERIFY(box->isVisible());
    QCOMPARE(box->toPlainText(), QString("无敌: 按A\n\n选关: 按B\n\n加命: 按C"));
    QVERIFY(box->height() >= 4 * box->fontMetrics().lineSpacing());
    for (QWidget* other : Control(*window, "framewin(1)")->findChildren<QWidget*>()) {
      if (other == box || box->isAncestorOf(other) || !other->isVisible() ||
          other->parentWidget() != box->parentWidget())
        continue;
      QVERIFY2(!other->geometry().intersects(room), qPrintable(other->objectName()));
    }
    Control<QPushButton>(*window, "Command7")->click();
    QVERIFY(box->isHidden());
  }

  void anotherScreenshotLooksForLetterB() {
    TestLibrary library;
    const auto window = Start(library);
    Control<QPushButton>(*window, "Cmd_NextShot")->click();
    QCOMPARE(window->Encyclopedia()->ScreenshotLetter(), 'B');
    QVERIFY(window->Encyclopedia()->ScreenshotPath().isEmpty());
    QVERIFY(Control<QLabel>(*window, "Img_Shot")->pixmap().isNull());
    Control<QPushButton>(*window, "Cmd_NextShot")->click();
    QVERIFY(!Control<QLabel>(*window, "Img_Shot")->pixmap().isNull());
    QTest::mousePress(Control(*window, "Img_Shot"), Qt::LeftButton);
    QVERIFY(!Control(*window, "Pic_Large")->isHidden());
    QTest::mouseRelease(Control(*window, "Img_Shot"), Qt::LeftButton);
    QVERIFY(Control(*window, "Pic_Large")->isHidden());
  }

  void unknownRowBlanksTheEncyclopedia() {
    TestLibrary library;
    const auto window = Start(library);
    window->RomList()->ShowRomDetails(2);
    QCOMPARE(LabelText(*window, "Label4"), QString("ROM容量： 16K"));
    QCOMPARE(LabelText(*window, "Label5"), QString("VROM容量： 0K"));
    for (const char* name : {"Lab_ConsoleType", "Lab_LanType", "Lab_SecretName", "Lab_Producer",
                             "Lab_GameType", "Lab_ROMVersion", "Lab_CartVer"})
      QCOMPARE(LabelText(*window, name), QString("N/A"));
    QVERIFY(!Control(*window, "Cmd_GameIntro")->isEnabled());
    QVERIFY(Control(*window, "Pic_JP")->isHidden());
    QVERIFY(Control<QLabel>(*window, "Img_Shot")->pixmap().isNull());
    QCOMPARE(LabelText(*window, "Lab_EngName"), QString());
    QCOMPARE(Control<QListView>(*window, "ENameList")->currentIndex().row(), 2);
  }

  void mismatchedHeaderIsRepairedOnYes() {
    TestLibrary library;
    const auto window = Start(library);
    MessageBoxAnswerer answerer({QMessageBox::Yes, QMessageBox::Ok});
    window->RomList()->ShowRomDetails(1);
    QCOMPARE(answerer.titles, QStringList({"文件头有误", "修正ROM文件头"}));
    QCOMPARE(answerer.texts.at(1), QString("修正完毕"));
    const std::string rom = ReadFile(library.RomFolder() / kBetaRom);
    QCOMPARE(static_cast<uint8_t>(rom[6]), library.recognition.records[1].header[6]);
    QVERIFY(!Control(*window, "Label2")->isHidden());
    QCOMPARE(Control(*window, "Label2")->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    // The same row again asks nothing.
    window->RomList()->ShowRomDetails(1);
    QCOMPARE(answerer.titles.size(), 2);
  }

  void declinedRepairIsAskedAgainAfterAnotherRow() {
    TestLibrary library;
    library.WriteConfig("BOOTLAN=English\r\nROMDIR=" + library.RomFolder().string() + "\r\n;\r\n");
    const auto window = Start(library);
    MessageBoxAnswerer answerer({QMessageBox::No, QMessageBox::No});
    window->RomList()->ShowRomDetails(1);
    QCOMPARE(answerer.titles, QStringList({"ROM Header mismatch"}));
    QCOMPARE(Control(*window, "Label2")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    window->RomList()->ShowRomDetails(1);
    window->RomList()->ShowRomDetails(0);
    window->RomList()->ShowRomDetails(1);
    QCOMPARE(answerer.titles.size(), 2);
  }

  void readOnlyRomIsNotRepaired() {
    TestLibrary library;
    const auto window = Start(library);
    const std::filesystem::path rom = library.RomFolder() / kBetaRom;
    const std::string before = ReadFile(rom);
    std::filesystem::permissions(
        rom, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    MessageBoxAnswerer answerer({QMessageBox::Yes, QMessageBox::Ok});
    window->RomList()->ShowRomDetails(1);
    QCOMPARE(answerer.titles, QStringList({"文件头有误", "无法修改文件"}));
    QCOMPARE(answerer.texts.at(1), QString("此ROM文件为只读属性"));
    QCOMPARE(ReadFile(rom), before);
  }

  void damagedStoredHeaderIsReportedAndNeverOffered() {
    TestLibrary library;
    library.recognition.records[1].header[3] = 0x00;  // "NES" without its 1A
    library.WriteDatabases();
    const auto window = Start(library);
    const std::filesystem::path rom = library.RomFolder() / kBetaRom;
    const std::string before = ReadFile(rom);
    MessageBoxAnswerer answerer({QMessageBox::Ok, QMessageBox::Yes});
    window->RomList()->ShowRomDetails(1);
    QCOMPARE(answerer.titles, QStringList({"错误"}));
    QVERIFY(answerer.texts.at(0).contains("NES"));
    QCOMPARE(ReadFile(rom), before);
  }

  void trashIsClearedOnYes() {
    TestLibrary library;
    std::vector<uint8_t> image = db_test::MakeRomImage(1, 1, false, 9);
    image[7] = 'D';
    image[8] = 'i';
    image[9] = 's';
    library.WriteRom("delta.nes", image);
    const auto window = Start(library);
    MessageBoxAnswerer answerer({QMessageBox::Yes, QMessageBox::Ok});
    window->RomList()->ShowRomDetails(2);
    QCOMPARE(answerer.titles.value(0), QString("发现垃圾数据"));
    QCOMPARE(answerer.texts.value(1), QString("垃圾数据清除完毕"));
    const std::string rom = ReadFile(library.RomFolder() / "delta.nes");
    QCOMPARE(rom.substr(7, 9), std::string(9, '\0'));
  }

  void facesSwitch() {
    TestLibrary library;
    const auto window = Start(library);
    QVERIFY(!window->ControlPanelFaceShown());
    QVERIFY(Control(*window, "FrameCfg")->isHidden());
    QVERIFY(Control(*window, "CmdSwap2")->isHidden());
    Control<QPushButton>(*window, "CmdSwap")->click();
    QVERIFY(window->ControlPanelFaceShown());
    for (const char* hidden : {"framewin(0)", "framewin(1)", "framewin(2)", "CmdSwap"})
      QVERIFY2(Control(*window, hidden)->isHidden(), hidden);
    QVERIFY(!Control(*window, "CmdSwap2")->isHidden());
    QVERIFY(!Control(*window, "FilenameList")->isHidden());  // the list serves both faces
    Control<QPushButton>(*window, "CmdSwap2")->click();
    QVERIFY(!window->ControlPanelFaceShown());
    QVERIFY(!Control(*window, "framewin(1)")->isHidden());
  }

  void languageSwitchChangesEveryCaption() {
    TestLibrary library;
    const auto window = Start(library);
    window->SetLan(kLanguageEnglish);
    QCOMPARE(window->windowTitle(), QString("ROM Encyclopedia"));
    QCOMPARE(Control<QGroupBox>(*window, "Frame1")->title(),
             QString("Wrenfold:ROM Encyclopedia 2.0"));
    QCOMPARE(Control<QGroupBox>(*window, "FrameCfg")->title(), QString("Wrenfold Control Panel"));
    QCOMPARE(Control<QGroupBox>(*window, "framewin(1)")->title(), QString("Game Infomation"));
    QCOMPARE(Control<QPushButton>(*window, "Command5")->text(), QString("Start Wrenfold!"));
    QCOMPARE(Control<QPushButton>(*window, "CmdSwap")->text(),
             QString("Switch to Wrenfold Control Panel"));
    QCOMPARE(LabelText(*window, "Label35"), QString("Start"));
    QCOMPARE(LabelText(*window, "Label42"), QString("Display Device:"));
    QCOMPARE(Control<QComboBox>(*window, "Cmb_1P")->itemText(1), QString("Keyboard"));
    // What the panels show in words is English too.
    QCOMPARE(LabelText(*window, "Label4"), QString("ROM Size: 32K"));
    QCOMPARE(LabelText(*window, "Lab_LanType"), QString("Japanese"));
    QCOMPARE(LabelText(*window, "Lab_GameType"), QString("Action"));
    QCOMPARE(LabelText(*window, "Lab_ROMVersion"), QString("Original"));
    QCOMPARE(Control<QPushButton>(*window, "Cmd_ExtName")->text(), QString("English Name"));
    QCOMPARE(Control<QPushButton>(*window, "Command9")->text(), QString("Clear Filter"));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(Control(*window, "Cmd_Start"), &enter);
    QVERIFY(window->Hints()->text().contains("F12 screenshot"));
    QVERIFY(Control(*window, "CNameList")->isHidden());
    QVERIFY(Control(*window, "Command3")->isHidden());
    window->SetLan(kLanguageChinese);
    QCOMPARE(Control<QPushButton>(*window, "Command5")->text(), QString("启动Wrenfold！"));
    QCOMPARE(Control<QComboBox>(*window, "Cmb_1P")->itemText(1), QString("键盘"));
    QVERIFY(!Control(*window, "CNameList")->isHidden());
  }

  void updateConfigWritesTheFile() {
    TestLibrary library;
    const auto window = Start(library);
    Control<QPushButton>(*window, "CmdHardWareInc")->click();
    Control<QPushButton>(*window, "Cmd_UpdateCfg")->click();
    const std::string text = ReadFile(library.WorkFolder() / "Wrenfold.CFG");
    QVERIFY(text.starts_with(
        "FPS=60\r\nBOOTLAN=Chinese\r\nBOOT=alpha.nes\r\nROMDIR=" + library.RomFolder().string() +
        "\r\nIRQADJ= 0\r\nVIDEO=NTSC\r\nSOUND=Stereo\r\n"));
    QVERIFY(text.find("HARDBUF= 1\r\n") != std::string::npos);
    QVERIFY(text.find("RAPIDFIRE=3\r\nPLAYER1=Keyboard\r\nPLAYER2=Joystick\r\n") !=
            std::string::npos);
    QVERIFY(text.find("KEYUP=200\r\n") != std::string::npos);
    QVERIFY(text.ends_with("KEYSTART=28\r\nWINDOWED=No\r\n;\r\n"));
    QVERIFY(text.find("DDEVICE=") == std::string::npos);
  }

  void startWrenfoldStartsTheEmulatorWithNoArguments() {
    TestLibrary library;
    const auto window = Start(library);
    window->RomList()->ShowRomDetails(2);
    Control<QPushButton>(*window, "Command5")->click();
    QVERIFY(window->EmulatorStarted());
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(library.LaunchRecord()), 10000);
    QCOMPARE(ReadFile(library.LaunchRecord()), std::string("0\n"));
    const std::string seen = ReadFile(library.LaunchedConfig());
    QVERIFY(seen.find("BOOT=gamma.nes\r\n") != std::string::npos);
    QVERIFY(seen.find("ROMDIR=" + library.RomFolder().string() + "\r\n") != std::string::npos);
    QVERIFY(seen.find("IRQADJ= 0\r\n") != std::string::npos);
    // Start stores the panel's settings first, so the core stands in its own place, once.
    QVERIFY2(seen.find("\r\nCORE=ASM\r\n") != std::string::npos, seen.c_str());
    QVERIFY(seen.find("CORE=") == seen.rfind("CORE="));
    QVERIFY2(seen.ends_with("DDEVICE=Fake Display\r\n;\r\n"), seen.c_str());
  }

  // A double-click on a file name or English name, Enter in a list and the start buttons of
  // both faces all start the selected game with what the panel shows, stored first.
  void everyWayToStartRunsTheGameWithTheShownSettings() {
    TestLibrary library;
    const auto window = Start(library);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    Control<QCheckBox>(*window, "Chk_Windowed")->setChecked(true);
    Control<QRadioButton>(*window, "Opt_Disp(1)")->setChecked(true);

    auto doubleClick = [&](const char* list) {
      auto* view = Control<QListView>(*window, list);
      const QRect cell = view->visualRect(view->model()->index(2, view->modelColumn()));
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
      QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    };
    auto pressEnter = [&](const char* list) {
      auto* view = Control<QListView>(*window, list);
      window->RomList()->ShowRomDetails(2);
      QTest::keyClick(view, Qt::Key_Return);
    };
    const std::vector<std::function<void()>> starts = {
        [&] { doubleClick("FilenameList"); }, [&] { doubleClick("ENameList"); },
        [&] { pressEnter("CNameList"); },
        [&] {
          window->RomList()->ShowRomDetails(2);
          Control<QPushButton>(*window, "Cmd_Start")->click();
        },
        [&] {
          window->RomList()->ShowRomDetails(2);
          window->ShowControlPanelFace();
          Control<QPushButton>(*window, "Command5")->click();
        }};
    for (std::size_t way = 0; way < starts.size(); ++way) {
      std::filesystem::remove(library.LaunchRecord());
      std::filesystem::remove(library.LaunchedConfig());
      starts[way]();
      QTRY_VERIFY2_WITH_TIMEOUT(std::filesystem::exists(library.LaunchRecord()),
                                qPrintable(QString("start way %1").arg(way)), 10000);
      const std::string seen = ReadFile(library.LaunchedConfig());
      QVERIFY2(seen.find("BOOT=gamma.nes\r\n") != std::string::npos, seen.c_str());
      QVERIFY2(seen.find("VIDEO=PAL\r\n") != std::string::npos, seen.c_str());
      QVERIFY2(seen.find("WINDOWED=Yes\r\n") != std::string::npos, seen.c_str());
    }
    // The Chinese-name column keeps its double-click for the aliases.
    QVERIFY(Control(*window, "Cmd_Start")->isHidden());
  }

  void emulatorEndingInFailureIsReportedWithItsLastLogLine() {
    TestLibrary library;
    const std::string failing =
        "#!/bin/sh\nprintf 'Wrenfold log file\\nOpen:/roms/x.nes\\nError reading ROM\\n' > "
        "wrenfold.tst\nexit 1\n";
    db_test::WriteBytes(library.ProgramFolder() / "wrenfold", {failing.begin(), failing.end()});
    const auto window = Start(library);
    window->SetLan(kLanguageEnglish);
    MessageBoxAnswerer answerer;
    Control<QPushButton>(*window, "Cmd_Start")->click();
    QVERIFY(window->EmulatorStarted());
    QTRY_COMPARE_WITH_TIMEOUT(answerer.titles.size(), 1, 10000);
    QCOMPARE(answerer.titles.at(0), QString("Wrenfold stopped"));
    QCOMPARE(answerer.texts.at(0), QString("Wrenfold ended with an error (exit status 1). The last "
                                           "line of its log, wrenfold.tst:\nError reading ROM"));
  }

  void startWithoutEmulatorIsReported() {
    TestLibrary library;
    std::filesystem::remove(library.ProgramFolder() / "wrenfold");
    const auto window = Start(library);
    MessageBoxAnswerer answerer;
    Control<QPushButton>(*window, "Command5")->click();
    QVERIFY(!window->EmulatorStarted());
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY(answerer.texts.at(0).startsWith("无法启动Wrenfold模拟器！"));
  }

  void fdsLoaderStartsTheChosenDisk() {
    TestLibrary library;
    db_test::WriteBytes(library.RomFolder() / "disk.fds", {'F', 'D', 'S'});
    db_test::WriteBytes(library.RomFolder() / "b.FDS", {'F', 'D', 'S'});
    const auto window = Start(library);
    window->show();
    bool checked = false;
    QTimer::singleShot(0, this, [&] {
      FdsLoaderDialog* loader = window->FdsLoader();
      QVERIFY(loader->isVisible());
      QVERIFY(window->isHidden());
      auto* files = loader->findChild<QListWidget*>("File1");
      auto* start = loader->findChild<QPushButton*>("Command1");
      QCOMPARE(files->count(), 2);
      QCOMPARE(files->item(0)->text(), QString("b.FDS"));
      QVERIFY(!start->isEnabled());
      QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
      QApplication::sendEvent(files, &focus);
      QVERIFY(start->isEnabled());
      files->setCurrentRow(1);
      start->click();
      QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(library.LaunchRecord()), 10000);
      QVERIFY(loader->isVisible());  // starting does not close the loader
      checked = true;
      loader->findChild<QPushButton*>("Command2")->click();
    });
    Control<QPushButton>(*window, "Cmd_FDS")->click();
    QVERIFY(checked);
    QVERIFY(!window->isHidden());
    QVERIFY(window->FdsLoader()->isHidden());
    QVERIFY(ReadFile(library.LaunchedConfig()).find("BOOT=disk.fds\r\n") != std::string::npos);
  }

  void fdsLoaderWithNothingSelectedStartsNothing() {
    TestLibrary library;
    const auto window = Start(library);
    MessageBoxAnswerer answerer;
    QTimer::singleShot(0, this, [&] {
      FdsLoaderDialog* loader = window->FdsLoader();
      auto* files = loader->findChild<QListWidget*>("File1");
      QCOMPARE(files->count(), 0);
      QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
      QApplication::sendEvent(files, &focus);
      loader->findChild<QPushButton*>("Command1")->click();
      loader->close();
    });
    window->OpenFdsLoader();
    QCOMPARE(answerer.texts, QStringList({"请先选择一个ROM文件！"}));
    QVERIFY(!window->EmulatorStarted());
  }

  void aliasMenuAndPersonalSettings() {
    TestLibrary library;
    const auto window = Start(library);
    std::unique_ptr<QMenu> menu(window->RomList()->BuildAliasMenu(0));
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->objectName(), QString("Menu2"));
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions().at(0)->objectName(), QString("M2S1"));
    QCOMPARE(menu->actions().at(0)->text(), QString("甲一"));
    QCOMPARE(menu->actions().at(1)->text(), QString("甲二"));
    QVERIFY(window->RomList()->BuildAliasMenu(1) == nullptr);  // beta has no aliases
    QVERIFY(window->RomList()->BuildAliasMenu(2) == nullptr);  // unknown
    window->RomList()->ChangeAlias(0, static_cast<int16_t>(menu->actions().at(1)->data().toInt()));
    QCOMPARE(Row(*window, "CNameList", 0), QString("甲二"));
    std::unique_ptr<QMenu> again(window->RomList()->BuildAliasMenu(0));
    QCOMPARE(again->actions().at(0)->text(), QString("Zeta"));

    Control<QToolButton>(*window, "Cmd_Exit")->click();
    QCOMPARE(ReadFile(library.WorkFolder() / "Wrenfold.PER"), std::string(" 2 \r\n 2 \r\n 0 \r\n"));

    const auto next = Start(library);
    QCOMPARE(Row(*next, "CNameList", 0), QString("甲二"));
    MessageBoxAnswerer answerer({QMessageBox::Yes});
    Control<QPushButton>(*next, "Command6")->click();
    QCOMPARE(answerer.texts, QStringList({"是否要清除所有个性化设置？"}));
    QCOMPARE(next->Data().aliasChoice.Get(1), int16_t{0});
  }

  void sortingKeepsTheShownEntrySelected() {
    TestLibrary library;
    const auto window = Start(library);
    Control<QPushButton>(*window, "Command3")
        ->click();  // Chinese names: Eta (beta), Zeta (alpha), unknown
    QCOMPARE(Row(*window, "FilenameList", 0), QString(kBetaRom));
    QCOMPARE(Row(*window, "FilenameList", 2), QString(kGammaRom));
    QCOMPARE(window->RomList()->SelectedFileName(), std::string(kAlphaRom));
    QTest::mouseClick(Control(*window, "Label3"), Qt::LeftButton);  // mapper: alpha 0, beta 4
    QCOMPARE(Row(*window, "FilenameList", 0), QString(kAlphaRom));
    Control<QPushButton>(*window, "Command2")->click();
    QCOMPARE(Row(*window, "FilenameList", 1), QString(kBetaRom));
  }

  void nameButtonFlipsTheNameLabel() {
    TestLibrary library;
    const auto window = Start(library);
    auto* flip = Control<QPushButton>(*window, "Cmd_ExtName");
    QCOMPARE(flip->text(), QString("英文名称"));
    flip->click();
    QCOMPARE(LabelText(*window, "Lab_EngName"), QString("Zeta"));
    QCOMPARE(flip->text(), QString("中文名称"));
  }

  void directoryBoxRebuildsTheList() {
    TestLibrary library;
    const auto window = Start(library);
    std::filesystem::create_directories(library.WorkFolder() / "many");
    for (int file = 0; file < 27; ++file)
      db_test::WriteBytes(
          library.WorkFolder() / "many" / ("rom" + std::to_string(100 + file) + ".NES"),
          db_test::MakeRomImage(1, 0, false, static_cast<uint32_t>(file)));
    auto* box = Control<QLineEdit>(*window, "Txt_ROMDir");
    box->setText(QString::fromStdString((library.WorkFolder() / "many").string()));
    emit box->editingFinished();
    QCOMPARE(window->RomList()->Model()->rowCount(), 27);
    auto* scroll = Control<QScrollBar>(*window, "ROMscroll");
    QVERIFY(!scroll->isHidden());
    QCOMPARE(scroll->maximum(), 26);
    scroll->setValue(20);
    QCOMPARE(window->RomList()->SelectedFileName(), std::string("rom120.NES"));

    MessageBoxAnswerer answerer;
    box->setText(QString::fromStdString((library.WorkFolder() / "ScrShots").string()));
    emit box->editingFinished();
    QCOMPARE(answerer.titles, QStringList({"未发现.NES文件"}));
    QCOMPARE(window->RomList()->Model()->rowCount(), 0);
    QCOMPARE(LabelText(*window, "Lab_ConsoleType"), QString("N/A"));
  }

  // Typing narrows the lists to the files whose names hold every word; what the filter hides
  // cannot be started, and clearing it shows every file again.
  void filterNarrowsTheList() {
    TestLibrary library;
    const auto window = Start(library);
    RomListPanel* list = window->RomList();
    auto* filter = Control<QLineEdit>(*window, "Txt_Filter");
    // Showing beta asks for its header repair: declined every time.
    MessageBoxAnswerer answerer(QList<QMessageBox::StandardButton>(20, QMessageBox::No));
    const std::vector<std::pair<QString, std::vector<int>>> cases = {
        {"", {0, 1, 2}}, {"ALPHA", {0}}, {"甲二", {0}},       {".nes beta", {1}},
        {"未知", {2}},   {"zelda", {}},  {"a.nes", {0, 1, 2}}};
    for (const auto& [text, rows] : cases) {
      filter->setText(text);
      QCOMPARE(list->VisibleRows(), rows);
      if (rows.empty()) {
        QCOMPARE(list->SelectedFileName(), std::string());
      } else {
        // The shown file is one the filter keeps.
        QVERIFY(std::ranges::find(rows, list->CurrentRow()) != rows.end());
        QVERIFY(!list->SelectedFileName().empty());
      }
      Control<QPushButton>(*window, "Command9")->click();
      QCOMPARE(filter->text(), QString());
    }
    QCOMPARE(list->VisibleRows(), std::vector<int>({0, 1, 2}));
    filter->setText("zelda");
    Control<QPushButton>(*window, "Cmd_Start")->click();
    QCOMPARE(answerer.texts.last(), QString("请先选择一个ROM文件！"));
    QVERIFY(!window->EmulatorStarted());
  }

  void folderChooserReadsTheChosenFolder() {
    TestLibrary library;
    const auto window = Start(library);
    std::filesystem::create_directories(library.WorkFolder() / "more");
    db_test::WriteBytes(library.WorkFolder() / "more" / "one.nes",
                        db_test::MakeRomImage(1, 0, false, 7));
    const QString chosen = QString::fromStdString((library.WorkFolder() / "more").string());
    bool answered = false;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || answered) return;
      answered = true;
      dialog->setDirectory(chosen);
      QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    answer.start(10);
    Control<QPushButton>(*window, "Cmd_ROMDirBrowse")->click();
    answer.stop();
    QVERIFY(answered);
    QCOMPARE(window->RomList()->RomDirectory(), chosen);
    QCOMPARE(Row(*window, "FilenameList", 0), QString("one.nes"));
  }

  // Both faces, with every group unfolded, fit a 1280 x 800 screen in both languages, and the
  // window never grows past the screen it is on.
  void bothFacesFitALowScreenInBothLanguages() {
    TestLibrary library;
    const auto window = Start(library);
    window->ShowControlPanelFace();
    Control<QToolButton>(*window, "Cmd_Max")->click();
    Control<QToolButton>(*window, "Cmd_SMax")->click();
    for (int language : {kLanguageChinese, kLanguageEnglish}) {
      window->SetLan(language);
      const QSize needed = window->NeededSize();
      QVERIFY2(needed.width() <= 1280 && needed.height() <= 800,
               qPrintable(QString("language %1 needs %2 x %3")
                              .arg(language)
                              .arg(needed.width())
                              .arg(needed.height())));
      window->FitToScreen();
      const QRect available = window->screen()->availableGeometry();
      QVERIFY(available.contains(window->frameGeometry()));
    }
  }

  void damagedFilesAreReportedAndStartUpCarriesOn() {
    TestLibrary library;
    std::filesystem::remove(library.WorkFolder() / "CARTINFO.ENC");
    std::filesystem::remove(library.WorkFolder() / "Wrenfold.CFG");
    std::string recognition = ReadFile(library.WorkFolder() / "NESROMS.ENC");
    recognition.resize(recognition.size() - 5);  // the second record is cut short
    db_test::WriteBytes(library.WorkFolder() / "NESROMS.ENC",
                        {recognition.begin(), recognition.end()});
    db_test::WriteBytes(library.WorkFolder() / "Wrenfold.PER", {'x', 'y'});
    // Without a configuration file the ROM folder is $HOME/Wrenfold, which does not exist here.
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(library.WorkFolder().string()));
    MessageBoxAnswerer answerer;
    auto window = std::make_unique<MainWindow>(library.Services({}));
    window->RunStartup(nullptr);
    qputenv("HOME", home);
    QCOMPARE(answerer.texts.size(), 6);
    QVERIFY(answerer.texts.at(0).startsWith("未找到显示设备"));
    QVERIFY(answerer.texts.at(1).startsWith("个性化设置文件Wrenfold.PER已损坏"));
    QVERIFY(answerer.texts.at(2).startsWith("识别数据库（NESROMS.ENC）："));
    QVERIFY(answerer.texts.at(3).startsWith("大百科数据库（CARTINFO.ENC）："));
    QVERIFY(answerer.texts.at(4).startsWith("找不到配置文件Wrenfold.CFG"));
    QVERIFY(answerer.texts.at(5).startsWith("无法读取ROM目录："));
    QCOMPARE(window->RomList()->RomDirectoryText(),
             QString::fromStdString((library.WorkFolder() / "Wrenfold").string()));
    // With no configuration the default ROM folder is used; the first record still identifies.
    QCOMPARE(window->Data().recognition.records.size(), size_t{1});
    window->RomList()->SetRomDirectory(QString::fromStdString(library.RomFolder().string()));
    window->RomList()->Updatelist();
    QCOMPARE(Row(*window, "ENameList", 0), QString("Alpha"));
    QCOMPARE(Row(*window, "ENameList", 1), QString("Unknown"));
    QCOMPARE(LabelText(*window, "Lab_Producer"), QString("N/A"));
  }

  void firstRunAsksForTheLanguage() {
    TestLibrary library;
    library.WriteConfig("BOOTLAN=N\r\nROMDIR=" + library.RomFolder().string() + "\r\n;\r\n");
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() != "FirstLan" || !widget->isVisible()) continue;
        auto* confirm = widget->findChild<QPushButton*>("Command1");
        QVERIFY(!confirm->isEnabled());
        widget->findChild<QRadioButton*>("Option1(1)")->click();
        QCOMPARE(confirm->text(), QString("OK"));
        widget->findChild<QRadioButton*>("Option1(0)")->click();
        QCOMPARE(confirm->text(), QString("确定"));
        widget->findChild<QRadioButton*>("Option1(1)")->click();
        answered = true;
        confirm->click();
      }
    });
    const auto window = Start(library);
    QVERIFY(answered);
    QCOMPARE(window->FirstRunLanguage(), int{kLanguageEnglish});
    QCOMPARE(Control<QPushButton>(*window, "Cmd_UpdateCfg")->text(), QString("Update Config"));
    Control<QToolButton>(*window, "Cmd_Exit")->click();
    QVERIFY(ReadFile(library.WorkFolder() / "Wrenfold.CFG").find("BOOTLAN=English\r\n") !=
            std::string::npos);
  }

  void hintLineFollowsThePointerUntilClicked() {
    TestLibrary library;
    const auto window = Start(library);
    auto* hint = window->Hints();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(Control(*window, "Command5"), &enter);
    QCOMPARE(hint->text(), QString("立即启动Wrenfold执行您所选的游戏。"));
    QApplication::sendEvent(Control(*window, "Label38"), &enter);
    QCOMPARE(hint->text(), QString("如果某个游戏出现画面断裂等问题，不妨修改一下IRQ定时。此数值将加"
                                   "到基础值(114)之上，影响模拟器。"));
    window->show();
    QTest::mouseClick(hint, Qt::LeftButton);
    QVERIFY(hint->isHidden());
    QApplication::sendEvent(Control(*window, "Command2"), &enter);
    QCOMPARE(hint->text(), QString("单击按照ROM文件名排序"));
    QVERIFY(hint->isHidden());
  }

  void frameDragMovesTheWindow() {
    TestLibrary library;
    const auto window = Start(library);
    window->move(100, 100);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto* frame = Control(*window, "Frame1");
    const QPoint start = window->pos();
    const QPoint local(5, 5);
    const QPoint global = frame->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(frame, &press);
    QMouseEvent move(QEvent::MouseMove, local + QPoint(30, 20), global + QPoint(30, 20),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global + QPoint(30, 20), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &release);
    QCOMPARE(window->pos(), start + QPoint(30, 20));
  }
};

int RunMainWindowTests(int argc, char** argv) {
  MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace wrenfold::ui_test

#include "main_window_test.moc"
