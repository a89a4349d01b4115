#include "frontend/ui/launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <utility>

#include "files/regular_file.h"

extern char** environ;

namespace wrenfold {
namespace {

// How often the started programs are looked at while any runs.
constexpr int kWatchIntervalMs = 250;
// The log is read from its end; a last line longer than this is cut.
constexpr qint64 kLogTailBytes = 4096;
constexpr const char* kLogFileName = "wrenfold.tst";

}  // namespace

Launcher::Launcher(QString programFolder, QObject* parent)
    : QObject(parent),
      m_programFolder(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                              : std::move(programFolder)) {
  m_watch.setInterval(kWatchIntervalMs);
  connect(&m_watch, &QTimer::timeout, this, &Launcher::CollectEnded);
}

QString Launcher::ProgramPath() const {
  return QDir(m_programFolder).absoluteFilePath(kEmulatorProgramName);
}

bool Launcher::Start(const QString& workingFolder) {
  const QByteArray program = QFile::encodeName(ProgramPath());
  const QByteArray folder = QFile::encodeName(workingFolder);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // A session of its own: a terminal's hang-up or Ctrl+C for cartdesk does not reach it.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  char* argv[] = {const_cast<char*>(program.constData()), nullptr};
  pid_t pid = 0;
  const int error = posix_spawn(&pid, program.constData(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  m_running.push_back({pid, workingFolder});
  m_watch.start();
  return true;
}

void Launcher::CollectEnded() {
  std::vector<std::pair<int, QString>> failures;
  for (auto it = m_running.begin(); it != m_running.end();) {
    int status = 0;
    const pid_t ended = waitpid(it->pid, &status, WNOHANG);
    if (ended == 0) {
      ++it;
      continue;
    }
    if (ended > 0 && WIFEXITED(status) && WEXITSTATUS(status) != 0) {
      failures.emplace_back(WEXITSTATUS(status), it->workingFolder);
    } else if (ended > 0 && WIFSIGNALED(status)) {
      failures.emplace_back(128 + WTERMSIG(status), it->workingFolder);
    }
    it = m_running.erase(it);
  }
  if (m_running.empty()) m_watch.stop();
  // Reported once the list is settled: a message box shown for one may let this run again.
  for (const auto& [status, folder] : failures) emit failed(status, folder);
}

QString LastLogLine(const QString& workingFolder) {
  // Only a regular log is read: a FIFO or a device of that name would wait or never end.
  const QByteArray path = QFile::encodeName(QDir(workingFolder).filePath(kLogFileName));
  RegularFileStatus status;
  int error;
  const UniqueFile file(OpenRegularFileStream(path.toStdString(), status, error));
  if (!file) return {};
  QFile log;
  if (!log.open(file.get(), QIODevice::ReadOnly)) return {};
  if (log.size() > kLogTailBytes) log.seek(log.size() - kLogTailBytes);
  const QStringList lines =
      QString::fromLocal8Bit(log.read(kLogTailBytes)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
    const QString trimmed = line->trimmed();
    if (!trimmed.isEmpty()) return trimmed;
  }
  return {};
}

}  // namespace wrenfold
