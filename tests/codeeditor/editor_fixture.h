#pragma once
// A code editor in a window of its own, set up for JavaScript with a known
// keyword table, and helpers that read back what it shows.
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codeeditor/code_editor.h"
#include "maker/codewindows/javascript_setup.h"
#include "maker/project/keywords.h"
#include "maker/project/records.h"
#include "maker/project/state.h"
#include "toolkit/gtk_access.h"
#include "toolkit/toolkit.h"

namespace editor_test {

using namespace codeeditor;

// One character per style: '.' for the default style 32, digits and letters
// for 0 to 31.
inline char style_char(int style) {
  if (style == kStyleDefault) return '.';
  return "0123456789abcdefghijklmnopqrstuv"[style & 31];
}

inline void clear_project() {
  reset_program_values();
  clear_resource_lists();
  g_keywords.clear();
}

// A record of a list with only its name (and prototype flag) set.
template <class T>
void add_named(RecordList<T>& list, const std::string& name) {
  T record{};
  record.name = name;
  list.append(record);
}
inline void add_object(const std::string& name, int is_prototype) {
  GameObject o{};
  o.name = name;
  o.is_prototype = is_prototype;
  g_objects.append(o);
}

class EditorTest : public testing::Test {
 protected:
  int window = -1;
  int ed = 0;

  void SetUp() override {
    clear_project();
    window = tk::open_window(tk::kAny, 0, 0, 640, 480, "editor test");
    ed = create_code_editor(tk::kAny, 0, 0, 640, 480, nullptr, kEditorLineNumbers);
    ASSERT_NE(ed, 0);
  }
  void TearDown() override { tk::close_window(window); }

  void javascript() { setup_javascript_editor(ed); }
  void set(const std::string& text) { editor_set_text(ed, text, 1); }
  sptr_t send(unsigned int message, uptr_t w = 0, sptr_t l = 0) { return editor_send(ed, message, w, l); }

  std::string styles() {
    std::string s;
    sptr_t length = send(SCI_GETLENGTH);
    for (sptr_t i = 0; i < length; ++i) s += style_char(int(send(SCI_GETSTYLEAT, i)));
    return s;
  }
  std::vector<int> fold_levels() {
    std::vector<int> levels;
    for (int line = 0; line < send(SCI_GETLINECOUNT); ++line)
      levels.push_back(int(send(SCI_GETFOLDLEVEL, line)));
    return levels;
  }
  std::vector<int> line_states() {
    std::vector<int> states;
    for (int line = 0; line < send(SCI_GETLINECOUNT); ++line)
      states.push_back(editor_get_line_state(ed, line));
    return states;
  }
  // Asks Scintilla to have everything styled, through the style-needed
  // notification as drawing does.
  void colourise() { send(SCI_COLOURISE, 0, -1); }

  GtkWidget* gtk() { return tk::gtk_widget_of(ed); }
  // A key press delivered to the widget as the keyboard does.
  void key(guint keyval) {
    GtkWidget* w = gtk();
    gtk_widget_grab_focus(w);
    GdkEvent* ev = gdk_event_new(GDK_KEY_PRESS);
    ev->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(w)));
    ev->key.send_event = TRUE;
    ev->key.time = GDK_CURRENT_TIME;
    ev->key.keyval = keyval;
    GdkKeymapKey* keys = nullptr;
    gint n = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_default(), keyval, &keys, &n) && n > 0)
      ev->key.hardware_keycode = guint16(keys[0].keycode);
    g_free(keys);
    gtk_widget_event(w, ev);
    gdk_event_free(ev);
  }
  void type(const std::string& text) {
    for (char c : text) key(c == '\n' ? GDK_Return : guint(static_cast<unsigned char>(c)));
  }
  void caret_to(sptr_t position) { send(SCI_GOTOPOS, uptr_t(position)); }
  bool list_shown() { return send(SCI_AUTOCACTIVE) != 0; }
  std::string list_current() {
    std::string s(size_t(send(SCI_AUTOCGETCURRENTTEXT)) + 1, '\0');
    send(SCI_AUTOCGETCURRENTTEXT, 0, reinterpret_cast<sptr_t>(s.data()));
    s.pop_back();
    return s;
  }
};

}  // namespace editor_test
