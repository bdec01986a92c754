// Windows: numbers, geometry, flags, window-manager state and the events
// that windows raise.
#include "wintest_fixture.h"

#include <X11/Xatom.h>
#include <gdk/gdkx.h>

#include "toolkit/gtk_access.h"

using namespace tk;

using Windows = WinTest;

namespace {
// The atoms of an X property of the window, by name (none without the property).
std::vector<std::string> atom_property(int window, const char* property) {
  GdkWindow* gw = gtk_window_of(window)->window;
  std::vector<std::string> out;
  if (!gw) return out;
  Display* dpy = GDK_WINDOW_XDISPLAY(gw);
  Atom type;
  int format;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy, GDK_WINDOW_XID(gw), XInternAtom(dpy, property, False), 0, 64, False,
                         XA_ATOM, &type, &format, &count, &after, &data) == Success &&
      data && format == 32)
    for (unsigned long i = 0; i < count; ++i) {
      char* name = XGetAtomName(dpy, reinterpret_cast<Atom*>(data)[i]);
      out.push_back(name);
      XFree(name);
    }
  if (data) XFree(data);
  return out;
}
bool contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}
// What the window manager says about a window, from _NET_WM_STATE.
bool has_wm_state(int window, const char* name) {
  return contains(atom_property(window, "_NET_WM_STATE"), name);
}
}  // namespace

TEST_F(Windows, FixedAndRunTimeNumbersAndReopening) {
  EXPECT_EQ(open_window(15, 10, 10, 300, 200, "Main"), 15);
  int a = open_window(kAny, 0, 0, 100, 100, "A");
  int b = open_window(kAny, 0, 0, 100, 100, "B");
  EXPECT_GE(a, kFirstDynamicNumber);
  EXPECT_GT(b, a);
  // A number closed and allocated again is never handed out twice.
  close_window(a);
  EXPECT_FALSE(window_exists(a));
  int c = open_window(kAny, 0, 0, 100, 100, "C");
  EXPECT_GT(c, b);

  // Reopening under a taken number frees the old window and its widgets.
  use_window(15);
  int old_button = button(kAny, 10, 10, 50, 20, "old");
  EXPECT_EQ(open_window(15, 10, 10, 320, 240, "Main again"), 15);
  EXPECT_FALSE(widget_exists(old_button));
  EXPECT_EQ(window_title(15), "Main again");
  EXPECT_EQ(window_width(15), 320);
  EXPECT_EQ(window_height(15), 240);
}

TEST_F(Windows, NumbersThatNameNothingGiveNeutralValues) {
  close_window(777);
  set_window_title(777, "x");
  disable_window(777, true);
  maximize_window(777);
  resize_window(777, 1, 2, 3, 4);
  EXPECT_EQ(window_title(777), "");
  EXPECT_FALSE(window_exists(777));
  EXPECT_FALSE(window_disabled(777));
  EXPECT_FALSE(window_maximized(777));
  EXPECT_EQ(window_width(777), 0);
  EXPECT_EQ(window_x(777), 0);
  EXPECT_EQ(menu_bar_height(777), 0);
  // No current window: widgets are not created.
  close_all_windows();
  EXPECT_EQ(button(5, 0, 0, 10, 10, "x"), -1);
  EXPECT_FALSE(widget_exists(5));
}

TEST_F(Windows, TitleAndInnerSizeAndPosition) {
  open_window(20, 50, 60, 400, 300, "First");
  set_window_title(20, "Second");
  EXPECT_EQ(window_title(20), "Second");
  ASSERT_TRUE(eventually([] { return GTK_WIDGET_MAPPED(gtk_window_of(20)); }));
  // The inner size is the client area the window manager gives.
  ASSERT_TRUE(eventually([] { return gtk_window_of(20)->allocation.width == 400; }));
  EXPECT_EQ(gtk_window_of(20)->allocation.height, 300);

  resize_window(20, 120, 130, 500, 350);
  EXPECT_EQ(window_width(20), 500);
  EXPECT_EQ(window_height(20), 350);
  ASSERT_TRUE(eventually([] { return window_x(20) == 120 && window_y(20) == 130; }))
      << window_x(20) << "," << window_y(20);
  ASSERT_TRUE(eventually([] { return gtk_window_of(20)->allocation.width == 500; }));
  // A place read back and set again stays put.
  int x = window_x(20), y = window_y(20);
  resize_window(20, x, y, kKeep, kKeep);
  ASSERT_TRUE(tk::test::settle(20));
  EXPECT_EQ(window_x(20), x);
  EXPECT_EQ(window_y(20), y);
}

