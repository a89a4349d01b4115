// The Qt Test classes of the form tests, run one after another by test_main.cpp.
#pragma once

namespace wrenfold::ui_test {

int RunControlPanelTests(int argc, char** argv);
int RunMainWindowTests(int argc, char** argv);
int RunSmallFormTests(int argc, char** argv);

}  // namespace wrenfold::ui_test
