// Starting the emulator: the `wrenfold` program beside cartdesk, with no arguments, in the
// front-end's working folder, detached, without a shell.
#pragma once

#include <QString>

namespace wrenfold {

inline constexpr const char* kEmulatorProgramName = "wrenfold";

class Launcher {
 public:
  // `programFolder`: where the emulator lies; cartdesk's own folder unless a test says otherwise.
  explicit Launcher(QString programFolder = {});

  QString ProgramPath() const;

  // False when the program could not be started.
  bool Start(const QString& workingFolder) const;

 private:
  QString m_programFolder;
};

}  // namespace wrenfold
