// Scripted requesters and the drivers that act on widgets like a user.
#include "toolkit/testing.h"

#include <gdk/gdkkeysyms.h>
#include <gdk/gdkx.h>

#include <algorithm>

#include "toolkit/gtk_access.h"
#include "toolkit/internal.h"
#include "toolkit/menu.h"

namespace tk::test {

using namespace tk::detail;

// ---- scripted requesters ----
ScriptedRequesters::ScriptedRequesters() : previous_(&requesters()) { set_requesters(this); }

ScriptedRequesters::~ScriptedRequesters() {
  set_requesters(previous_ == this ? nullptr : previous_);
}

void ScriptedRequesters::answer_yes_no(int yes) { answers_.push_back({Asked::YesNo, yes ? 1 : 0, {}}); }
void ScriptedRequesters::answer_file(const std::string& path, int pattern) {
  answers_.push_back({Asked::OpenFile, 0, FileChoice{path, pattern}});
}
void ScriptedRequesters::answer_colour(int colour) { answers_.push_back({Asked::Colour, colour, {}}); }

std::vector<std::string> ScriptedRequesters::messages() const {
  std::vector<std::string> out;
  for (const Question& q : asked)
    if (q.what == Asked::Message) out.push_back(q.text);
  return out;
}

namespace {
const char* name_of(Asked a) {
  switch (a) {
    case Asked::Message: return "message";
    case Asked::YesNo: return "yes/no question";
    case Asked::OpenFile: return "open-file chooser";
    case Asked::SaveFile: return "save-file chooser";
    case Asked::Colour: return "colour chooser";
  }
  return "?";
}
}  // namespace

ScriptedRequesters::Answer ScriptedRequesters::next(Asked what, const Question& question) {
  asked.push_back(question);
  // One kind of answer serves both file choosers.
  Asked wanted = what == Asked::SaveFile ? Asked::OpenFile : what;
  std::string about = std::string(name_of(what)) + " \"" + question.title + "\": \"" + question.text + "\"";
  if (answers_.empty()) report_failure("no scripted answer for the " + about);
  Answer a = answers_.front();
  answers_.pop_front();
  if (a.what != wanted)
    report_failure("the scripted answer is for a " + std::string(name_of(a.what)) + ", not the " + about);
  return a;
}

void ScriptedRequesters::message(const std::string& title, const std::string& text, MessageKind kind) {
  Question q;
  q.what = Asked::Message;
  q.title = title;
  q.text = text;
  q.kind = kind;
  asked.push_back(q);
}

int ScriptedRequesters::yes_no(const std::string& title, const std::string& text) {
  Question q;
  q.what = Asked::YesNo;
  q.title = title;
  q.text = text;
  return next(Asked::YesNo, q).number;
}

FileChoice ScriptedRequesters::open_file(const std::string& title, const std::string& default_path,
                                         const std::string& patterns, int pattern) {
  Question q;
  q.what = Asked::OpenFile;
  q.title = title;
  q.default_path = default_path;
  q.patterns = patterns;
  q.pattern = pattern;
  return next(Asked::OpenFile, q).file;
}

FileChoice ScriptedRequesters::save_file(const std::string& title, const std::string& default_path,
                                         const std::string& patterns, int pattern) {
  Question q;
  q.what = Asked::SaveFile;
  q.title = title;
  q.default_path = default_path;
  q.patterns = patterns;
  q.pattern = pattern;
  return next(Asked::SaveFile, q).file;
}

int ScriptedRequesters::colour(int initial) {
  Question q;
  q.what = Asked::Colour;
  q.colour = initial;
  return next(Asked::Colour, q).number;
}

// ---- drivers ----
namespace {

guint32 fake_time = 1000;

GdkWindow* window_of(WidgetRec& rec) {
  if (rec.kind == WidgetKind::ListView) return gtk_tree_view_get_bin_window(GTK_TREE_VIEW(rec.main));
  return rec.main->window;
}

guint state_of(int buttons, int modifiers) {
  guint s = 0;
  if (buttons & kLeftButton) s |= GDK_BUTTON1_MASK;
  if (buttons & kRightButton) s |= GDK_BUTTON3_MASK;
  if (buttons & kMiddleButton) s |= GDK_BUTTON2_MASK;
  if (modifiers & kShift) s |= GDK_SHIFT_MASK;
  if (modifiers & kAlt) s |= GDK_MOD1_MASK;
  if (modifiers & kControl) s |= GDK_CONTROL_MASK;
  return s;
}

// Puts an event into GDK's queue so that GTK dispatches it as it does real
// input, then lets GTK handle it.
void deliver(GdkEvent* e) {
  gdk_event_put(e);
  gdk_event_free(e);
  process_pending_now();
}

void send_button(GdkWindow* win, GdkEventType type, int button, int x, int y, guint state) {
  if (!win) return;
  GdkEvent* e = gdk_event_new(type);
  e->button.window = GDK_WINDOW(g_object_ref(win));
  e->button.send_event = TRUE;
  e->button.time = ++fake_time;
  e->button.x = x;
  e->button.y = y;
  int ox = 0, oy = 0;
  gdk_window_get_origin(win, &ox, &oy);
  e->button.x_root = ox + x;
  e->button.y_root = oy + y;
  e->button.state = state;
  e->button.button = guint(button);
  e->button.device = gdk_device_get_core_pointer();
  deliver(e);
}

guint button_mask(int button) {
  return button == 1 ? GDK_BUTTON1_MASK : button == 3 ? GDK_BUTTON3_MASK : GDK_BUTTON2_MASK;
}

void press_release(GdkWindow* win, int x, int y, int button, bool twice, guint state = 0) {
  send_button(win, GDK_BUTTON_PRESS, button, x, y, state);
  send_button(win, GDK_BUTTON_RELEASE, button, x, y, state | button_mask(button));
  if (!twice) return;
  send_button(win, GDK_BUTTON_PRESS, button, x, y, state);
  send_button(win, GDK_2BUTTON_PRESS, button, x, y, state);
  send_button(win, GDK_BUTTON_RELEASE, button, x, y, state | button_mask(button));
}

// Centre of a list row in the coordinates of the list's row area.
bool row_centre(WidgetRec& rec, int row, int* x, int* y) {
  if (!GTK_WIDGET_REALIZED(rec.main) || row < 0 || row >= item_count(rec.number)) return false;
  // The middle of the row's last column: on its text, clear of any check box.
  GList* columns = gtk_tree_view_get_columns(GTK_TREE_VIEW(rec.main));
  GtkTreeViewColumn* last = columns ? GTK_TREE_VIEW_COLUMN(g_list_last(columns)->data) : nullptr;
  g_list_free(columns);
  GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
  GdkRectangle r;
  gtk_tree_view_get_cell_area(GTK_TREE_VIEW(rec.main), path, last, &r);
  gtk_tree_path_free(path);
  if (r.height <= 0) return false;
  int bx = 0, by = 0;
  gtk_tree_view_convert_bin_window_to_tree_coords(GTK_TREE_VIEW(rec.main), 0, 0, &bx, &by);
  *x = r.x + std::max(1, r.width / 2);
  *y = r.y + r.height / 2;
  return true;
}

WidgetRec* shown(int widget) {
  WidgetRec* rec = detail::find_widget(widget);
  if (!rec) return nullptr;
  process_pending_now();
  return rec;
}

void send_crossing(WidgetRec& rec, GdkEventType type, int x, int y) {
  GdkWindow* win = window_of(rec);
  if (!win) return;
  GdkEvent* e = gdk_event_new(type);
  e->crossing.window = GDK_WINDOW(g_object_ref(win));
  e->crossing.send_event = TRUE;
  e->crossing.time = ++fake_time;
  e->crossing.x = x;
  e->crossing.y = y;
  e->crossing.mode = GDK_CROSSING_NORMAL;
  e->crossing.detail = GDK_NOTIFY_ANCESTOR;
  deliver(e);
}

guint keyval_of_code(int key, int modifiers) {
  if (key >= 'A' && key <= 'Z') return guint((modifiers & kShift ? GDK_A : GDK_a) + (key - 'A'));
  if (key >= '0' && key <= '9') return guint(GDK_0 + (key - '0'));
  if (key >= kKeyF1 && key < kKeyF1 + 12) return guint(GDK_F1 + (key - kKeyF1));
  for (unsigned v : {GDK_BackSpace, GDK_Tab, GDK_Return, GDK_Escape, GDK_space, GDK_Page_Up,
                     GDK_Page_Down, GDK_End, GDK_Home, GDK_Left, GDK_Up, GDK_Right, GDK_Down,
                     GDK_Insert, GDK_Delete, GDK_Shift_L, GDK_Control_L, GDK_Alt_L})
    if (key_code_of_keyval(v) == key) return v;
  return 0;
}

void send_key(GdkWindow* win, GdkEventType type, guint keyval, guint state) {
  GdkEvent* e = gdk_event_new(type);
  e->key.window = GDK_WINDOW(g_object_ref(win));
  e->key.send_event = TRUE;
  e->key.time = ++fake_time;
  e->key.state = state;
  e->key.keyval = keyval;
  GdkKeymapKey* keys = nullptr;
  gint n = 0;
  if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_default(), keyval, &keys, &n) && n > 0) {
    e->key.hardware_keycode = guint16(keys[0].keycode);
    e->key.group = guint8(keys[0].group);
  }
  g_free(keys);
  gunichar c = gdk_keyval_to_unicode(keyval);
  gchar utf8[8] = {0};
  if (c >= 32) g_unichar_to_utf8(c, utf8);
  e->key.string = g_strdup(utf8);
  e->key.length = gint(strlen(utf8));
  deliver(e);
}

}  // namespace

