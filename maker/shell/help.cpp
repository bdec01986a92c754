#include "maker/shell/help.h"

#include "toolkit/toolkit.h"

void show_help() {
  std::string why;
  if (!tk::show_file(kHelpDocument, why)) tk::message_box("Message", "The help cannot be shown. " + why);
}
