// Helpers of the form tests: answering message boxes, and a working folder with databases,
// ROM files and a stand-in emulator next to a copy of the checksum library.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <vector>

#include "frontend/model/encyclopedia_db.h"
#include "frontend/model/recognition_db.h"
#include "frontend/ui/frontend_services.h"
#include "tests/frontend/model/scratch_folder.h"

namespace wrenfold::ui_test {

// Clicks the buttons of the message boxes that come up, in order, and notes what they said.
// With no answer left, a box gets its default button (Yes or OK).
class MessageBoxAnswerer : public QObject {
 public:
  explicit MessageBoxAnswerer(QList<QMessageBox::StandardButton> answers = {});
  QStringList titles;
  QStringList texts;

 private:
  void Answer();
  QList<QMessageBox::StandardButton> m_answers;
  QTimer m_timer;
};

// A stand-in joystick that returns scripted polls, the last one for ever.
class ScriptedJoystick : public JoystickSource {
 public:
  explicit ScriptedJoystick(std::vector<JoystickPoll> polls) : m_polls(std::move(polls)) {}
  JoystickPoll Poll() override;
  void Release() override { ++releases; }
  int polls = 0;
  int releases = 0;

 private:
  std::vector<JoystickPoll> m_polls;
};

// ROM files of the test library, sorted by name as the list shows them.
inline constexpr const char* kAlphaRom = "alpha.nes";  // known, record 1, encyclopedia entry 1
inline constexpr const char* kBetaRom = "beta.nes";  // known, record 2, stored header says vertical
inline constexpr const char* kGammaRom = "gamma.nes";  // unknown

class TestLibrary {
 public:
  TestLibrary();

  std::filesystem::path WorkFolder() const { return work.Path(); }
  std::filesystem::path RomFolder() const { return work.Path() / "roms"; }
  std::filesystem::path ProgramFolder() const { return program.Path(); }
  std::filesystem::path LaunchRecord() const { return work.Path() / "launched_args.txt"; }
  std::filesystem::path LaunchedConfig() const { return work.Path() / "launched.cfg"; }

  void WriteConfig(std::string_view text) const;
  void WriteRom(const char* name, const std::vector<uint8_t>& image) const;
  void WriteDatabases() const;

  FrontendServices Services(std::vector<DisplayDevice> displays = {{"Fake Display 0,0 640x480",
                                                                    "Fake Display"}},
                            std::shared_ptr<JoystickSource> joystick = nullptr) const;

  RecognitionDb recognition;
  EncyclopediaDb encyclopedia;

 private:
  testing::ScratchFolder work;
  testing::ScratchFolder program;
};

std::string ReadFile(const std::filesystem::path& path);

}  // namespace wrenfold::ui_test