void click(int widget) {
  WidgetRec* rec = shown(widget);
  if (!rec) return;
  switch (rec->kind) {
    case WidgetKind::Button:
    case WidgetKind::ImageButton:
    case WidgetKind::CheckBox:
    case WidgetKind::Option:
      gtk_button_clicked(GTK_BUTTON(rec->main));
      process_pending_now();
      break;
    default:
      click_at(widget, std::max(0, rec->w / 2), std::max(0, rec->h / 2));
  }
}

void click_at(int widget, int x, int y, int button) {
  if (WidgetRec* rec = shown(widget)) press_release(window_of(*rec), x, y, button, false);
}

void double_click_at(int widget, int x, int y, int button) {
  if (WidgetRec* rec = shown(widget)) press_release(window_of(*rec), x, y, button, true);
}

void right_click(int widget) {
  WidgetRec* rec = shown(widget);
  if (!rec) return;
  click_at(widget, std::max(0, rec->w / 2), std::max(0, rec->h / 2), 3);
}

void double_click_item(int list, int row) {
  WidgetRec* rec = shown(list);
  int x = 0, y = 0;
  if (rec && rec->kind == WidgetKind::ListView && row_centre(*rec, row, &x, &y))
    press_release(window_of(*rec), x, y, 1, true);
}

