// cartdesk: the ROM library front-end. It works in the current folder (Wrenfold.CFG,
// Wrenfold.PER, the databases and ScrShots/) and finds wrenfold and libsumtab20.so beside itself.
#include <QApplication>

#include "frontend/ui/frontend_services.h"
#include "frontend/ui/main_window.h"
#include "frontend/ui/splash_screen.h"

int main(int argc, char* argv[]) {
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
  return application.exec();
}