TEST_F(Windows, CentredWindowLiesInTheMiddleOfTheScreen) {
  open_window(21, 0, 0, 400, 160, "Please wait...", kWindowBorderless | kWindowCentred);
  ASSERT_TRUE(eventually([] { return GTK_WIDGET_MAPPED(gtk_window_of(21)); }));
  int sw = gdk_screen_get_width(gdk_screen_get_default());
  int sh = gdk_screen_get_height(gdk_screen_get_default());
  // The window manager may report the two coordinates in separate moves.
  ASSERT_TRUE(eventually([&] { return window_x(21) == (sw - 400) / 2 && window_y(21) == (sh - 160) / 2; }))
      << window_x(21) << ", " << window_y(21);
  EXPECT_FALSE(gtk_window_get_decorated(GTK_WINDOW(gtk_window_of(21))));
  EXPECT_EQ(first_monitor_width(), sw);
}

TEST_F(Windows, CloseBoxRaisesACloseRequestAndLeavesTheWindowOpen) {
  open_window(22, 0, 0, 200, 100, "Close me");
  tk::test::take_events();
  tk::test::request_close(22);
  auto events = events_of_type(kEventCloseWindow, 22);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_TRUE(window_exists(22));
}

TEST_F(Windows, DisabledWindowRaisesNothingButTimers) {
  open_window(23, 0, 0, 200, 100, "Disabled");
  int b = button(kAny, 10, 10, 80, 25, "OK");
  add_shortcut(23, kControl, 'S', 19);
  disable_window(23, true);
  EXPECT_TRUE(window_disabled(23));
  tk::test::take_events();
  tk::test::request_close(23);
  tk::test::click(b);
  tk::test::press_key(23, 'S', kControl);
  EXPECT_TRUE(tk::test::take_events().empty());

  add_timer(23, 88, 5);
  Event e = wait_event();
  EXPECT_EQ(e.type, kEventTimer);
  EXPECT_EQ(e.object, 88);
  remove_timer(23, 88);

  disable_window(23, false);
  tk::test::take_events();
  tk::test::click(b);
  EXPECT_EQ(subtypes_of(b), std::vector<int>{kLeftClick});
}

TEST_F(Windows, MaximiseAndRestoreThroughTheWindowManager) {
  open_window(15, 0, 0, 400, 300, "Main", kWindowResizable | kWindowMinimizeBox | kWindowMaximizeBox);
  ASSERT_TRUE(eventually([] { return GTK_WIDGET_MAPPED(gtk_window_of(15)); }));
  tk::test::take_events();
  maximize_window(15);
  ASSERT_TRUE(eventually([] { return window_maximized(15); }));
  ASSERT_TRUE(eventually([] { return window_width(15) > 400; }));
  std::vector<int> types;
  for (const Event& e : tk::test::take_events())
    if (e.window == 15) types.push_back(e.type);
  EXPECT_NE(std::find(types.begin(), types.end(), kEventMaximize), types.end());
  EXPECT_NE(std::find(types.begin(), types.end(), kEventSizeWindow), types.end());

  restore_window(15);
  ASSERT_TRUE(eventually([] { return !window_maximized(15); }));
  ASSERT_TRUE(eventually([] { return window_width(15) == 400; }));
  types.clear();
  for (const Event& e : tk::test::take_events())
    if (e.window == 15) types.push_back(e.type);
  EXPECT_NE(std::find(types.begin(), types.end(), kEventRestore), types.end());
}

