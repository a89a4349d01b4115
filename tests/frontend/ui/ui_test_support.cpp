#include "tests/frontend/ui/ui_test_support.h"

#include <QAbstractButton>
#include <QPushButton>
#include <fstream>

#include "frontend/model/rom_signature.h"
#include "tests/frontend/model/db_test_support.h"

namespace wrenfold::ui_test {

MessageBoxAnswerer::MessageBoxAnswerer(QList<QMessageBox::StandardButton> answers)
    : m_answers(std::move(answers)) {
  connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::Answer);
  m_timer.start(10);
}

void MessageBoxAnswerer::Answer() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr) return;
  titles << box->windowTitle();
  texts << box->text();
  QMessageBox::StandardButton answer = QMessageBox::NoButton;
  if (!m_answers.isEmpty()) answer = m_answers.takeFirst();
  QAbstractButton* button = answer != QMessageBox::NoButton ? box->button(answer) : nullptr;
  if (button == nullptr) button = box->defaultButton();
  if (button == nullptr) button = box->button(QMessageBox::Ok);
  if (button == nullptr) button = box->buttons().value(0);
  button->click();
}

JoystickPoll ScriptedJoystick::Poll() {
  const size_t index = std::min(static_cast<size_t>(polls), m_polls.size() - 1);
  ++polls;
  return m_polls[index];
}

namespace {

// A one-pixel GIF.
constexpr uint8_t kTinyGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80,
                                0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04,
                                0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01,
                                0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};

constexpr const char* kStandInEmulator =
    "#!/bin/sh\n"
    "# Stands in for the emulator: notes how many arguments it got and what configuration it saw.\n"
    "cp Wrenfold.CFG launched.cfg.tmp && mv launched.cfg.tmp launched.cfg\n"
    "echo $# > launched_args.tmp && mv launched_args.tmp launched_args.txt\n";

std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

}  // namespace

TestLibrary::TestLibrary() {
  std::filesystem::create_directories(RomFolder());
  WriteRom(kAlphaRom, db_test::MakeRomImage(2, 1, false, 1));
  WriteRom(kBetaRom, db_test::MakeRomImage(2, 1, false, 2));
  WriteRom(kGammaRom, db_test::MakeRomImage(1, 0, false, 3));

  const std::filesystem::path library = std::filesystem::path(WRENFOLD_BIN_DIR) / "libsumtab20.so";
  std::filesystem::copy_file(library, ProgramFolder() / "libsumtab20.so");
  const std::filesystem::path emulator = ProgramFolder() / "wrenfold";
  db_test::WriteBytes(emulator, Bytes(kStandInEmulator));
  std::filesystem::permissions(emulator, std::filesystem::perms::owner_all);

  auto signatureOf = [this](const char* name) {
    return ComputeRomSignature(RomFolder() / name, InProcessCalcCrc).signature;
  };
  recognition.versionByteA = 0x02;
  recognition.versionByteB = 0x15;
  RecognitionRecord alpha = db_test::MakeRecord("Zeta", "Alpha", signatureOf(kAlphaRom));
  alpha.aliasUpperIndex = 2;
  alpha.aliases[0] = DbText::FromUtf8("甲一");
  alpha.aliases[1] = DbText::FromUtf8("甲二");
  alpha.aliases[2] = DbText::FromUtf8("甲三");
  RecognitionRecord beta = db_test::MakeRecord("Eta", "Beta", signatureOf(kBetaRom), 4);
  beta.number = 2;
  beta.header[6] |= 0x01;  // the file says horizontal
  recognition.records = {alpha, beta};

  EncyclopediaEntry entry;
  entry.links = {1};
  entry.consoleType = 1;
  entry.gameLanguage = 1;
  entry.marks = 0x01;
  entry.secrets = {DbText::FromUtf8("无敌：按A"), DbText::FromUtf8("选关：按B"),
                   DbText::FromUtf8("加命：按C")};
  entry.producer = DbText::FromUtf8("Nintendo");
  entry.gameTypeCode = 1;
  entry.introduction = DbText::FromUtf8("一个游戏");
  entry.romVersionCode = 1;
  entry.regionFlags = 0x0003;
  for (EncyclopediaTag tag :
       {kTagLink, kTagConsoleType, kTagGameLanguage, kTagMarks, kTagSecrets, kTagProducer,
        kTagGameType, kTagIntroduction, kTagRomVersion, kTagRegionFlags})
    entry.present[tag] = true;
  encyclopedia.entries = {entry};

  WriteDatabases();
  std::filesystem::create_directories(WorkFolder() / "ScrShots");
  db_test::WriteBytes(WorkFolder() / "ScrShots" / "AG0001A.GIF",
                      std::vector<uint8_t>(std::begin(kTinyGif), std::end(kTinyGif)));
  WriteConfig(
      "FPS=60\r\nBOOTLAN=Chinese\r\nBOOT=\r\nROMDIR=" + RomFolder().string() +
      "\r\nIRQADJ= "
      "0\r\nVIDEO=NTSC\r\nSOUND=Stereo\r\nRAPIDFIRE=3\r\nPLAYER1=Keyboard\r\nPLAYER2=Joystick\r\n"
      "KEYUP=200\r\nJOYA=1\r\n;\r\n");
}

void TestLibrary::WriteConfig(std::string_view text) const {
  work.Write("Wrenfold.CFG", text);
}

void TestLibrary::WriteRom(const char* name, const std::vector<uint8_t>& image) const {
  db_test::WriteBytes(RomFolder() / name, image);
}

void TestLibrary::WriteDatabases() const {
  std::vector<uint8_t> bytes;
  SerializeRecognitionDb(recognition, bytes);
  db_test::WriteBytes(WorkFolder() / "NESROMS.ENC", bytes);
  SerializeEncyclopediaDb(encyclopedia, bytes);
  db_test::WriteBytes(WorkFolder() / "CARTINFO.ENC", bytes);
}

FrontendServices TestLibrary::Services(std::vector<DisplayDevice> displays,
                                       std::shared_ptr<JoystickSource> joystick) const {
  FrontendServices services;
  services.workingFolder = QString::fromStdString(WorkFolder().string());
  services.programFolder = QString::fromStdString(ProgramFolder().string());
  services.enumerateDisplays = [displays] { return displays; };
  services.joystick = std::move(joystick);
  return services;
}

std::string ReadFile(const std::filesystem::path& path) {
  return testing::ScratchFolder::Read(path);
}

}  // namespace wrenfold::ui_test
