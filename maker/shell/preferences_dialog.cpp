#include "maker/shell/preferences_dialog.h"

#include <iterator>
#include <string>
#include <vector>

#include "maker/project/preferences.h"
#include "maker/project/project_file.h"
#include "maker/project/state.h"
#include "maker/shell/main_window.h"
#include "maker/shell/small_windows.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kSaveButton = 65;

struct Column {
  int label_x, field_x, button_x;
};
const Column kColumns[] = {{10, 130, 240}, {300, 430, 540}};

// One colour row of the " Code editor" tab: column 0 left, 1 right.
struct ColourRow {
  int column;
  int row;
  const char* label;
  int* value;
};
const ColourRow kColourRows[] = {
    {0, 0, "Text", &pref_color_text},
    {0, 1, "Caret", &pref_color_caret},
    {0, 2, "Selection background", &pref_color_selection_back},
    {0, 3, "Selection foreground", &pref_color_selection_fore},
    {0, 4, "Command", &pref_color_command},
    {0, 5, "Comment", &pref_color_comment},
    {1, 0, "String", &pref_color_string},
    {1, 1, "Number", &pref_color_number},
    {1, 2, "User function", &pref_color_function},
    {1, 3, "Resource", &pref_color_resource},
    {1, 4, "Constant", &pref_color_constant},
    {1, 5, "Quillop function", &pref_color_engine_function},
    {1, 6, "Quillop variable", &pref_color_engine_variable},
};

struct Switch {
  const char* text;
  int* value;
};
const Switch kSwitches[] = {
    {"Add file protocol (file://) when running game from IDE", &pref_add_file_protocol},
    {"Check program version at startup", &pref_check_version_at_startup},
    {"Generate INDEX.HTML when saving project", &pref_generate_index_html},
    {"Confirm exit from Quillop", &pref_confirm_exit},
};

int row_y(int row) { return 10 + 30 * row; }

// A label standing 5 pixels lower than the field of its row.
void row_label(int x, int row, const char* text) { tk::label(tk::kAny, x, row_y(row) + 5, 120, 25, text); }

struct Widgets {
  std::vector<int> fields, pickers;  // per colour row
  int font_family = -1, font_size = -1;
  std::vector<int> switches;
  int cancel = -1, save = -1;
};

Widgets build() {
  Widgets w;
  int panel = tk::panel(tk::kAny, 10, 10, 620, 425);
  tk::add_tab(panel, " Code editor");
  for (const ColourRow& r : kColourRows) {
    const Column& c = kColumns[r.column];
    row_label(c.label_x, r.row, r.label);
    int field = tk::input(tk::kAny, c.field_x, row_y(r.row), 100, 25, "",
                          tk::kInputReadOnly | tk::kInputBorderless);
    tk::set_colour(field, tk::ColourRole::Back, *r.value);
    w.fields.push_back(field);
    w.pickers.push_back(tk::button(tk::kAny, c.button_x, row_y(r.row), 25, 25, "..."));
  }
  row_label(10, 6, "Font family");
  w.font_family = tk::input(tk::kAny, 130, row_y(6), 100, 20, pref_font_family);
  row_label(10, 7, "Font size");
  w.font_size = tk::input(tk::kAny, 130, row_y(7), 100, 20, std::to_string(pref_font_size));

  tk::add_tab(panel, "Misc");
  for (size_t i = 0; i < std::size(kSwitches); ++i) {
    int box = tk::check_box(tk::kAny, 10, row_y(int(i)), 300, 25, kSwitches[i].text);
    tk::set_state(box, *kSwitches[i].value);
    w.switches.push_back(box);
  }
  tk::close_container();

  w.cancel = tk::button(tk::kAny, 10, kHeight - 35, 65, 25, "Cancel");
  w.save = tk::button(kSaveButton, kWidth - 75, kHeight - 35, 65, 25, "Save");
  return w;
}

void store(const Widgets& w) {
  for (size_t i = 0; i < std::size(kColourRows); ++i)
    *kColourRows[i].value = tk::colour(w.fields[i], tk::ColourRole::Back);
  pref_font_family = tk::text(w.font_family);
  pref_font_size = parse_typed_integer(tk::text(w.font_size));
  for (size_t i = 0; i < std::size(kSwitches); ++i) *kSwitches[i].value = tk::state(w.switches[i]);
  save_preferences();
}

}  // namespace

int preferences_dialog() {
  tk::disable_window(kMainWindow, true);
  tk::open_window(kDialogWindow, 0, 0, kWidth, kHeight, "Preferences", tk::kWindowCentred);
  Widgets w = build();
  for (;;) {
    tk::Event e = tk::wait_event();
    if (e.type != tk::kEventWidget) continue;
    if (e.object == w.cancel) break;
    if (e.object == w.save) {
      store(w);
      break;
    }
    for (size_t i = 0; i < w.pickers.size(); ++i) {
      if (e.object != w.pickers[i]) continue;
      int chosen = tk::choose_colour(tk::colour(w.fields[i], tk::ColourRole::Back));
      if (chosen != -1) tk::set_colour(w.fields[i], tk::ColourRole::Back, chosen);
    }
  }
  tk::disable_window(kMainWindow, false);
  tk::close_window(kDialogWindow);
  return 0;
}
