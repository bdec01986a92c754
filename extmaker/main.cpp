#include "extmaker/extmaker.h"

int main(int argc, char** argv) { return extmaker_main(argc, argv); }
