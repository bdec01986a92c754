#include "maker/shell/main_window.h"

#include "maker/project/state.h"
#include "maker/shell/resource_browser.h"
#include "toolkit/toolkit.h"

std::vector<int> g_toolbar_buttons;

namespace {

constexpr ToolbarButton kToolbar[] = {
    {10, 25, 142, "New game", kItemNew},
    {40, 25, 144, "Open game", kItemOpen},
    {70, 25, 145, "Save game", kItemSave},
    {100, 50, 146, "Run game", kItemRunGame},
    {200, 25, 147, "Add a new sprite", kItemAddSprite},
    {230, 25, 148, "Add a new sound", kItemAddSound},
    {260, 25, 149, "Add a new music", kItemAddMusic},
    {290, 25, 151, "Add a new background", kItemAddBackground},
    {320, 25, 150, "Add a new font", kItemAddFont},
    {350, 25, 152, "Add a new object", kItemAddObject},
    {380, 25, 153, "Add a new scene", kItemAddScene},
};
constexpr int kToolbarY = 10;
constexpr int kToolbarHeight = 25;

constexpr MenuRow kMenuBarRows[] = {
    {kMenuTitle, "File", -1},
    {kItemNew, "New\tCtrl + N", 142},
    {kMenuSeparator, "", -1},
    {kItemOpen, "Open...\tCtrl + O", 144},
    {kItemSave, "Save\tCtrl + S", 145},
    {kItemSaveAs, "Save as...", 156},
    {kMenuSeparator, "", -1},
    {kItemRunGame, "Run game\tF5", 146},
    {kMenuSeparator, "", -1},
    {kItemPreferences, "Preferences...", 157},
    {kMenuSeparator, "", -1},
    {kItemExit, "Exit\tCtrl + X", 158},
    {kMenuTitle, "Resources", -1},
    {kItemAddSprite, "Add new sprite\tCtrl + 1", 147},
    {kItemAddSound, "Add new sound\tCtrl + 2", 148},
    {kItemAddMusic, "Add new music\tCtrl + 3", 149},
    {kItemAddBackground, "Add new background\tCtrl + 4", 151},
    {kItemAddFont, "Add new font\tCtrl + 5", 150},
    {kItemAddObject, "Add new object\tCtrl + 6", 152},
    {kItemAddScene, "Add new scene\tCtrl + 7", 153},
    {kMenuTitle, "Help", -1},
    {kItemHelp, "Help\tF1", 159},
    {kItemAbout, "About", 160},
    {kMenuSeparator, "", -1},
    {kItemCheckVersion, "Check program version...", 161},
};

MenuRow item(int id, const char* text) { return {id, text, -1}; }
const MenuRow kSeparator{kMenuSeparator, "", -1};

const PopupMenu kPopupMenus[] = {
    {39, {item(40, "Edit"), kSeparator, item(41, "Delete")}},
    {42, {item(43, "Edit"), kSeparator, item(44, "Delete")}},
    {45, {item(46, "Edit"), kSeparator, item(47, "Delete")}},
    {48, {item(49, "Edit"), kSeparator, item(50, "Duplicate"), kSeparator, item(51, "Delete")}},
    {52, {item(53, "Edit"), kSeparator, item(54, "Delete")}},
    {55, {item(56, "Edit"), kSeparator, item(57, "Delete")}},
    {58,
     {item(59, "Edit"), kSeparator, item(60, "Delete"), kSeparator, item(61, "Move backward"),
      item(62, "Move forward")}},
    // The object dialog's event list.
    {69, {item(70, "Edit"), kSeparator, item(71, "Delete")}},
};

constexpr Shortcut kShortcuts[] = {
    {tk::kControl, 'N', kItemNew},           {tk::kControl, 'O', kItemOpen},
    {tk::kControl, 'S', kItemSave},          {tk::kControl, 'X', kItemExit},
    {tk::kControl, '1', kItemAddSprite},     {tk::kControl, '2', kItemAddSound},
    {tk::kControl, '3', kItemAddMusic},      {tk::kControl, '4', kItemAddBackground},
    {tk::kControl, '5', kItemAddFont},       {tk::kControl, '6', kItemAddObject},
    {tk::kControl, '7', kItemAddScene},      {0, tk::kKeyF1, kItemHelp},
    {0, tk::kKeyF1 + 4, kItemRunGame},
};

struct FontRow {
  int number;
  const char* family;
  int size;
  unsigned style;
};
constexpr FontRow kFonts[] = {
    {kFontCode, "Consolas", 10, 0},
    {kFontTabs, "Arial", 11, 0},
    {kFontBold, "Arial", 11, tk::kFontBold},
    {kFontLargeBold, "Arial", 16, tk::kFontBold},
};

constexpr int kPanelX = 5;
constexpr int kPanelY = 45;
constexpr int kBrowserBackground = rgb(200, 200, 200);

void add_menu_rows(std::span<const MenuRow> rows) {
  for (const MenuRow& row : rows) {
    if (row.item == kMenuTitle)
      tk::menu_title(row.text);
    else if (row.item == kMenuSeparator)
      tk::menu_separator();
    else
      tk::menu_item(row.item, row.text, row.picture);
  }
}

int panel_height() {
  return tk::window_height(kMainWindow) - tk::menu_bar_height(kMainWindow) - 50;
}

void build_game_tab() {
  tk::add_tab(kResourcePanel, " Game ");
  tk::scroll_area(kGameScrollArea, 0, 0, tk::panel_page_width(kResourcePanel),
                  tk::panel_page_height(kResourcePanel), 640, 480, 16);
  const int pictures[] = {kGlobalVariablesPicture, kCustomFunctionsPicture, kGameCommentsPicture,
                          kInstalledExtensionsPicture};
  for (int i = 0; i < 4; ++i) tk::image_view(pictures[i], 10, 10 + 60 * i, 275, 38, 129 + i);
  tk::check_box(kAdvancedModeCheckBox, 20, 250, 200, 30, "Advanced scripting mode");
  tk::set_font(kAdvancedModeCheckBox, kFontBold);
  tk::set_state(kAdvancedModeCheckBox, g_game_settings[0].advanced_mode);
  tk::close_container();
}

}  // namespace

