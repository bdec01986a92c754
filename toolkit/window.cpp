#include "toolkit/window.h"

#include <X11/Xatom.h>
#include <gdk/gdkx.h>

#include <algorithm>

#include "toolkit/gtk_access.h"
#include "toolkit/internal.h"
#include "toolkit/menu.h"

namespace tk {
namespace detail {

std::map<int, WindowRec> windows;
std::vector<Place> places;

WindowRec* find_window(int number) {
  auto it = windows.find(number);
  return it == windows.end() ? nullptr : &it->second;
}

void forget_window_places(int window) {
  std::erase_if(places, [&](const Place& p) { return p.window == window; });
}

namespace {

int next_window = kFirstDynamicNumber;

gboolean on_delete(GtkWidget*, GdkEvent*, gpointer data) {
  int n = GPOINTER_TO_INT(data);
  push(Event{kEventCloseWindow, n, -1, 0});
  return TRUE;  // the program decides whether the window closes
}

gboolean on_configure(GtkWidget*, GdkEventConfigure* e, gpointer data) {
  WindowRec* w = find_window(GPOINTER_TO_INT(data));
  if (w && (e->width != w->width || e->height != w->height)) {
    w->width = e->width;
    w->height = e->height;
    push(Event{kEventSizeWindow, w->number, -1, 0});
  }
  return FALSE;
}

gboolean on_window_state(GtkWidget*, GdkEventWindowState* e, gpointer data) {
  WindowRec* w = find_window(GPOINTER_TO_INT(data));
  if (!w) return FALSE;
  auto now = e->new_window_state;
  w->state = now;
  auto changed = e->changed_mask;
  auto became = [&](GdkWindowState s) { return (changed & s) && (now & s); };
  auto left = [&](GdkWindowState s) { return (changed & s) && !(now & s); };
  if (became(GDK_WINDOW_STATE_ICONIFIED))
    push(Event{kEventMinimize, w->number, -1, 0});
  else if (became(GDK_WINDOW_STATE_MAXIMIZED))
    push(Event{kEventMaximize, w->number, -1, 0});
  else if ((left(GDK_WINDOW_STATE_ICONIFIED) || left(GDK_WINDOW_STATE_MAXIMIZED)) &&
           !(now & (GDK_WINDOW_STATE_ICONIFIED | GDK_WINDOW_STATE_MAXIMIZED)))
    push(Event{kEventRestore, w->number, -1, 0});
  return FALSE;
}

gboolean on_key(GtkWidget*, GdkEventKey* e, gpointer data) {
  WindowRec* w = find_window(GPOINTER_TO_INT(data));
  if (!w || w->shortcuts.empty() || w->disabled) return FALSE;
  // Shortcuts name the unshifted key, so read the key at level 0.
  guint keyval = e->keyval;
  gdk_keymap_translate_keyboard_state(gdk_keymap_get_default(), e->hardware_keycode,
                                      GdkModifierType(0), e->group, &keyval, nullptr, nullptr,
                                      nullptr);
  int key = key_code_of_keyval(keyval);
  if (!key) key = key_code_of_keyval(e->keyval);
  auto it = w->shortcuts.find({modifiers_of(e->state), key});
  if (it == w->shortcuts.end()) return FALSE;
  push(Event{kEventMenu, w->number, it->second, 0});
  return TRUE;
}

// The field a user starts typing in: editable, in sight and enabled.
bool is_starting_field(WidgetRec& rec) {
  GtkWidget* g = rec.main;
  if (rec.kind == WidgetKind::Input && !gtk_editable_get_editable(GTK_EDITABLE(g))) return false;
  if (rec.kind == WidgetKind::TextArea && !gtk_text_view_get_editable(GTK_TEXT_VIEW(g)))
    return false;
  if (rec.kind != WidgetKind::Input && rec.kind != WidgetKind::TextArea &&
      rec.kind != WidgetKind::Foreign)
    return false;
  if (!gtk_widget_get_mapped(g) || !gtk_widget_is_sensitive(g) || !gtk_widget_get_can_focus(g))
    return false;
  // Programs park widgets they hide outside the window.
  GtkWidget* top = gtk_widget_get_toplevel(g);
  int x = 0, y = 0;
  if (!gtk_widget_translate_coordinates(g, top, 0, 0, &x, &y)) return false;
  return x + g->allocation.width > 0 && y + g->allocation.height > 0 &&
         x < top->allocation.width && y < top->allocation.height;
}

// Runs once the program has built the window it just showed: the window is
// activated and the keyboard focus goes to its first field (in the order the
// widgets were made), unless a field has it already.
gboolean on_first_built(gpointer data) {
  WindowRec* w = find_window(GPOINTER_TO_INT(data));
  if (!w) return FALSE;
  w->first_focus = 0;
  if (w->flags & kWindowBorderless) {
    gdk_window_raise(w->window->window);  // in sight, the focus left where it is
    return FALSE;
  }
  gtk_window_present(GTK_WINDOW(w->window));
  GtkWidget* focused = gtk_window_get_focus(GTK_WINDOW(w->window));
  WidgetRec* first = nullptr;
  for (auto& [n, rec] : widgets) {
    if (rec->window != w->number || !is_starting_field(*rec)) continue;
    if (rec->main == focused) return FALSE;
    if (!first || rec->serial < first->serial) first = rec.get();
  }
  if (first) gtk_widget_grab_focus(first->main);
  return FALSE;
}

// The first showing counts as a size change, so that the program lays the
// window out before the user works in it, whether or not the window manager
// resizes it.
void on_map(GtkWidget*, gpointer data) {
  WindowRec* w = find_window(GPOINTER_TO_INT(data));
  if (!w || w->appeared) return;
  w->appeared = true;
  push(Event{kEventSizeWindow, w->number, -1, 0});
  w->first_focus = g_idle_add(on_first_built, data);
}

void on_realize(GtkWidget* widget, gpointer data) {
  WindowRec* w = find_window(GPOINTER_TO_INT(data));
  if (!w || (w->flags & kWindowBorderless)) return;
  int functions = GDK_FUNC_MOVE | GDK_FUNC_CLOSE;
  int decorations = GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU;
  if (w->flags & kWindowMinimizeBox) {
    functions |= GDK_FUNC_MINIMIZE;
    decorations |= GDK_DECOR_MINIMIZE;
  }
  if (w->flags & kWindowMaximizeBox) {
    functions |= GDK_FUNC_MAXIMIZE;
    decorations |= GDK_DECOR_MAXIMIZE;
  }
  if (w->flags & kWindowResizable) {
    functions |= GDK_FUNC_RESIZE;
    decorations |= GDK_DECOR_RESIZEH;
  }
  gdk_window_set_functions(widget->window, GdkWMFunction(functions));
  gdk_window_set_decorations(widget->window, GdkWMDecoration(decorations));
}

// A fixed-size window takes its size from its contents' request.
void set_inner_size(WindowRec& w, int width, int height) {
  w.width = width;
  w.height = height;
  if (w.flags & kWindowResizable) {
    gtk_window_resize(GTK_WINDOW(w.window), std::max(1, width), std::max(1, height));
  } else {
    gtk_widget_set_size_request(w.vbox, std::max(1, width), std::max(1, height));
  }
}

}  // namespace
}  // namespace detail

using namespace detail;

bool init(int& argc, char**& argv) { return gtk_init_check(&argc, &argv); }

int open_window(int number, int x, int y, int width, int height, const std::string& title,
                unsigned flags) {
  if (number == kAny) number = allocate_number(windows, next_window);
  if (number < 0) return -1;
  close_window(number);
  WindowRec& w = windows[number];
  w.number = number;
  w.flags = flags;
  w.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* win = GTK_WINDOW(w.window);
  gtk_window_set_title(win, title.c_str());
  gtk_window_set_resizable(win, (flags & kWindowResizable) != 0);
  if (flags & kWindowBorderless) {
    // A notice shown while the program works (splash, "Please wait..."):
    // keys typed meanwhile stay with the window the user works in rather
    // than vanish into the notice.
    gtk_window_set_decorated(win, FALSE);
    gtk_window_set_accept_focus(win, FALSE);
    gtk_window_set_focus_on_map(win, FALSE);
  }
  // openbox offers minimise whatever the Motif hints of on_realize say, but
  // not on a toolbar window (nor maximise). It does not focus a toolbar
  // window as it appears either; on_first_built activates it.
  else if (!(flags & kWindowMinimizeBox))
    gtk_window_set_type_hint(win, GDK_WINDOW_TYPE_HINT_TOOLBAR);
  // A window belongs to the one opened last that is still shown: the window
  // manager then keeps it above that one (a toolbar window among them too).
  static unsigned long opened = 0;
  w.opened = ++opened;
  const WindowRec* owner = nullptr;
  for (const auto& [n, other] : windows)
    if (n != number && gtk_widget_get_visible(other.window) && !(other.flags & kWindowBorderless) &&
        (!owner || other.opened > owner->opened))
      owner = &other;
  if (owner) gtk_window_set_transient_for(win, GTK_WINDOW(owner->window));
  if (flags & kWindowCentred)
    gtk_window_set_position(win, GTK_WIN_POS_CENTER);
  else
    gtk_window_move(win, x, y);
  w.vbox = gtk_vbox_new(FALSE, 0);
  gtk_container_add(GTK_CONTAINER(w.window), w.vbox);
  w.area = gtk_layout_new(nullptr, nullptr);
  gtk_box_pack_end(GTK_BOX(w.vbox), w.area, TRUE, TRUE, 0);
  if (flags & kWindowResizable) gtk_window_set_default_size(win, width, height);
  set_inner_size(w, width, height);
  gpointer data = GINT_TO_POINTER(number);
  g_signal_connect(w.window, "delete-event", G_CALLBACK(on_delete), data);
  g_signal_connect(w.window, "configure-event", G_CALLBACK(on_configure), data);
  g_signal_connect(w.window, "window-state-event", G_CALLBACK(on_window_state), data);
  g_signal_connect(w.window, "key-press-event", G_CALLBACK(on_key), data);
  g_signal_connect(w.window, "realize", G_CALLBACK(on_realize), data);
  g_signal_connect(w.window, "map", G_CALLBACK(on_map), data);
  gtk_widget_show_all(w.vbox);
  if (!(flags & kWindowInvisible)) gtk_widget_show(w.window);
  use_window(number);
  return number;
}

void show_window(int window) {
  if (WindowRec* w = find_window(window)) gtk_widget_show(w->window);
}

void close_window(int window) {
  WindowRec* w = find_window(window);
  if (!w) return;
  for (auto& [n, id] : w->timers)
    if (id) g_source_remove(id);
  w->timers.clear();
  if (w->first_focus) g_source_remove(w->first_focus);
  GtkWidget* gw = w->window;
  forget_window_places(window);
  // Destroying the GTK window destroys its widgets, whose records go with them.
  gtk_widget_destroy(gw);
  windows.erase(window);
}

void close_all_windows() {
  while (!windows.empty()) close_window(windows.begin()->first);
  places.clear();
}

bool window_exists(int window) { return find_window(window) != nullptr; }

void set_window_title(int window, const std::string& title) {
  if (WindowRec* w = find_window(window)) gtk_window_set_title(GTK_WINDOW(w->window), title.c_str());
}

std::string window_title(int window) {
  WindowRec* w = find_window(window);
  if (!w) return "";
  const char* t = gtk_window_get_title(GTK_WINDOW(w->window));
  return t ? t : "";
}

void disable_window(int window, bool disabled) {
  WindowRec* w = find_window(window);
  if (!w) return;
  w->disabled = disabled;
  gtk_widget_set_sensitive(w->vbox, !disabled);
}

bool window_disabled(int window) {
  WindowRec* w = find_window(window);
  return w && w->disabled;
}

void keep_window_above(int window, bool above) {
  WindowRec* w = find_window(window);
  if (!w) return;
  w->above = above;
  gtk_window_set_keep_above(GTK_WINDOW(w->window), above);
}

bool window_kept_above(int window) {
  WindowRec* w = find_window(window);
  return w && w->above;
}

void activate_window(int window) {
  if (WindowRec* w = find_window(window)) gtk_window_present(GTK_WINDOW(w->window));
}

void maximize_window(int window) {
  if (WindowRec* w = find_window(window)) gtk_window_maximize(GTK_WINDOW(w->window));
}
void minimize_window(int window) {
  if (WindowRec* w = find_window(window)) gtk_window_iconify(GTK_WINDOW(w->window));
}
void restore_window(int window) {
  WindowRec* w = find_window(window);
  if (!w) return;
  gtk_window_deiconify(GTK_WINDOW(w->window));
  gtk_window_unmaximize(GTK_WINDOW(w->window));
}

namespace {
// The window manager's own word on the state, read from _NET_WM_STATE.
bool has_net_wm_state(WindowRec& w, const char* atom_name) {
  GdkWindow* gw = w.window->window;
  if (!gw) return false;
  Display* dpy = GDK_WINDOW_XDISPLAY(gw);
  Atom prop = XInternAtom(dpy, "_NET_WM_STATE", False);
  Atom wanted = XInternAtom(dpy, atom_name, False);
  Atom type;
  int format;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(dpy, GDK_WINDOW_XID(gw), prop, 0, 64, False, XA_ATOM, &type, &format,
                         &count, &after, &data) == Success &&
      data && format == 32) {
    auto* atoms = reinterpret_cast<Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) found = found || atoms[i] == wanted;
  }
  if (data) XFree(data);
  return found;
}
}  // namespace