TEST_F(Windows, MinimiseRaisesTheMinimisedEvent) {
  open_window(24, 0, 0, 300, 200, "Min", kWindowMinimizeBox);
  ASSERT_TRUE(eventually([] { return GTK_WIDGET_MAPPED(gtk_window_of(24)); }));
  tk::test::take_events();
  minimize_window(24);
  ASSERT_TRUE(eventually([] { return window_minimized(24); }));
  EXPECT_FALSE(events_of_type(kEventMinimize, 24).empty());
}

TEST_F(Windows, KeepAboveAndActivate) {
  open_window(25, 0, 0, 200, 100, "Above");
  open_window(26, 0, 0, 200, 100, "Other");
  keep_window_above(25, true);
  EXPECT_TRUE(window_kept_above(25));
  ASSERT_TRUE(eventually([] { return has_wm_state(25, "_NET_WM_STATE_ABOVE"); }));
  keep_window_above(25, false);
  EXPECT_FALSE(window_kept_above(25));
  ASSERT_TRUE(eventually([] { return !has_wm_state(25, "_NET_WM_STATE_ABOVE"); }));
  activate_window(26);
  EXPECT_TRUE(eventually([] { return gtk_window_is_active(GTK_WINDOW(gtk_window_of(26))); }));
}

TEST_F(Windows, UserResizeRaisesTheResizedEvent) {
  open_window(27, 0, 0, 300, 200, "Resizable", kWindowResizable);
  ASSERT_TRUE(eventually([] { return GTK_WIDGET_MAPPED(gtk_window_of(27)); }));
  tk::test::take_events();
  // As a window manager would: a new size for the toplevel.
  gtk_window_resize(GTK_WINDOW(gtk_window_of(27)), 350, 260);
  ASSERT_TRUE(eventually([] { return window_width(27) == 350; }));
  EXPECT_EQ(window_height(27), 260);
  EXPECT_FALSE(events_of_type(kEventSizeWindow, 27).empty());
}

TEST_F(Windows, FixedSizeWindowIgnoresWidgetsFarOutOfSight) {
  open_window(28, 0, 0, 300, 200, "Fixed");
  // Widgets parked far off (as a dialog hides a group) must not grow the window.
  button(kAny, 10000, 10, 100, 25, "far");
  label(kAny, -5000, -5000, 100, 25, "far too");
  ASSERT_TRUE(eventually([] { return GTK_WIDGET_MAPPED(gtk_window_of(28)); }));
  ASSERT_TRUE(tk::test::settle(28));
  EXPECT_EQ(gtk_window_of(28)->allocation.width, 300);
  EXPECT_EQ(gtk_window_of(28)->allocation.height, 200);
}

// The first showing is a size change of its own, at once and whatever the
// window manager does; later showings are not.
TEST_F(Windows, FirstShowingRaisesOneSizeEvent) {
  open_window(30, 0, 0, 300, 200, "Shown");
  open_window(31, 0, 0, 300, 200, "Hidden", kWindowInvisible);
  auto sizes = [](int window) {
    int n = 0;
    for (const Event& e : tk::test::take_events()) n += e.type == kEventSizeWindow && e.window == window;
    return n;
  };
  EXPECT_EQ(sizes(30), 1);
  EXPECT_EQ(sizes(31), 0);
  show_window(31);
  EXPECT_EQ(sizes(31), 1);
  gtk_widget_hide(gtk_window_of(31));
  show_window(31);
  EXPECT_EQ(sizes(31), 0);
}

