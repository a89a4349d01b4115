#include "frontend/ui/launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace wrenfold {

Launcher::Launcher(QString programFolder)
    : m_programFolder(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                              : std::move(programFolder)) {}

QString Launcher::ProgramPath() const {
  return QDir(m_programFolder).absoluteFilePath(kEmulatorProgramName);
}

bool Launcher::Start(const QString& workingFolder) const {
  return QProcess::startDetached(ProgramPath(), {}, workingFolder);
}

}  // namespace wrenfold
