// Window tests: one program on the shared test display.
#include "tests/toolkit/wintest_main.cpp"
