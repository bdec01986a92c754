// The window tests of quillop-extmaker run on the test display.
#include <gtest/gtest.h>

#include <cstdio>

#include "toolkit/window.h"

int main(int argc, char** argv) {
  if (!tk::init(argc, argv)) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
