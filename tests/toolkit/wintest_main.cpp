// Window tests: one program on the shared test display.
#include <gtest/gtest.h>

#include "toolkit/events.h"
#include "toolkit/window.h"
#include "wintest_fixture.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // GTK's own settings (the file chooser's mode, hidden files) and its list
  // of recent files are this run's alone: other runs on the machine change
  // them. Set before GTK first reads where they are.
  char settings[] = "/tmp/tk-wintest-XXXXXX";
  if (!mkdtemp(settings)) {
    fprintf(stderr, "no folder for GTK's settings\n");
    return 1;
  }
  g_setenv("XDG_CONFIG_HOME", settings, TRUE);
  g_setenv("XDG_DATA_HOME", settings, TRUE);
  if (!tk::init(argc, argv)) {
    fprintf(stderr, "no display\n");
    remove_tree(settings);
    return 1;
  }
  tk::set_test_mode(true);
  tk::set_failure_handler([](const std::string& reason) { ADD_FAILURE() << reason; });
  int result = RUN_ALL_TESTS();
  remove_tree(settings);
  return result;
}
