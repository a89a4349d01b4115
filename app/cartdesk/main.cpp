// cartdesk: the ROM library front-end. It works in the current folder (Wrenfold.CFG,
// Wrenfold.PER, the databases and ScrShots/) and finds wrenfold and libsumtab20.so beside itself.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "frontend/ui/frontend_services.h"
#include "frontend/ui/main_window.h"
#include "frontend/ui/splash_screen.h"

namespace {

// With WRENFOLD_STARTUP_TIMING=1 in the environment, start-up time is printed once the event
// loop runs with the main window shown, for measuring large libraries.
void ReportStartupTimeOnceShown(const QElapsedTimer& sinceMain) {
  if (qEnvironmentVariableIntValue("WRENFOLD_STARTUP_TIMING") != 1) return;
  QTimer::singleShot(0, [sinceMain] {
    std::fprintf(stderr, "cartdesk: main window shown after %lld ms\n",
                 static_cast<long long>(sinceMain.elapsed()));
  });
}

}  // namespace

int main(int argc, char* argv[]) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  QApplication application(argc, argv);
  // The splash and the first-run form come and go before the main window is shown.
  application.setQuitOnLastWindowClosed(false);
  wrenfold::MainWindow window(wrenfold::DefaultFrontendServices());
  {
    wrenfold::SplashScreen splash;
    window.RunStartup(&splash);
  }
  window.show();
  window.setEnabled(true);
  application.setQuitOnLastWindowClosed(true);
  ReportStartupTimeOnceShown(sinceMain);
  return application.exec();
}
