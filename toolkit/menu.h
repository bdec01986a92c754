#pragma once
// Menu bars, popup menus and keyboard shortcuts. Choosing a menu item raises
// kEventMenu with the item number for the window the menu belongs to (a popup
// menu: the window it was shown over). A shortcut raises the same event.
#include <string>

namespace tk {

// Creates the menu bar of a window (one per window; a taken number is freed
// first). Titles and items added next go into it. Returns the number or -1.
int menu_bar(int number, int window);
// Creates a popup menu; items added next go into it. Returns the number or -1.
int popup_menu(int number);
void free_menu(int menu);
bool menu_exists(int menu);

// Adds a title to the menu bar being built; its items follow.
void menu_title(const std::string& title);
// Adds an item to the menu being built. A TAB in the text separates the label
// from the shortcut text shown at the right ("Save\tCtrl + S").
void menu_item(int item, const std::string& text, int image = -1);
void menu_separator();

bool menu_item_exists(int item);
std::string menu_item_text(int item);
int menu_item_menu(int item);  // the menu holding the item, -1 when none
void disable_menu_item(int item, bool disabled);

// Shows a popup menu at the mouse position over the window.
void show_popup_menu(int menu, int window);
int last_popup_menu();  // the menu shown last, -1 when none

// ---- keyboard shortcuts ----
// Key codes: letters 'A'..'Z' and digits '0'..'9' as their upper-case ASCII
// codes, and the names below.
constexpr int kKeyBackspace = 0x08;
constexpr int kKeyTab = 0x09;
constexpr int kKeyReturn = 0x0d;
constexpr int kKeyShift = 0x10;
constexpr int kKeyControl = 0x11;
constexpr int kKeyAlt = 0x12;
constexpr int kKeyEscape = 0x1b;
constexpr int kKeySpace = 0x20;
constexpr int kKeyPageUp = 0x21;
constexpr int kKeyPageDown = 0x22;
constexpr int kKeyEnd = 0x23;
constexpr int kKeyHome = 0x24;
constexpr int kKeyLeft = 0x25;
constexpr int kKeyUp = 0x26;
constexpr int kKeyRight = 0x27;
constexpr int kKeyDown = 0x28;
constexpr int kKeyInsert = 0x2d;
constexpr int kKeyDelete = 0x2e;
constexpr int kKeyF1 = 0x70;  // kKeyF1 + n - 1 for Fn, up to F12
constexpr int kKeyF5 = kKeyF1 + 4;
// Modifiers: kShift, kAlt, kControl of toolkit/events.h, or 0.

// Pressing the key with exactly these modifiers in the window raises the
// menu event `item`. Adding the same keys again replaces the item.
void add_shortcut(int window, int modifiers, int key, int item);
void remove_shortcut(int window, int modifiers, int key);
void remove_all_shortcuts(int window);
int shortcut_item(int window, int modifiers, int key);  // -1 when none

// Key code of a GDK key value (0 for keys without a code); for canvases too.
int key_code_of_keyval(unsigned keyval);

}  // namespace tk