void type_text(int widget, const std::string& text) {
  WidgetRec* rec = detail::find_widget(widget);
  if (!rec) return;
  if (rec->kind == WidgetKind::Input) {
    GtkEditable* e = GTK_EDITABLE(rec->main);
    if (!gtk_editable_get_editable(e)) return;  // nobody can type there
    gint pos = gint(g_utf8_strlen(gtk_entry_get_text(GTK_ENTRY(rec->main)), -1));
    gtk_editable_set_position(e, pos);
    gtk_editable_insert_text(e, text.c_str(), gint(text.size()), &pos);
    gtk_editable_set_position(e, pos);
  } else if (rec->kind == WidgetKind::TextArea) {
    GtkTextBuffer* b = gtk_text_view_get_buffer(GTK_TEXT_VIEW(rec->main));
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(b, &end);
    gtk_text_buffer_place_cursor(b, &end);
    gtk_text_buffer_insert_interactive_at_cursor(b, text.data(), gint(text.size()),
                                                 gtk_text_view_get_editable(GTK_TEXT_VIEW(rec->main)));
  }
  process_pending_now();
}

void paste_text(int widget, const std::string& text) {
  WidgetRec* rec = detail::find_widget(widget);
  if (!rec || (rec->kind != WidgetKind::Input && rec->kind != WidgetKind::TextArea)) return;
  GtkClipboard* clip = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  gtk_clipboard_set_text(clip, text.c_str(), gint(text.size()));
  std::string before = tk::text(widget);
  if (rec->kind == WidgetKind::Input) {
    if (!gtk_editable_get_editable(GTK_EDITABLE(rec->main))) return;
    gtk_editable_set_position(GTK_EDITABLE(rec->main), -1);
    g_signal_emit_by_name(rec->main, "paste-clipboard");
  } else {
    GtkTextBuffer* b = gtk_text_view_get_buffer(GTK_TEXT_VIEW(rec->main));
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(b, &end);
    gtk_text_buffer_place_cursor(b, &end);
    gtk_text_buffer_paste_clipboard(b, clip, nullptr, TRUE);
  }
  // The clipboard answers through the X server, a little later.
  gint64 end = g_get_monotonic_time() + 1000000;
  while (g_get_monotonic_time() < end && detail::find_widget(widget) && tk::text(widget) == before) {
    g_usleep(2000);
    process_pending_now();
  }
  process_pending_now();
}

