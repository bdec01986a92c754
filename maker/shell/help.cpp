#include "maker/shell/help.h"

#include "toolkit/system.h"

void show_help() { tk::run_detached("xdg-open", kHelpDocument); }
