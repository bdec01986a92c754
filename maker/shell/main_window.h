#pragma once
// The main window: its fixed numbers, the tables it is built from (toolbar,
// menus, popup menus, tabs, shortcuts, fonts) and its layout and title.
#include <span>
#include <string>
#include <vector>

#include "maker/common/window_numbers.h"

// ---- fixed numbers ----
constexpr int kMenuBar = 16;
constexpr int kResourcePanel = 14;
constexpr int kGameScrollArea = 82;
constexpr int kAdvancedModeCheckBox = 135;
// The Game tab's command pictures.
constexpr int kGlobalVariablesPicture = 74;
constexpr int kCustomFunctionsPicture = 75;
constexpr int kGameCommentsPicture = 76;
constexpr int kInstalledExtensionsPicture = 77;

// Fonts by number.
constexpr int kFontCode = 67;        // "Consolas" 10
constexpr int kFontTabs = 81;        // "Arial" 11
constexpr int kFontBold = 122;       // "Arial" 11 bold
constexpr int kFontLargeBold = 213;  // "Arial" 16 bold

// Menu items of the main window (menu bar, shortcuts, toolbar).
enum MenuItem {
  kItemNew = 17,
  kItemOpen = 18,
  kItemSave = 19,
  kItemSaveAs = 20,
  kItemRunGame = 21,
  kItemExit = 22,
  kItemPreferences = 23,
  kItemAddSprite = 24,
  kItemAddSound = 25,
  kItemAddMusic = 26,
  kItemAddFont = 27,
  kItemAddBackground = 28,
  kItemAddObject = 29,
  kItemAddScene = 30,
  kItemHelp = 31,
  kItemAbout = 32,
  kItemCheckVersion = 33,
};

// ---- tables ----
struct ToolbarButton {
  int x;
  int width;
  int picture;
  const char* tooltip;
  int menu_item;  // the menu item it does the same as
};
std::span<const ToolbarButton> toolbar_buttons();

// One row of a menu: a title (item 0, picture -1) starts a menu of the menu
// bar; item -1 is a separator.
struct MenuRow {
  int item;
  const char* text;
  int picture;
};
constexpr int kMenuTitle = 0;
constexpr int kMenuSeparator = -1;
std::span<const MenuRow> menu_bar_rows();

struct PopupMenu {
  int menu;
  std::vector<MenuRow> rows;
};
std::span<const PopupMenu> popup_menus();

struct Shortcut {
  int modifiers;
  int key;
  int menu_item;
};
std::span<const Shortcut> main_shortcuts();

// The widget numbers of the toolbar buttons, in toolbar order.
extern std::vector<int> g_toolbar_buttons;

// ---- building ----
void load_main_fonts();
// Window 15 with toolbar, menu bar 16, the popup menus and panel 14.
void build_main_window();
void add_main_shortcuts();

// Panel 14 fitted to the window, the scroll areas to the panel, then the
// browser rebuilt.
void layout_main_window();
// "Quillop Game Maker v1.2.7", then " - " and the project name when there is one.
std::string main_window_title();
void update_main_window_title();
// "1.2.7" for version 127.
std::string version_text();
