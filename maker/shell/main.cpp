#include "maker/shell/startup.h"

int main(int argc, char** argv) { return main_program(argc, argv); }
