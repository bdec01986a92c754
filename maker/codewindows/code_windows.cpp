#include "maker/codewindows/code_windows.h"

#include "codeeditor/code_editor.h"
#include "imaging/image.h"
#include "maker/codewindows/javascript_setup.h"
#include "maker/common/window_numbers.h"
#include "maker/project/records.h"
#include "maker/project/state.h"
#include "toolkit/toolkit.h"

using namespace codeeditor;

namespace {

constexpr int kWindowWidth = 800, kWindowHeight = 600;
constexpr int kBoldFont = 122;
constexpr int kPlaceholderIcon = 162;
constexpr int kOutOfSight = -1800;

struct EventType {
  const char* name;
  int icon;
};
constexpr EventType kEventTypes[] = {
    {"Creation", 105}, {"Destroy", 111},  {"Step", 107},          {"End step", 108},
    {"Collision", 106}, {"Room start", 112}, {"Room end", 113}, {"Animation end", 110},
    {"Draw", 109},
};
constexpr int kCollisionItem = 4;

// The widgets of a resizable code window.
struct CodeWindow {
  int window = -1;
  int ok = -1, cancel = -1;
  int help1 = -1, help2 = -1;
};

void add_ok_cancel(CodeWindow& w) {
  w.cancel = tk::button(tk::kAny, 10, kWindowHeight - 35, 65, 25, "Cancel");
  w.ok = tk::button(tk::kAny, kWindowWidth - 75, kWindowHeight - 35, 65, 25, "OK");
}

// The widget places of the re-layout table for the window's size.
void place_code_widgets(int window, int editor, int ok_button, int cancel_button, int help_line1,
                        int help_line2) {
  int width = tk::window_width(window), height = tk::window_height(window);
  tk::resize_widget(editor, tk::kKeep, tk::kKeep, width - 20, height - 155);
  tk::resize_widget(ok_button, width - 75, height - 35, tk::kKeep, tk::kKeep);
  tk::resize_widget(cancel_button, tk::kKeep, height - 35, tk::kKeep, tk::kKeep);
  tk::resize_widget(help_line1, tk::kKeep, height - 95, width - 20, 21);
  tk::resize_widget(help_line2, tk::kKeep, height - 65, width - 20, 21);
}

// Help lines, stored geometry and the help-line timer (on timer_window).
void finish_resizable_window(CodeWindow& w, int timer_window) {
  w.help1 = tk::label(tk::kAny, 10, 520, 780, 25, "");
  w.help2 = tk::label(tk::kAny, 10, 550, 780, 25, "");
  tk::set_font(w.help1, kBoldFont);
  if (pref_code_window_x != -1 && pref_code_window_y != -1 && pref_code_window_maximized == -1) {
    tk::resize_window(w.window, pref_code_window_x, pref_code_window_y,
                      pref_code_window_width == -1 ? tk::kKeep : pref_code_window_width,
                      pref_code_window_height == -1 ? tk::kKeep : pref_code_window_height);
  }
  if (pref_code_window_maximized > -1) tk::maximize_window(w.window);
  tk::add_timer(timer_window, kHelpLineTimer, 100);
}

bool is_help_timer(const tk::Event& ev, int timer_window) {
  return ev.type == tk::kEventTimer && ev.window == timer_window && ev.object == kHelpLineTimer;
}

bool is_size_change(const tk::Event& ev, int window) {
  return ev.window == window && (ev.type == tk::kEventSizeWindow ||
                                 ev.type == tk::kEventMaximize || ev.type == tk::kEventMinimize);
}

// Shows the help of the keyword at the caret; with keep_na, a help text
// "n/a" leaves its line as it was.
void show_keyword_help(const CodeWindow& w, bool keep_na) {
  int k = editor_keyword_at_caret(kCodeEditorWidget);
  if (k == -1) {
    tk::set_text(w.help1, "");
    tk::set_text(w.help2, "");
    return;
  }
  const Keyword& keyword = g_keywords[k];
  if (!keep_na || keyword.help_line1 != "n/a") tk::set_text(w.help1, keyword.help_line1);
  if (!keep_na || keyword.help_line2 != "n/a") tk::set_text(w.help2, keyword.help_line2);
}

void open_editor(int x, int y, int width, int height, int window, const std::string& code) {
  create_code_editor(kCodeEditorWidget, x, y, width, height, nullptr, kEditorLineNumbers);
  setup_javascript_editor(kCodeEditorWidget);
  tk::remove_all_shortcuts(window);
  // Loading the text is not an edit: undo right away must not empty it.
  editor_set_text(kCodeEditorWidget, code, 1);
}

// Takes the editor's text (as kept in the records) and frees the editor.
std::string take_editor_text() {
  std::string code = with_crlf_line_ends(editor_get_text(kCodeEditorWidget));
  free_code_editor(kCodeEditorWidget);
  return code;
}

void store_window_place(int window) {
  pref_code_window_x = tk::window_x(window);
  pref_code_window_y = tk::window_y(window);
}

// "Custom functions" and "Global variables".
void edit_game_code(const std::string& title, std::string GameSettings::*code) {
  CodeWindow w;
  w.window = tk::open_window(kDialogWindow, 0, 0, kWindowWidth, kWindowHeight, title,
                             tk::kWindowResizable | tk::kWindowMinimizeBox |
                                 tk::kWindowMaximizeBox | tk::kWindowCentred);
  if (w.window < 0) return;
  tk::disable_window(kMainWindow, true);
  add_ok_cancel(w);
  int heading = tk::label(tk::kAny, 10, 15, 200, 25, title);
  tk::set_font(heading, kBoldFont);
  open_editor(10, 45, 780, 540, w.window, g_game_settings[0].*code);
  finish_resizable_window(w, w.window);

  for (bool done = false; !done;) {
    tk::Event ev = tk::wait_event();
    if (is_help_timer(ev, w.window)) {
      show_keyword_help(w, false);
    } else if (ev.type == tk::kEventCloseWindow && ev.window == w.window) {
      done = true;
    } else if (is_size_change(ev, w.window)) {
      layout_code_editor_window(w.window, kCodeEditorWidget, w.ok, w.cancel, w.help1, w.help2);
    } else if (ev.type == tk::kEventWidget && ev.object == w.cancel) {
      done = true;
    } else if (ev.type == tk::kEventWidget && ev.object == w.ok) {
      g_game_settings[0].*code = take_editor_text();
      set_project_modified(1);
      done = true;
    }
  }
  store_window_place(w.window);
  tk::disable_window(kMainWindow, false);
  tk::close_window(w.window);
}

}  // namespace