void focus(int widget) {
  WidgetRec* rec = detail::find_widget(widget);
  if (!rec) return;
  WindowRec* w = find_window(rec->window);
  if (GtkWindow* window = w ? GTK_WINDOW(w->window) : nullptr; window && !gtk_window_is_active(window)) {
    // Only an active window sends focus-out events. The window manager can
    // be slow to answer on a loaded machine, and may move the focus away and
    // back while it activates the window: all of it is waited for (the
    // bounds are a safety net only), with no field holding the focus, so
    // that no late focus change reaches a field.
    gtk_window_set_focus(window, nullptr);
    gtk_window_present(window);
    auto active = [window] { return gtk_window_is_active(window); };
    wait_until(active);
    settle(rec->window);
    wait_until(active);
  }
  gtk_widget_grab_focus(rec->main);
  process_pending_now();
}

void take_real_pointer() { ignore_real_pointer(false); }

bool wait_until(const std::function<bool()>& done, int ms) {
  gint64 end = g_get_monotonic_time() + gint64(ms) * 1000;
  while (!done()) {
    if (g_get_monotonic_time() > end) return false;
    g_usleep(5000);
    process_pending_now();
  }
  return true;
}

namespace {
struct Echo {
  Atom atom;
  bool seen = false;
};

GdkFilterReturn on_echo(GdkXEvent* xevent, GdkEvent*, gpointer data) {
  auto* e = static_cast<XEvent*>(xevent);
  auto* echo = static_cast<Echo*>(data);
  if (e->type == PropertyNotify && e->xproperty.atom == echo->atom) echo->seen = true;
  return GDK_FILTER_CONTINUE;
}
}  // namespace

bool settle(int window) {
  WindowRec* w = find_window(window);
  if (!w || !GTK_WIDGET_MAPPED(w->window)) return false;
  // The window manager shows every title it is given again in
  // _NET_WM_VISIBLE_NAME, so writing the title anew is a question it answers
  // after everything asked before it.
  GdkWindow* gw = w->window->window;
  Display* d = GDK_WINDOW_XDISPLAY(gw);
  Window xw = GDK_WINDOW_XID(gw);
  Echo echo{gdk_x11_get_xatom_by_name("_NET_WM_VISIBLE_NAME")};
  gdk_window_add_filter(gw, on_echo, &echo);
  const char* title = gtk_window_get_title(GTK_WINDOW(w->window));
  std::string t = title ? title : "";
  XChangeProperty(d, xw, gdk_x11_get_xatom_by_name("_NET_WM_NAME"), gdk_x11_get_xatom_by_name("UTF8_STRING"), 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(t.data()), int(t.size()));
  bool answered = wait_until([&] { return echo.seen; });
  gdk_window_remove_filter(gw, on_echo, &echo);
  process_pending_now();
  return answered;
}