// The title-bar buttons and the actions the window manager allows, as
// openbox reports them, follow the window's flags.
TEST_F(Windows, WindowManagerAllowsExactlyTheActionsOfTheFlags) {
  struct Case {
    unsigned flags;
    bool minimise, maximise, resize;
  } cases[] = {
      {0, false, false, false},
      {kWindowMinimizeBox, true, false, false},
      {kWindowResizable, false, false, true},
      {kWindowResizable | kWindowMinimizeBox | kWindowMaximizeBox, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    open_window(32, 0, 0, 300, 200, "Actions", c.flags);
    ASSERT_TRUE(eventually([] {
      return contains(atom_property(32, "_NET_WM_ALLOWED_ACTIONS"), "_NET_WM_ACTION_CLOSE");
    }));
    auto actions = atom_property(32, "_NET_WM_ALLOWED_ACTIONS");
    EXPECT_EQ(contains(actions, "_NET_WM_ACTION_MINIMIZE"), c.minimise);
    EXPECT_EQ(contains(actions, "_NET_WM_ACTION_MAXIMIZE_HORZ"), c.maximise);
    EXPECT_EQ(contains(actions, "_NET_WM_ACTION_RESIZE"), c.resize);
    EXPECT_TRUE(contains(actions, "_NET_WM_ACTION_MOVE"));
    close_window(32);
  }
}

// A window opens with the keyboard focus in its first field in sight, in the
// order the widgets were made, and is the active window.
TEST_F(Windows, OpensWithTheFocusInTheFirstFieldInSight) {
  open_window(33, 0, 0, 300, 200, "Focus");
  button(kAny, 10, 10, 80, 25, "OK");
  input(kAny, 10, 40, 80, 25, "", kInputReadOnly);
  input(kAny, -2400, 10, 80, 25, "");  // parked out of sight
  int first = input(kAny, 10, 70, 80, 25, "");
  int second = input(kAny, 100, 70, 80, 25, "");
  tk::process_pending();
  EXPECT_TRUE(widget_focused(first));
  EXPECT_TRUE(eventually([] { return gtk_window_is_active(GTK_WINDOW(gtk_window_of(33))); }));
  tk::test::press_key(33, 'Q');
  EXPECT_EQ(text(first), "q");
  EXPECT_EQ(text(second), "");

  // A field the program focused itself keeps the focus; a text area counts.
  open_window(34, 0, 0, 300, 200, "Chosen");
  text_area(kAny, 10, 10, 200, 50);
  int chosen = input(kAny, 10, 100, 80, 25, "");
  focus_widget(chosen);
  tk::process_pending();
  EXPECT_TRUE(widget_focused(chosen));
  open_window(35, 0, 0, 300, 200, "Area");
  int area = text_area(kAny, 10, 10, 200, 50);
  input(kAny, 10, 100, 80, 25, "");
  tk::process_pending();
  EXPECT_TRUE(widget_focused(area));
}

TEST_F(Windows, PictureFramesAndScrollAreaBorders) {
  open_window(36, 0, 0, 300, 200, "Frames");
  int plain = image_view(kAny, 10, 10, 50, 50, -1);
  int sunken = image_view(kAny, 70, 10, 50, 50, -1, kImageViewSunken);
  EXPECT_FALSE(GTK_IS_FRAME(gtk_widget_get_parent(gtk_widget_of(plain))));
  GtkWidget* frame = gtk_widget_get_parent(gtk_widget_of(sunken));
  ASSERT_TRUE(GTK_IS_FRAME(frame));
  EXPECT_EQ(gtk_frame_get_shadow_type(GTK_FRAME(frame)), GTK_SHADOW_IN);
  EXPECT_EQ(widget_width(sunken), 50);
  tk::test::take_events();
  tk::test::click(sunken);
  EXPECT_EQ(subtypes_of(sunken), std::vector<int>{kLeftClick});

  struct Case {
    unsigned flags;
    GtkShadowType shadow;
  } cases[] = {{0, GTK_SHADOW_NONE}, {kScrollEtched, GTK_SHADOW_ETCHED_IN}, {kScrollRaised, GTK_SHADOW_OUT}};
  for (const Case& c : cases) {
    int area = scroll_area(kAny, 10, 70, 100, 100, 200, 200, 16, c.flags);
    close_container();
    EXPECT_EQ(gtk_scrolled_window_get_shadow_type(GTK_SCROLLED_WINDOW(gtk_widget_of(area))), c.shadow)
        << c.flags;
  }
}
