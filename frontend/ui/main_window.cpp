#include "frontend/ui/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "files/file_lookup.h"
#include "frontend/model/frontend_notices.h"
#include "frontend/model/launch_config.h"
#include "frontend/ui/captions.h"
#include "frontend/ui/control_panel.h"
#include "frontend/ui/encyclopedia_panel.h"
#include "frontend/ui/face_scroll_area.h"
#include "frontend/ui/fds_loader_dialog.h"
#include "frontend/ui/first_run_language_dialog.h"
#include "frontend/ui/header_panel.h"
#include "frontend/ui/hint_line.h"
#include "frontend/ui/message_boxes.h"
#include "frontend/ui/rom_list_model.h"
#include "frontend/ui/rom_list_panel.h"
#include "frontend/ui/splash_screen.h"
#include "frontend/ui/window_placement.h"

namespace wrenfold {
namespace {

std::filesystem::path LocalPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

std::filesystem::path DatabasePath(const std::filesystem::path& folder, std::string_view name) {
  return LocateFileIgnoringCase(folder, std::string(name)).value_or(folder / std::string(name));
}

QPixmap HostPicture() {
  QPixmap picture(88, 31);
  picture.fill(QColor(0, 0, 96));
  QPainter painter(&picture);
  painter.setPen(Qt::white);
  painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Wrenfold"));
  return picture;
}

}  // namespace

MainWindow::MainWindow(FrontendServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_services(std::move(services)),
      m_launcher(m_services.programFolder),
      m_sumtab(m_services.programFolder),
      m_fdsLoader(std::make_unique<FdsLoaderDialog>()) {
  setObjectName("Form1");
  if (m_services.workingFolder.isEmpty()) m_services.workingFolder = QStringLiteral(".");
  m_data.workingFolder = LocalPath(m_services.workingFolder);
  BuildLayout();
  ApplyCaptions(this, FormName::Form1, kLanguageChinese);
  ShowEncyclopediaFace();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildLayout() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  m_frame = new QGroupBox(this);
  m_frame->setObjectName("Frame1");
  m_frame->setMouseTracking(true);
  m_frame->installEventFilter(this);
  outer->addWidget(m_frame);
  auto* layout = new QVBoxLayout(m_frame);

  // The buttons of the faces share the top row with the exit button.
  auto* topRow = new QHBoxLayout;
  m_toControlPanel = new QPushButton(m_frame);
  m_toControlPanel->setObjectName("CmdSwap");
  m_toEncyclopedia = new QPushButton(m_frame);
  m_toEncyclopedia->setObjectName("CmdSwap2");
  m_startGame = new QPushButton(m_frame);
  m_startGame->setObjectName("Cmd_Start");
  auto* clearPersonal = new QPushButton(m_frame);
  clearPersonal->setObjectName("Command6");
  auto* exitButton = new QToolButton(m_frame);
  exitButton->setObjectName("Cmd_Exit");
  exitButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
  exitButton->setAutoRaise(true);
  topRow->addWidget(m_toControlPanel);
  topRow->addWidget(m_toEncyclopedia);
  topRow->addWidget(m_startGame);
  topRow->addStretch(1);
  topRow->addWidget(clearPersonal);
  topRow->addWidget(exitButton);
  layout->addLayout(topRow);

  auto* content = new QHBoxLayout;
  m_romList = new RomListPanel(m_data, m_frame);
  content->addWidget(m_romList, 2);
  // Both faces sit in one scrolling area: on a screen lower than a face the face scrolls
  // instead of pushing the window past the screen.
  auto* faceArea = new FaceScrollArea(m_frame);
  auto* faces = new QWidget(faceArea);
  auto* right = new QVBoxLayout(faces);
  right->setContentsMargins(0, 0, 0, 0);
  m_header = new HeaderPanel(m_data, faces);
  m_encyclopedia = new EncyclopediaPanel(m_data, faces);
  m_controlPanel = new ControlPanel(m_services.joystick.get(), faces);
  right->addWidget(m_header);
  right->addWidget(m_encyclopedia);
  right->addWidget(m_controlPanel);
  right->addStretch(1);
  faceArea->setWidget(faces);
  content->addWidget(faceArea, 3);
  layout->addLayout(content, 1);

  auto* bottomRow = new QHBoxLayout;
  m_hintLine = new HintLine(m_frame);
  bottomRow->addWidget(m_hintLine, 1);
  auto* hostCaption = new QLabel(m_frame);
  hostCaption->setObjectName("Label37");
  auto* hostPicture = new QLabel(m_frame);
  hostPicture->setObjectName("Image1");
  hostPicture->setPixmap(HostPicture());
  hostPicture->setCursor(Qt::PointingHandCursor);
  hostPicture->installEventFilter(this);
  bottomRow->addWidget(hostCaption);
  bottomRow->addWidget(hostPicture);
  layout->addLayout(bottomRow);

  m_hints = new HoverHints(this);
  m_hints->Attach(clearPersonal, MessageId::HintClearPersonal);
  m_hints->Attach(m_hintLine, MessageId::HintMessageLine);
  m_hints->Attach(m_startGame, MessageId::HintStartEmulator);
  for (HoverHints* source :
       {m_hints, m_romList->Hints(), m_encyclopedia->Hints(), m_controlPanel->Hints()})
    connect(source, &HoverHints::hintRequested, m_hintLine, &HintLine::ShowHint);

  connect(exitButton, &QToolButton::clicked, this, &MainWindow::ExitProgram);
  connect(m_toControlPanel, &QPushButton::clicked, this, &MainWindow::ShowControlPanelFace);
  connect(m_toEncyclopedia, &QPushButton::clicked, this, &MainWindow::ShowEncyclopediaFace);
  connect(clearPersonal, &QPushButton::clicked, this, &MainWindow::ClearPersonalSettings);
  connect(m_startGame, &QPushButton::clicked, this, &MainWindow::StartSelectedGame);
  connect(m_romList, &RomListPanel::romShown, this, &MainWindow::ShowRom);
  connect(m_romList, &RomListPanel::listRebuilt, m_header, &HeaderPanel::ForgetShownFile);
  connect(m_romList, &RomListPanel::fdsLoaderRequested, this, &MainWindow::OpenFdsLoader);
  connect(m_romList, &RomListPanel::startRequested, this, &MainWindow::StartSelectedGame);
  connect(m_header, &HeaderPanel::mapperLabelClicked, this,
          [this] { m_romList->Sort(RomListSortKey::kMapper); });
  connect(m_controlPanel, &ControlPanel::updateConfigRequested, this, &MainWindow::WriteConfigFile);
  connect(m_controlPanel, &ControlPanel::startRequested, this, &MainWindow::StartSelectedGame);
  connect(m_controlPanel, &ControlPanel::joystickFailed, this,
          [this](MessageId title, MessageId text) {
            ShowMessage(DialogParent(), Message(title, m_data.language),
                        Message(text, m_data.language), QMessageBox::Warning);
          });
  connect(m_fdsLoader.get(), &FdsLoaderDialog::startRequested, this,
          [this](const QString& fileName) {
            PatchAndLaunch(QFile::encodeName(fileName).toStdString());
          });
  connect(&m_launcher, &Launcher::failed, this, &MainWindow::ReportEmulatorFailure);
  m_romList->SetChecksumProvider([this] { return m_sumtab.CalcCrc(); });
}

std::filesystem::path MainWindow::WorkingFolder() const {
  return m_data.workingFolder;
}

QWidget* MainWindow::DialogParent() {
  return isVisible() ? this : nullptr;
}

void MainWindow::Report(const Notice& notice) {
  ShowNotice(DialogParent(), notice, m_data.language);
}

void MainWindow::Progress(SplashScreen* splash, MessageId step) {
  if (splash != nullptr) splash->SetProgress(Message(step, m_data.language));
}

void MainWindow::RunStartup(SplashScreen* splash) {
  const std::vector<DisplayDevice> displays =
      m_services.enumerateDisplays ? m_services.enumerateDisplays() : std::vector<DisplayDevice>{};
  m_controlPanel->SetDisplayDevices(displays);

  if (splash != nullptr) {
    splash->adjustSize();
    CenterForm(splash);
    splash->show();
    QCoreApplication::processEvents();
  }
  if (displays.empty()) Report(NoDisplayDevicesNotice());

  Progress(splash, MessageId::ProgressLoadingPersonal);
  const PersonalSettingsRead personal = LoadPersonalSettings(WorkingFolder());
  m_data.aliasChoice.AssignFromFile(personal.choices);
  if (const auto notice = NoticeForPersonalSettings(personal.status)) Report(*notice);

  adjustSize();
  CenterForm(this);

  LoadDatabases(splash);

  const StartupConfig config =
      LoadStartupConfig(ConfigFileToRead(WorkingFolder()), DefaultRomDirectory());
  m_data.language = config.settings.language;
  if (const auto notice = NoticeForConfig(config.status)) Report(*notice);
  m_romList->SetRomDirectory(QFile::decodeName(config.romDirectory.c_str()));
  if (config.firstRunLanguageRequested) {
    FirstRunLanguageDialog firstRun;
    m_firstRunLanguage = firstRun.Choose(splash);
    if (m_firstRunLanguage != 0) m_data.language = static_cast<int16_t>(m_firstRunLanguage);
  }

  SetLan(m_data.language);
  m_controlPanel->LoadSettings(config.settings);

  Progress(splash, MessageId::ProgressBuildingList);
  m_romList->Updatelist();
  FitToScreen();
}

QSize MainWindow::NeededSize() {
  // The larger of the two faces, so switching faces needs no other window size.
  const bool controlPanelShown = ControlPanelFaceShown();
  ShowControlPanelFace();
  QSize needed = sizeHint();
  ShowEncyclopediaFace();
  needed = needed.expandedTo(sizeHint());
  if (controlPanelShown) ShowControlPanelFace();
  return needed;
}

void MainWindow::FitToScreen() {
  const QScreen* shownOn = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (shownOn == nullptr) return;
  const QRect available = shownOn->availableGeometry();
  setMaximumSize(available.size());
  resize(NeededSize().boundedTo(available.size()));
  // Keep the whole window on the screen, wherever the placement rule put it.
  QRect placed = frameGeometry();
  placed.moveLeft(std::clamp(placed.left(), available.left(),
                             std::max(available.left(), available.right() - placed.width() + 1)));
  placed.moveTop(std::clamp(placed.top(), available.top(),
                            std::max(available.top(), available.bottom() - placed.height() + 1)));
  move(placed.topLeft());
}

void MainWindow::LoadDatabases(SplashScreen* splash) {
  Progress(splash, MessageId::ProgressLoadingRecognition);
  m_data.recognition = RecognitionDb{};
  const RecognitionDbLoadResult recognition =
      LoadRecognitionDb(DatabasePath(WorkingFolder(), kRecognitionDbFileName), m_data.recognition);
  if (const auto notice = NoticeForRecognitionLoad(recognition)) Report(*notice);
  m_data.aliasChoice.ResizeForRecords(static_cast<int>(m_data.recognition.records.size()));
  const bool versionRead =
      recognition.error == DataFileError::kNone || !m_data.recognition.records.empty();
  m_romList->SetDatabaseVersion(versionRead
                                    ? FromUtf8(DatabaseVersionText(m_data.recognition.versionByteA,
                                                                   m_data.recognition.versionByteB))
                                    : QString());

  Progress(splash, MessageId::ProgressLoadingEncyclopedia);
  m_data.encyclopedia = EncyclopediaDb{};
  const EncyclopediaLoadResult encyclopedia = LoadEncyclopediaDb(
      DatabasePath(WorkingFolder(), kEncyclopediaDbFileName), m_data.encyclopedia);
  for (const Notice& notice : NoticesForEncyclopediaLoad(encyclopedia)) Report(notice);
  LinkEncyclopediaEntries(m_data.encyclopedia, m_data.recognition.records);

  // The game type and version names are constant tables.
  Progress(splash, MessageId::ProgressInitialising);
}

void MainWindow::SetLan(int language) {
  m_data.language = static_cast<int16_t>(language);
  ApplyCaptions(this, FormName::Form1, language);
  m_controlPanel->SetLanguage(language);
  m_romList->ApplyLanguageLayout(language);
  m_hints->SetLanguage(language);
  m_encyclopedia->Hints()->SetLanguage(language);
  // What the panels show in words follows the language too.
  m_header->Relabel();
  m_encyclopedia->UpdateAG(m_encyclopedia->EntryNumber());
}

void MainWindow::ShowControlPanelFace() {
  m_header->hide();
  m_encyclopedia->GameFrame()->hide();
  m_encyclopedia->MusicFrame()->hide();
  m_toControlPanel->hide();
  m_startGame->hide();  // the panel has its own start button
  m_controlPanel->show();
  m_toEncyclopedia->show();
}

void MainWindow::ShowEncyclopediaFace() {
  m_controlPanel->hide();
  m_toEncyclopedia->hide();
  m_header->show();
  m_encyclopedia->GameFrame()->show();
  m_encyclopedia->MusicFrame()->show();
  m_toControlPanel->show();
  m_startGame->show();
}

bool MainWindow::ControlPanelFaceShown() const {
  return !m_controlPanel->isHidden();
}

ControlPanelSettings MainWindow::CurrentSettings() const {
  ControlPanelSettings settings = m_controlPanel->CurrentSettings();
  settings.language = m_data.language;
  settings.selectedRomFile = m_romList->SelectedFileName();
  settings.romDirectoryText = m_romList->RomDirectoryText().toStdString();
  return settings;
}

bool MainWindow::WriteConfigFile() {
  std::string detail;
  const ConfigStatus status =
      WriteConfig(WorkingFolder() / std::string(kConfigFileName), CurrentSettings(), &detail);
  if (const auto notice = NoticeForConfig(status)) {
    Report(*notice);
    return false;
  }
  return true;
}

bool MainWindow::PatchAndLaunch(const std::string& bootFile) {
  const LaunchRequest request{bootFile, m_romList->RomDirectoryText().toStdString(),
                              m_controlPanel->IrqAdjustCaption().toStdString(),
                              m_controlPanel->SelectedDisplayDeviceId().toStdString(),
                              m_controlPanel->CurrentSettings().cpuCore};
  std::string detail;
  const ConfigStatus status =
      PrepareConfigForStart(WorkingFolder(), CurrentSettings(), request, &detail);
  if (const auto notice = NoticeForConfig(status)) {
    Report(*notice);
    return false;
  }
  if (!m_launcher.Start(m_services.workingFolder)) {
    Report(EmulatorStartFailedNotice(m_launcher.ProgramPath().toStdString()));
    return false;
  }
  m_emulatorStarted = true;
  return true;
}

void MainWindow::StartSelectedGame() {
  PatchAndLaunch(m_romList->SelectedFileName());
}

void MainWindow::ReportEmulatorFailure(int status, const QString& workingFolder) {
  const QString lastLine = LastLogLine(workingFolder);
  ShowMessage(
      DialogParent(), Message(MessageId::EmulatorFailedTitle, m_data.language),
      Message(MessageId::EmulatorFailedText, m_data.language).arg(status) + "\n" +
          (lastLine.isEmpty() ? Message(MessageId::EmulatorLogEmpty, m_data.language) : lastLine),
      QMessageBox::Warning);
}

void MainWindow::ShowRom(int row) {
  const RomListEntry* entry = m_romList->Model()->Entry(row);
  if (entry == nullptr) {
    m_header->Clear();
    m_encyclopedia->UpdateAG(0);
    return;
  }
  const RecognitionRecord* record = m_romList->Model()->MatchedRecord(row);
  m_header->ShowHeaderPanel(LocalPath(m_romList->RomDirectory()) / entry->fileName,
                            record != nullptr ? &record->header : nullptr);
  // A repair's message boxes may have let the list change meanwhile.
  record = m_romList->Model()->MatchedRecord(row);
  m_encyclopedia->UpdateAG(record != nullptr ? record->encyclopediaIndex : 0);
}

void MainWindow::OpenFdsLoader() {
  ApplyCaptions(m_fdsLoader.get(), FormName::FdsLoader, m_data.language);
  m_fdsLoader->Load(m_romList->RomDirectory());
  m_fdsLoader->RunUntilBack(this);
}

void MainWindow::ClearPersonalSettings() {
  if (!AskYesNo(DialogParent(), Message(MessageId::ClearPersonalTitle, m_data.language),
                Message(MessageId::ClearPersonalQuestion, m_data.language)))
    return;
  m_data.aliasChoice.ClearAll();
}

void MainWindow::ExitProgram() {
  std::string detail;
  const PersonalSettingsStatus saved =
      SavePersonalSettings(WorkingFolder(), m_data.aliasChoice, &detail);
  if (const auto notice = NoticeForPersonalSettings(saved)) Report(*notice);
  if (m_firstRunLanguage != 0) WriteConfigFile();
  m_exitByButton = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closed other than by the exit button after a start: the emulator is started once more.
  if (!m_exitByButton && m_emulatorStarted) m_launcher.Start(m_services.workingFolder);
  event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_frame) {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_dragging = true;
        m_dragPointerStart = mouse->globalPosition().toPoint();
        m_dragWindowStart = pos();
        return true;
      }
      case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_hintLine->ShowHint(QString());
        if (m_dragging)
          move(m_dragWindowStart + mouse->globalPosition().toPoint() - m_dragPointerStart);
        return true;
      }
      case QEvent::MouseButtonRelease:
        m_dragging = false;
        return true;
      default:
        break;
    }
  } else if (watched->objectName() == QLatin1String("Image1") &&
             event->type() == QEvent::MouseButtonPress) {
    // The databases and screenshots are hosted in the working folder: show it in the file
    // manager, so the user sees where NESROMS.ENC, CARTINFO.ENC and ScrShots/ come from.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::currentPath()));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace wrenfold