std::span<const ToolbarButton> toolbar_buttons() { return kToolbar; }
std::span<const MenuRow> menu_bar_rows() { return kMenuBarRows; }
std::span<const PopupMenu> popup_menus() { return kPopupMenus; }
std::span<const Shortcut> main_shortcuts() { return kShortcuts; }

void load_main_fonts() {
  for (const FontRow& f : kFonts) tk::load_font(f.number, f.family, f.size, f.style);
}

void build_main_window() {
  tk::open_window(kMainWindow, 0, 0, 800, 600, "Quillop Game Maker",
                  tk::kWindowCentred | tk::kWindowResizable | tk::kWindowMinimizeBox |
                      tk::kWindowMaximizeBox);

  g_toolbar_buttons.clear();
  for (const ToolbarButton& b : kToolbar) {
    int button = tk::image_button(tk::kAny, b.x, kToolbarY, b.width, kToolbarHeight, b.picture);
    tk::set_tooltip(button, b.tooltip);
    g_toolbar_buttons.push_back(button);
  }

  tk::menu_bar(kMenuBar, kMainWindow);
  add_menu_rows(kMenuBarRows);
  for (const PopupMenu& p : kPopupMenus) {
    tk::popup_menu(p.menu);
    add_menu_rows(p.rows);
  }

  tk::panel(kResourcePanel, kPanelX, kPanelY, tk::window_width(kMainWindow) - 10, panel_height());
  tk::set_font(kResourcePanel, kFontTabs);
  for (const ResourceKind& k : resource_kinds()) {
    tk::add_tab(kResourcePanel, k.tab_text, k.tab_picture);
    tk::scroll_area(k.scroll_area, 0, 0, tk::panel_page_width(kResourcePanel),
                    tk::panel_page_height(kResourcePanel), 640, 480, 16);
    tk::set_colour(k.scroll_area, tk::ColourRole::Back, kBrowserBackground);
    tk::close_container();
  }
  build_game_tab();
  tk::close_container();
}

void add_main_shortcuts() {
  for (const Shortcut& s : kShortcuts) tk::add_shortcut(kMainWindow, s.modifiers, s.key, s.menu_item);
}

void layout_main_window() {
  tk::resize_widget(kResourcePanel, kPanelX, kPanelY, tk::window_width(kMainWindow) - 10,
                    panel_height());
  int page_width = tk::panel_page_width(kResourcePanel);
  int page_height = tk::panel_page_height(kResourcePanel);
  for (const ResourceKind& k : resource_kinds())
    tk::resize_widget(k.scroll_area, 0, 0, page_width, page_height);
  tk::resize_widget(kGameScrollArea, 0, 0, page_width, page_height);
  rebuild_resource_panel();
}

std::string version_text() {
  std::string digits = std::to_string(g_file_version);
  std::string text;
  for (size_t i = 0; i < 3 && i < digits.size(); ++i) {
    if (i) text += '.';
    text += digits[i];
  }
  return text;
}

std::string main_window_title() {
  std::string title = "Quillop Game Maker v" + version_text();
  if (!g_project_name.empty()) title += " - " + g_project_name;
  return title;
}

void update_main_window_title() { tk::set_window_title(kMainWindow, main_window_title()); }
