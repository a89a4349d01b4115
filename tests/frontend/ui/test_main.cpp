#include <QApplication>

#include "tests/frontend/ui/ui_tests.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  application.setQuitOnLastWindowClosed(false);
  int failures = 0;
  failures += wrenfold::ui_test::RunControlPanelTests(argc, argv);
  failures += wrenfold::ui_test::RunMainWindowTests(argc, argv);
  failures += wrenfold::ui_test::RunSmallFormTests(argc, argv);
  return failures == 0 ? 0 : 1;
}
