#include "maker/shell/font_dialog.h"

#include <climits>

#include "maker/project/confirm.h"
#include "maker/project/project_file.h"
#include "maker/project/records.h"
#include "maker/shell/main_window.h"
#include "maker/shell/resource_browser.h"
#include "maker/shell/small_windows.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kDoneButton = 65;
constexpr int W = 200, H = 300;

int font_index(const std::string& name) {
  for (int i = 0; i < g_fonts.count(); ++i)
    if (g_fonts[i].name == name) return i;
  return -1;
}


}  // namespace

void open_font_properties(const std::string& opened_name) {
  // A copy: the caller's text may live in a list this dialog changes.
  const std::string name = opened_name;
  const int index = font_index(name);
  if (index < 0) {
    rebuild_resource_panel();
    return;
  }
  const Font& font = g_fonts[index];
  tk::disable_window(kMainWindow, true);
  tk::open_window(kDialogWindow, 0, 0, W, H, "Font properties - " + font.name, tk::kWindowCentred);
  tk::button(kDoneButton, W - 75, H - 35, 65, 25, "Done");
  const int remove = tk::button(tk::kAny, 10, H - 35, 65, 25, "Delete");
  const int name_input = tk::input(tk::kAny, 10, 10, 120, 25, font.name);
  tk::label(tk::kAny, 10, 50, 40, 25, "Family");
  const int family = tk::input(tk::kAny, 50, 45, 80, 25, font.family);
  tk::label(tk::kAny, 10, 85, 40, 25, "Size");
  const int size = tk::input(tk::kAny, 50, 80, 80, 25, std::to_string(font.size), tk::kInputDigits);
  tk::label(tk::kAny, 10, 115, 40, 25, "Bold");
  const int bold = tk::check_box(tk::kAny, 50, 110, 50, 25, "");
  tk::set_state(bold, font.bold == 1);
  tk::label(tk::kAny, 10, 145, 40, 25, "Italic");
  const int italic = tk::check_box(tk::kAny, 50, 140, 50, 25, "");
  tk::set_state(italic, font.italic == 1);

  for (bool done = false; !done;) {
    tk::Event e = tk::wait_event();
    if (e.type != tk::kEventWidget) continue;
    if (e.object == remove) {
      if (!confirm_yes_no("Confirm", "Do you really want to delete this font?")) continue;
      delete_font(name);
      done = true;
    } else if (e.object == kDoneButton) {
      set_project_modified(1);
      const std::string typed = tk::text(name_input);
      const std::string size_text = tk::text(size);
      int errors = 0;
      if (typed.empty()) {
        show_error("The font name is missing");
        ++errors;
      } else {
        if (!font_name_is_unique(typed, index)) {
          show_error("The font name '" + typed + "' already exists");
          ++errors;
        }
        const long long typed_size = parse_typed_number(size_text);
        if (typed_size < 1 || typed_size > INT_MAX) {
          show_error("The font size '" + size_text + "' is invalid");
          ++errors;
        }
      }
      if (errors) continue;
      Font& f = g_fonts[index];
      f.name = typed;
      f.family = tk::text(family);
      f.size = parse_typed_integer(size_text);
      f.bold = tk::state(bold) ? 1 : 0;
      f.italic = tk::state(italic) ? 1 : 0;
      done = true;
    }
  }
  tk::disable_window(kMainWindow, false);
  tk::close_window(kDialogWindow);
  rebuild_resource_panel();
}
