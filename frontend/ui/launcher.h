// Starting the emulator: the `wrenfold` program beside cartdesk, with no arguments, in the
// front-end's working folder, in a session of its own (it goes on when cartdesk ends), without
// a shell. Cartdesk is not held up by it, but notices when it ends with a failure status.
#pragma once

#include <sys/types.h>

#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

namespace wrenfold {

inline constexpr const char* kEmulatorProgramName = "wrenfold";

class Launcher : public QObject {
  Q_OBJECT
 public:
  // `programFolder`: where the emulator lies; cartdesk's own folder unless a test says otherwise.
  explicit Launcher(QString programFolder = {}, QObject* parent = nullptr);

  QString ProgramPath() const;

  // False when the program could not be started.
  bool Start(const QString& workingFolder);

  // Programs started here that have not ended yet (as last seen).
  int RunningCount() const { return static_cast<int>(m_running.size()); }

 signals:
  // A program started here ended with a failure: its exit status, or 128 + the signal that
  // ended it, and the folder it ran in.
  void failed(int status, const QString& workingFolder);

 private:
  struct Started {
    pid_t pid;
    QString workingFolder;
  };

  // Collects the programs that have ended, reporting failures.
  void CollectEnded();

  QString m_programFolder;
  std::vector<Started> m_running;
  QTimer m_watch;
};

// The last line of text of the emulator's log in `workingFolder` (wrenfold.tst); empty when
// there is none.
QString LastLogLine(const QString& workingFolder);

}  // namespace wrenfold