void choose_item(int widget, int item) {
  WidgetRec* rec = shown(widget);
  if (!rec) return;
  switch (rec->kind) {
    case WidgetKind::DropDown:
      gtk_combo_box_set_active(GTK_COMBO_BOX(rec->main), item);
      break;
    case WidgetKind::Panel:
      gtk_notebook_set_current_page(GTK_NOTEBOOK(rec->main), item);
      break;
    case WidgetKind::ListView: {
      int x = 0, y = 0;
      if (row_centre(*rec, item, &x, &y)) {
        press_release(window_of(*rec), x, y, 1, false);
      } else if (item >= 0 && item < item_count(widget)) {
        GtkTreePath* path = gtk_tree_path_new_from_indices(item, -1);
        gtk_tree_view_set_cursor(GTK_TREE_VIEW(rec->main), path, nullptr, FALSE);
        gtk_tree_path_free(path);
      }
      break;
    }
    default:
      break;
  }
  process_pending_now();
}

void toggle_item_check(int list, int row) {
  WidgetRec* rec = detail::find_widget(list, WidgetKind::ListView);
  if (!rec || !(rec->flags & kListCheckBoxes) || row < 0 || row >= item_count(list)) return;
  GtkTreeViewColumn* col = gtk_tree_view_get_column(GTK_TREE_VIEW(rec->main), 0);
  GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(col));
  for (GList* c = cells; c; c = c->next) {
    if (GTK_IS_CELL_RENDERER_TOGGLE(c->data)) {
      std::string path = std::to_string(row);
      g_signal_emit_by_name(c->data, "toggled", path.c_str());
      break;
    }
  }
  g_list_free(cells);
  process_pending_now();
}

void move_slider(int slider, int value) {
  WidgetRec* rec = detail::find_widget(slider, WidgetKind::Slider);
  if (!rec) return;
  gtk_range_set_value(GTK_RANGE(rec->main), value);
  process_pending_now();
}

void mouse_enter(int canvas, int x, int y) {
  if (WidgetRec* rec = shown(canvas)) send_crossing(*rec, GDK_ENTER_NOTIFY, x, y);
}

void mouse_leave(int canvas, int x, int y) {
  if (WidgetRec* rec = shown(canvas)) send_crossing(*rec, GDK_LEAVE_NOTIFY, x, y);
}

void mouse_move(int canvas, int x, int y, int buttons, int modifiers) {
  WidgetRec* rec = shown(canvas);
  if (!rec || !window_of(*rec)) return;
  GdkEvent* e = gdk_event_new(GDK_MOTION_NOTIFY);
  e->motion.window = GDK_WINDOW(g_object_ref(window_of(*rec)));
  e->motion.send_event = TRUE;
  e->motion.time = ++fake_time;
  e->motion.x = x;
  e->motion.y = y;
  e->motion.state = state_of(buttons, modifiers);
  e->motion.device = gdk_device_get_core_pointer();
  deliver(e);
}

void mouse_button(int canvas, int x, int y, int button, bool press, int modifiers) {
  WidgetRec* rec = shown(canvas);
  if (!rec) return;
  guint state = state_of(0, modifiers) | (press ? 0 : button_mask(button));
  send_button(window_of(*rec), press ? GDK_BUTTON_PRESS : GDK_BUTTON_RELEASE, button, x, y, state);
}

void press_key(int window, int key, int modifiers) {
  WindowRec* w = find_window(window);
  guint keyval = keyval_of_code(key, modifiers);
  if (!w || !w->window->window || !keyval) return;
  guint state = state_of(0, modifiers);
  send_key(w->window->window, GDK_KEY_PRESS, keyval, state);
  send_key(w->window->window, GDK_KEY_RELEASE, keyval, state);
}

