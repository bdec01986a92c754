// The window tests of the code editor run on the test display.
#include <gtest/gtest.h>

#include "toolkit/window.h"

int main(int argc, char** argv) {
  if (!tk::init(argc, argv)) {
    fprintf(stderr, "no display\n");
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