bool window_maximized(int window) {
  WindowRec* w = find_window(window);
  return w && has_net_wm_state(*w, "_NET_WM_STATE_MAXIMIZED_VERT") &&
         has_net_wm_state(*w, "_NET_WM_STATE_MAXIMIZED_HORZ");
}

bool window_minimized(int window) {
  WindowRec* w = find_window(window);
  return w && ((w->state & GDK_WINDOW_STATE_ICONIFIED) || has_net_wm_state(*w, "_NET_WM_STATE_HIDDEN"));
}

int window_x(int window) {
  WindowRec* w = find_window(window);
  if (!w) return 0;
  int x = 0, y = 0;
  gtk_window_get_position(GTK_WINDOW(w->window), &x, &y);
  return x;
}

int window_y(int window) {
  WindowRec* w = find_window(window);
  if (!w) return 0;
  int x = 0, y = 0;
  gtk_window_get_position(GTK_WINDOW(w->window), &x, &y);
  return y;
}

int window_width(int window) {
  WindowRec* w = find_window(window);
  return w ? w->width : 0;
}

int window_height(int window) {
  WindowRec* w = find_window(window);
  return w ? w->height : 0;
}

void resize_window(int window, int x, int y, int width, int height) {
  WindowRec* w = find_window(window);
  if (!w) return;
  if (x != kKeep || y != kKeep) {
    int ox = 0, oy = 0;
    gtk_window_get_position(GTK_WINDOW(w->window), &ox, &oy);
    gtk_window_move(GTK_WINDOW(w->window), x == kKeep ? ox : x, y == kKeep ? oy : y);
  }
  if (width != kKeep || height != kKeep)
    set_inner_size(*w, width == kKeep ? w->width : width, height == kKeep ? w->height : height);
}

int menu_bar_height(int window) {
  WindowRec* w = find_window(window);
  if (!w || !w->menubar) return 0;
  if (w->menubar->allocation.height > 1) return w->menubar->allocation.height;
  GtkRequisition r;
  gtk_widget_size_request(w->menubar, &r);
  return r.height;
}

int first_monitor_width() {
  GdkScreen* screen = gdk_screen_get_default();
  if (!screen) return 0;
  GdkRectangle r;
  gdk_screen_get_monitor_geometry(screen, 0, &r);
  return r.width;
}

void use_window(int window) {
  if (!find_window(window)) return;
  places.clear();
  places.push_back(Place{window, -1, 0, -1});
}

GtkWidget* gtk_window_of(int window) {
  WindowRec* w = find_window(window);
  return w ? w->window : nullptr;
}

}  // namespace tk