void request_close(int window) {
  WindowRec* w = find_window(window);
  if (!w || !w->window->window) return;
  GdkEvent* e = gdk_event_new(GDK_DELETE);
  e->any.window = GDK_WINDOW(g_object_ref(w->window->window));
  e->any.send_event = TRUE;
  deliver(e);
}

void choose_menu_item(int item) {
  if (!menu_item_exists(item)) return;
  if (GtkWidget* w = menu_item_widget(item)) gtk_menu_item_activate(GTK_MENU_ITEM(w));
  process_pending_now();
}

std::vector<int> widgets_of_window(int window) {
  std::vector<std::pair<unsigned long, int>> found;
  for (auto& [n, rec] : widgets)
    if (rec->window == window) found.emplace_back(rec->serial, n);
  std::sort(found.begin(), found.end());
  std::vector<int> out;
  for (auto& [serial, n] : found) out.push_back(n);
  return out;
}

int find_widget(int window, const std::string& text) {
  for (int n : widgets_of_window(window)) {
    switch (widget_kind(n)) {
      case WidgetKind::Button:
      case WidgetKind::CheckBox:
      case WidgetKind::Option:
      case WidgetKind::Label:
      case WidgetKind::Input:
      case WidgetKind::TextArea:
        if (tk::text(n) == text) return n;
        break;
      default:
        break;
    }
  }
  return -1;
}

namespace {

void add_if_clipped(std::vector<ClippedText>& out, const char* text, int needed, int room) {
  if (needed > room) out.push_back(ClippedText{text ? text : "", needed, room});
}

// Where the widget is in its place (the area holding it and its neighbours).
GdkRectangle place_of(GtkWidget* w, GtkWidget* area) {
  GdkRectangle r{0, 0, w->allocation.width, w->allocation.height};
  gtk_widget_translate_coordinates(w, area, 0, 0, &r.x, &r.y);
  return r;
}

// Labels inside `w`, without going into the places holding other widgets. A
// label's text is seen from where GTK draws it to the end of the label or to
// the first neighbour of `rec` that starts over it, whichever comes first.
void clipped_labels(GtkWidget* w, const WidgetRec& rec, std::vector<ClippedText>& out) {
  if (!GTK_WIDGET_DRAWABLE(w)) return;
  if (GTK_IS_LABEL(w)) {
    int needed = 0;
    pango_layout_get_pixel_size(gtk_label_get_layout(GTK_LABEL(w)), &needed, nullptr);
    const GdkRectangle at = place_of(w, rec.parent_area);
    const int xpad = GTK_MISC(w)->xpad;
    const int start = at.x + xpad +
                      std::max(0, int(GTK_MISC(w)->xalign * float(at.width - w->requisition.width)));
    int end = at.x + at.width - xpad;
    for (auto& [n, other] : widgets) {
      if (other.get() == &rec || other->parent_area != rec.parent_area || !GTK_WIDGET_DRAWABLE(other->outer))
        continue;
      const GdkRectangle o = place_of(other->outer, rec.parent_area);
      if (o.x > at.x && o.x < end && o.y < at.y + at.height && at.y < o.y + o.height) end = o.x;
    }
    add_if_clipped(out, gtk_label_get_text(GTK_LABEL(w)), needed, end - start);
  }
  if (GTK_IS_CONTAINER(w) && !GTK_IS_LAYOUT(w)) {
    GList* children = nullptr;
    gtk_container_forall(
        GTK_CONTAINER(w), [](GtkWidget* child, gpointer list) {
          *static_cast<GList**>(list) = g_list_append(*static_cast<GList**>(list), child);
        },
        &children);
    for (GList* c = children; c; c = c->next) clipped_labels(GTK_WIDGET(c->data), rec, out);
    g_list_free(children);
  }
}

// The cut texts of the window as it is shown now.
void clipped_texts_shown(int window, std::vector<ClippedText>& out) {
  process_pending_now();
  for (int n : widgets_of_window(window)) {
    WidgetRec* rec = detail::find_widget(n);
    if (!rec || !GTK_WIDGET_DRAWABLE(rec->outer)) continue;
    if (rec->kind != WidgetKind::DropDown) {
      clipped_labels(rec->outer, *rec, out);
      continue;
    }
    // The closed drop-down shows whichever item is chosen: each must fit.
    GtkWidget* shown = gtk_bin_get_child(GTK_BIN(rec->main));
    for (int i = 0; shown && i < item_count(n); ++i) {
      GtkTreePath* path = gtk_tree_path_new_from_indices(i, -1);
      GtkRequisition needed{};
      gtk_cell_view_get_size_of_row(GTK_CELL_VIEW(shown), path, &needed);
      gtk_tree_path_free(path);
      add_if_clipped(out, item_text(n, i).c_str(), needed.width, shown->allocation.width);
    }
  }
}

}  // namespace

