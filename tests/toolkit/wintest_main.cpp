// Window tests: one program on the shared test display.
#include <gtest/gtest.h>

#include "toolkit/events.h"
#include "toolkit/window.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!tk::init(argc, argv)) {
    fprintf(stderr, "no display\n");
    return 1;
  }
  tk::set_test_mode(true);
  tk::set_failure_handler([](const std::string& reason) { ADD_FAILURE() << reason; });
  return RUN_ALL_TESTS();
}