std::string with_crlf_line_ends(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

void layout_code_editor_window(int window, int editor, int ok_button, int cancel_button,
                               int help_line1, int help_line2) {
  place_code_widgets(window, editor, ok_button, cancel_button, help_line1, help_line2);
  pref_code_window_width = tk::window_width(window);
  pref_code_window_height = tk::window_height(window);
  pref_code_window_maximized = tk::window_maximized(window) ? 1 : -1;
}

void edit_custom_functions() { edit_game_code("Custom functions", &GameSettings::global_functions); }

void edit_global_variables() { edit_game_code("Global variables", &GameSettings::global_variables); }

void open_event_code_editor(int script_index) {
  if (script_index < 0 || script_index >= g_scripts.count()) return;
  const Script& script = g_scripts[script_index];
  CodeWindow w;
  w.window = tk::open_window(
      tk::kAny, 0, 0, kWindowWidth, kWindowHeight,
      "Code editor - " + script.event_type + " event of " + script.owner_object,
      tk::kWindowResizable | tk::kWindowMinimizeBox | tk::kWindowMaximizeBox | tk::kWindowCentred);
  if (w.window < 0) return;
  tk::disable_window(kDialogWindow, true);
  add_ok_cancel(w);
  tk::label(tk::kAny, 10, 15, 55, 25, "Event type");
  int event_combo = tk::drop_down(tk::kAny, 70, 10, 100, 25, tk::kDropDownImages);
  for (const EventType& t : kEventTypes) tk::add_item(event_combo, -1, t.name, t.icon);
  tk::set_text(event_combo, script.event_type);
  int with_label, with_field;
  if (script.event_type == "Collision") {
    with_label = tk::label(tk::kAny, 180, 15, 50, 25, "with");
    with_field = tk::drop_down(tk::kAny, 240, 10, 200, 25, tk::kDropDownImages);
    tk::add_item(with_field, -1, "");
    for (const GameObject& o : g_objects) {
      if (o.is_prototype != 1) continue;
      int icon = imaging::image_exists(o.sprite_image) ? o.sprite_image : kPlaceholderIcon;
      tk::add_item(with_field, -1, o.name, icon);
    }
    tk::set_text(with_field, script.parameter);
  } else {
    with_label = tk::label(tk::kAny, kOutOfSight, 15, 50, 25, "with");
    with_field = tk::input(tk::kAny, -2400, 10, 200, 25, script.parameter);
  }
  open_editor(10, 45, 780, 510, w.window, script.code);
  finish_resizable_window(w, kDialogWindow);

  for (bool done = false; !done;) {
    tk::Event ev = tk::wait_event();
    if (is_help_timer(ev, kDialogWindow)) {
      show_keyword_help(w, true);
    } else if (ev.type == tk::kEventCloseWindow && ev.window == w.window) {
      done = true;
    } else if (is_size_change(ev, w.window)) {
      layout_code_editor_window(w.window, kCodeEditorWidget, w.ok, w.cancel, w.help1, w.help2);
    } else if (ev.type == tk::kEventWidget && ev.object == event_combo &&
               ev.subtype == tk::kChange) {
      tk::resize_widget(with_label, kOutOfSight, tk::kKeep, tk::kKeep, tk::kKeep);
      tk::resize_widget(with_field, kOutOfSight, tk::kKeep, tk::kKeep, tk::kKeep);
      if (tk::state(event_combo) == kCollisionItem) {
        tk::resize_widget(with_field, 240, tk::kKeep, tk::kKeep, tk::kKeep);
        tk::resize_widget(with_label, 180, tk::kKeep, tk::kKeep, tk::kKeep);
      }
    } else if (ev.type == tk::kEventWidget && ev.object == w.cancel) {
      done = true;
    } else if (ev.type == tk::kEventWidget && ev.object == w.ok) {
      Script& s = g_scripts[script_index];
      s.event_type = tk::text(event_combo);
      s.parameter = tk::text(with_field);
      s.code = take_editor_text();
      done = true;
    }
  }
  store_window_place(w.window);
  tk::disable_window(kDialogWindow, false);
  tk::close_window(w.window);
}

void open_scene_code_editor(int scene_index) {
  if (scene_index < 0 || scene_index >= g_scenes.count()) return;
  CodeWindow w;
  w.window = tk::open_window(tk::kAny, 0, 0, kWindowWidth, kWindowHeight, "Scene code editor",
                             tk::kWindowCentred);
  if (w.window < 0) return;
  tk::disable_window(kDialogWindow, true);
  add_ok_cancel(w);
  open_editor(10, 10, 780, 540, w.window, g_scenes[scene_index].code);

  for (bool done = false; !done;) {
    tk::Event ev = tk::wait_event();
    if (ev.type != tk::kEventWidget) continue;
    if (ev.object == w.cancel) {
      done = true;
    } else if (ev.object == w.ok) {
      g_scenes[scene_index].code = take_editor_text();
      set_project_modified(1);
      done = true;
    }
  }
  tk::disable_window(kDialogWindow, false);
  tk::close_window(w.window);
}
