// `Form1`, the main window: the ROM list beside either the encyclopedia face (header, game and
// music frames) or the control-panel face, the hint line, the exit button, and the start-up
// sequence that fills them.
#pragma once

#include <QPoint>
#include <QWidget>
#include <memory>
#include <string>

#include "frontend/model/emulator_config.h"
#include "frontend/model/ui_text.h"
#include "frontend/ui/cartdesk_data.h"
#include "frontend/ui/frontend_services.h"
#include "frontend/ui/launcher.h"
#include "frontend/ui/sumtab_library.h"

class QGroupBox;
class QPushButton;

namespace wrenfold {

class ControlPanel;
class EncyclopediaPanel;
class FdsLoaderDialog;
class HeaderPanel;
class HoverHints;
class HintLine;
class RomListPanel;
class SplashScreen;
struct Notice;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(FrontendServices services, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The load handler: displays, Wrenfold.PER, both databases, Wrenfold.CFG, the first-run
  // language choice, the captions and the ROM list, with progress on `splash` (may be null).
  void RunStartup(SplashScreen* splash);

  // `SetLan`: every caption in `language`, the player lists and the name columns.
  void SetLan(int language);

  void ShowControlPanelFace();
  void ShowEncyclopediaFace();
  bool ControlPanelFaceShown() const;

  // "Update Config": writes every setting to Wrenfold.CFG.
  bool WriteConfigFile();
  // Stores the panel's settings in Wrenfold.CFG, patches it for `bootFile` and starts the
  // emulator (the start buttons, the lists and the FDS loader).
  bool PatchAndLaunch(const std::string& bootFile);
  // "Start Wrenfold!", "Start Game", a double-click or Enter in the list: the selected game.
  void StartSelectedGame();

  // The window size that shows either face whole; the window takes it where the screen has
  // room, and never grows past the screen (the faces scroll instead).
  QSize NeededSize();
  void FitToScreen();

  void OpenFdsLoader();
  // "Clear Personal Setting", after asking.
  void ClearPersonalSettings();
  // The exit button: stores Wrenfold.PER (and the first-run language) and closes.
  void ExitProgram();

  ControlPanelSettings CurrentSettings() const;

  CartdeskData& Data() { return m_data; }
  ControlPanel* Panel() const { return m_controlPanel; }
  RomListPanel* RomList() const { return m_romList; }
  HeaderPanel* Header() const { return m_header; }
  EncyclopediaPanel* Encyclopedia() const { return m_encyclopedia; }
  HintLine* Hints() const { return m_hintLine; }
  FdsLoaderDialog* FdsLoader() const { return m_fdsLoader.get(); }
  int FirstRunLanguage() const { return m_firstRunLanguage; }
  bool EmulatorStarted() const { return m_emulatorStarted; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLayout();
  void ShowRom(int row);
  void LoadDatabases(SplashScreen* splash);
  void Progress(SplashScreen* splash, MessageId step);
  void Report(const Notice& notice);
  // The emulator started from here ended with a failure: its status and the last log line.
  void ReportEmulatorFailure(int status, const QString& workingFolder);
  QWidget* DialogParent();
  std::filesystem::path WorkingFolder() const;

  FrontendServices m_services;
  CartdeskData m_data;
  Launcher m_launcher;
  SumtabLibrary m_sumtab;
  int m_firstRunLanguage = 0;
  bool m_emulatorStarted = false;
  bool m_exitByButton = false;
  bool m_dragging = false;
  QPoint m_dragPointerStart;
  QPoint m_dragWindowStart;

  QGroupBox* m_frame = nullptr;
  RomListPanel* m_romList = nullptr;
  HeaderPanel* m_header = nullptr;
  EncyclopediaPanel* m_encyclopedia = nullptr;
  ControlPanel* m_controlPanel = nullptr;
  QPushButton* m_toControlPanel = nullptr;
  QPushButton* m_toEncyclopedia = nullptr;
  QPushButton* m_startGame = nullptr;  // `Cmd_Start` on the encyclopedia face
  HintLine* m_hintLine = nullptr;
  HoverHints* m_hints = nullptr;
  std::unique_ptr<FdsLoaderDialog> m_fdsLoader;
};

}  // namespace wrenfold
