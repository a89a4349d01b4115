#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "frontend/ui/first_run_language_dialog.h"
#include "frontend/ui/launcher.h"
#include "frontend/ui/rom_list_model.h"
#include "frontend/ui/splash_screen.h"
#include "frontend/ui/sumtab_library.h"
#include "frontend/ui/window_placement.h"
#include "tests/frontend/model/db_test_support.h"
#include "tests/frontend/ui/ui_test_support.h"
#include "tests/frontend/ui/ui_tests.h"

namespace wrenfold::ui_test {

class SmallFormTest : public QObject {
  Q_OBJECT

 private slots:
  void formsSitAboveTheMiddleOfTheScreen() {
    QCOMPARE(CenteredFormPosition(QSize(1024, 768), QSize(400, 300)), QPoint(312, 176));
    QCOMPARE(CenteredFormPosition(QSize(641, 481), QSize(641, 481)), QPoint(0, -36));
  }

  void splashShowsItsProgress() {
    SplashScreen splash;
    QCOMPARE(splash.objectName(), QString("Title"));
    QCOMPARE(splash.findChild<QLabel*>("Label1")->text(), QString("Wrenfold:ROM大百科 V2.2"));
    splash.SetProgress("加载识别数据库……");
    QCOMPARE(splash.findChild<QLabel*>("TitleLabel")->text(), QString("加载识别数据库……"));
  }

  void firstRunFormClosedChoosesNothing() {
    FirstRunLanguageDialog dialog;
    QTimer::singleShot(0, &dialog, [&] { dialog.close(); });
    QCOMPARE(dialog.Choose(nullptr), 0);
    QVERIFY(dialog.isHidden());
  }

  void firstRunFormReturnsChinese() {
    FirstRunLanguageDialog dialog;
    QLabel splash;
    splash.show();
    QTimer::singleShot(0, &dialog, [&] {
      QVERIFY(splash.isHidden());
      dialog.findChild<QRadioButton*>("Option1(0)")->click();
      dialog.findChild<QPushButton*>("Command1")->click();
    });
    QCOMPARE(dialog.Choose(&splash), int{kLanguageChinese});
    QVERIFY(!splash.isHidden());
  }

  void launcherReportsAMissingProgram() {
    testing::ScratchFolder folder;
    Launcher launcher(QString::fromStdString(folder.Path().string()));
    QCOMPARE(launcher.ProgramPath(), QString::fromStdString((folder.Path() / "wrenfold").string()));
    QVERIFY(!launcher.Start(QString::fromStdString(folder.Path().string())));
  }

  // A started program that ends with a failure is reported with its status, one that ends
  // well is not; either way it is waited for, leaving nothing behind.
  void launcherReportsAFailedEnd() {
    testing::ScratchFolder folder;
    const QString path = QString::fromStdString(folder.Path().string());
    Launcher launcher(path);
    QSignalSpy failures(&launcher, &Launcher::failed);
    for (const char* status : {"0", "3"}) {
      const std::string script = std::string(
                                     "#!/bin/sh\nprintf 'Open:x\\nError reading ROM\\n\\n' "
                                     "> wrenfold.tst\nexit ") +
                                 status + "\n";
      db_test::WriteBytes(folder / "wrenfold", std::vector<uint8_t>(script.begin(), script.end()));
      std::filesystem::permissions(folder / "wrenfold", std::filesystem::perms::owner_all);
      QVERIFY(launcher.Start(path));
      QTRY_COMPARE_WITH_TIMEOUT(launcher.RunningCount(), 0, 10000);
    }
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures.at(0).at(0).toInt(), 3);
    QCOMPARE(failures.at(0).at(1).toString(), path);
    QCOMPARE(LastLogLine(path), QString("Error reading ROM"));
    QCOMPARE(LastLogLine(path + "/nowhere"), QString());
  }

  void checksumLibraryComesFromTheGivenFolder() {
    testing::ScratchFolder empty;
    SumtabLibrary missing(QString::fromStdString(empty.Path().string()));
    QVERIFY(missing.CalcCrc() == nullptr);
    QVERIFY(!missing.LoadError().isEmpty());
    QVERIFY(QFileInfo(missing.LibraryPath()).isAbsolute());

    SumtabLibrary library(QString::fromUtf8(WRENFOLD_BIN_DIR));
    CalcCrcFunction calcCrc = library.CalcCrc();
    QVERIFY(calcCrc != nullptr);
    testing::ScratchFolder roms;
    db_test::WriteBytes(roms / "a.nes", db_test::MakeRomImage(1, 1, false, 5));
    const std::string path = PathForCalcCrc((roms / "a.nes").string());
    QCOMPARE(calcCrc(path.c_str()), InProcessCalcCrc(path.c_str()));
  }

  void romListModelShowsTheThreeColumns() {
    CartdeskData data;
    data.recognition.records = {
        db_test::MakeRecord("Zeta", "Alpha", db_test::SignatureFilledWith(1))};
    data.aliasChoice.ResizeForRecords(1);
    RomListModel model(data);
    RomList list;
    list.noRomFiles = false;
    list.entries = {RomListEntry{0, "a.nes", false, false}, RomListEntry{-1, "b.nes", true, false},
                    RomListEntry{-1, "c.nes", false, true}};
    model.SetList(list);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.index(0, RomListModel::kChineseNameColumn).data().toString(), QString("Zeta"));
    QCOMPARE(model.index(1, RomListModel::kChineseNameColumn).data().toString(),
             QString("ROM冲突"));
    QCOMPARE(model.index(1, RomListModel::kEnglishNameColumn).data().toString(), QString(" "));
    QCOMPARE(model.index(2, RomListModel::kFileNameColumn).data().toString(), QString("c.nes"));
    QVERIFY(model.MatchedRecord(1) == nullptr);
    QVERIFY(model.Entry(3) == nullptr);
    model.Sort(RomListSortKey::kEnglishName);
    QCOMPARE(model.index(0, RomListModel::kFileNameColumn).data().toString(), QString("a.nes"));
  }
};

int RunSmallFormTests(int argc, char** argv) {
  SmallFormTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace wrenfold::ui_test

#include "small_forms_test.moc"
