#include "maker/project/confirm.h"

#include "toolkit/requester.h"

int confirm_yes_no(const std::string& title, const std::string& text) {
  return tk::yes_no(title, text) == 1 ? 1 : 0;
}

void show_error(const std::string& text) { tk::message_box("Error", text, tk::MessageKind::Error); }
