#pragma once
// Windows by number. Each window holds a menu bar (when it has one) above a
// fixed-position area where widgets are placed at (x, y, width, height).
// Every call on a number that names no window does nothing and returns a
// neutral value (0, "", false).
#include <climits>
#include <string>

namespace tk {

// Numbers allocated at run time (windows, widgets, fonts, menus) start here;
// the program's fixed numbers all lie below.
constexpr int kFirstDynamicNumber = 100000;
// Pass as a number to have one allocated; the call returns it.
constexpr int kAny = -1;
// Pass as a coordinate or size to keep the current value.
constexpr int kKeep = INT_MIN;

// Initialises GTK; false when there is no display.
bool init(int& argc, char**& argv);

// Window flags. Without flags a window has a title bar with a close box and
// a fixed size.
constexpr unsigned kWindowBorderless = 1;    // no title bar, no frame
constexpr unsigned kWindowMinimizeBox = 2;
constexpr unsigned kWindowMaximizeBox = 4;
constexpr unsigned kWindowResizable = 8;
constexpr unsigned kWindowCentred = 16;      // x and y are ignored
constexpr unsigned kWindowInvisible = 32;    // not shown until show_window

// Opens a window with the given inner size; a taken number is closed first.
// Returns the number, -1 on failure. New widgets go into this window.
// Its first showing raises kEventSizeWindow like a size change; once the
// program has built it, the window is activated and its first editable
// field in sight (in creation order) takes the keyboard focus.
int open_window(int number, int x, int y, int width, int height, const std::string& title,
                unsigned flags = 0);
void close_window(int window);  // with its widgets, menus, shortcuts and timers
void close_all_windows();
bool window_exists(int window);
void show_window(int window);

void set_window_title(int window, const std::string& title);
std::string window_title(int window);

// A disabled window (and everything in it) produces no events but timers.
void disable_window(int window, bool disabled);
bool window_disabled(int window);
void keep_window_above(int window, bool above);
bool window_kept_above(int window);
void activate_window(int window);  // raises it and gives it the focus

// The window manager's state of the window.
void maximize_window(int window);
void minimize_window(int window);
void restore_window(int window);
bool window_maximized(int window);
bool window_minimized(int window);

// Outer position on the screen and inner size (the menu bar included).
int window_x(int window);
int window_y(int window);
int window_width(int window);
int window_height(int window);
void resize_window(int window, int x, int y, int width, int height);  // kKeep keeps a value

// Height of the window's menu bar, 0 when it has none.
int menu_bar_height(int window);
// Width in pixels of the first monitor of the default screen.
int first_monitor_width();

// New widgets go into this window's area (and no longer into any container).
void use_window(int window);

}  // namespace tk