std::vector<ClippedText> clipped_texts(int window) {
  std::vector<ClippedText> out;
  clipped_texts_shown(window, out);
  // Each tab of each panel in turn, then the tab the user had.
  for (int n : widgets_of_window(window)) {
    WidgetRec* rec = detail::find_widget(n, WidgetKind::Panel);
    if (!rec) continue;
    Quiet quiet;
    const int shown = item_widget_state(*rec);
    for (int tab = 0; tab < item_count(n); ++tab) {
      if (tab == shown) continue;
      set_item_widget_state(*rec, tab);
      clipped_texts_shown(window, out);
    }
    set_item_widget_state(*rec, shown);
    process_pending_now();
  }
  // A text outside the panels is seen once per tab: name it once.
  std::vector<ClippedText> once;
  for (const ClippedText& c : out)
    if (std::find(once.begin(), once.end(), c) == once.end()) once.push_back(c);
  return once;
}

std::string describe_clipped_texts(int window) {
  GtkWidget* top = gtk_window_of(window);
  const char* title = top ? gtk_window_get_title(GTK_WINDOW(top)) : nullptr;
  std::string out;
  for (const ClippedText& c : clipped_texts(window))
    out += std::string("\"") + (title ? title : "") + "\": \"" + c.text + "\" needs " +
           std::to_string(c.needed) + " px, has " + std::to_string(c.room) + "\n";
  return out;
}

std::string describe_clipped_texts() {
  std::string out;
  for (int w : open_windows()) out += describe_clipped_texts(w);
  return out;
}

std::vector<int> open_windows() {
  std::vector<int> out;
  for (auto& [n, rec] : windows) out.push_back(n);
  return out;
}

void leave_window(const std::vector<std::string>& buttons) {
  const std::vector<int> open = open_windows();
  for (auto w = open.rbegin(); w != open.rend(); ++w)
    for (const std::string& b : buttons)
      if (int button = find_widget(*w, b); button != -1) return click(button);
  if (!open.empty()) request_close(open.back());
}

void look_then_leave(std::string& clipped, const std::vector<std::string>& buttons) {
  when_idle([&clipped, buttons] {
    clipped += describe_clipped_texts();
    leave_window(buttons);
  });
}

}  // namespace tk::test

namespace tk::detail {

namespace {

// Wherever the real pointer rests, a window mapped or moved under it gets
// crossing and motion events when the X server sends them, mixed into those
// a test drives; the drivers' events are all sent ones.
void without_real_pointer(GdkEvent* e, gpointer) {
  switch (e->type) {
    case GDK_MOTION_NOTIFY:
    case GDK_BUTTON_PRESS:
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS:
    case GDK_BUTTON_RELEASE:
    case GDK_ENTER_NOTIFY:
    case GDK_LEAVE_NOTIFY:
    case GDK_SCROLL:
      if (!e->any.send_event) return;
      break;
    default:
      break;
  }
  gtk_main_do_event(e);
}

void every_event(GdkEvent* e, gpointer) { gtk_main_do_event(e); }

}  // namespace

void ignore_real_pointer(bool on) {
  gdk_event_handler_set(on ? without_real_pointer : every_event, nullptr, nullptr);
}

}  // namespace tk::detail
