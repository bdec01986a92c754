#include <sys/stat.h>

#include <cstdio>

#include "codeeditor/code_editor.h"
#include "extmaker/extmaker.h"
#include "toolkit/toolkit.h"

const char* const kExtmakerTitle = "Quillop Extension Maker";

namespace {

struct Field {
  const char* label;
  int widget;
  int x, y, width, height;  // of the field; its label stands 25 pixels above
  bool multi_line;
};
constexpr Field kFields[] = {
    {"Extension name", kNameField, 10, 35, 200, 22, false},
    {"Author", kAuthorField, 10, 90, 200, 22, false},
    {"Description", kDescriptionField, 10, 145, 200, 80, true},
    {"Help", kHelpField, 10, 270, 200, 300, true},
};

struct MenuRow {
  int item;  // 0 for a separator
  const char* text;
};
constexpr MenuRow kFileMenuRows[] = {
    {kItemNew, "New\tCtrl+N"},   {0, nullptr},
    {kItemOpen, "Open...\tCtrl+O"}, {kItemSave, "Save\tCtrl+S"},
    {kItemSaveAs, "Save as..."}, {0, nullptr},
    {kItemExit, "Exit\tCtrl+X"},
};

struct Shortcut {
  int key, item;
};
constexpr Shortcut kShortcuts[] = {
    {'N', kItemNew}, {'O', kItemOpen}, {'S', kItemSave}, {'X', kItemExit}};

void make_extensions_folder() {
  struct stat st;
  if (stat("Extensions", &st) != 0 || !S_ISDIR(st.st_mode)) mkdir("Extensions", 0755);
}

void build_file_menu() {
  tk::menu_bar(kFileMenu, kExtmakerWindow);
  tk::menu_title("File");
  int icon = kFirstIcon;
  for (const MenuRow& row : kFileMenuRows) {
    if (row.item == 0)
      tk::menu_separator();
    else
      tk::menu_item(row.item, row.text, icon++);
  }
  for (const Shortcut& s : kShortcuts) tk::add_shortcut(kExtmakerWindow, tk::kControl, s.key, s.item);
}

}  // namespace

std::string g_package_name;

void build_extmaker_window() {
  g_package_name = "";
  make_extensions_folder();
  int courier = tk::load_font(tk::kAny, "Courier", 10);
  int arial = tk::load_font(tk::kAny, "Arial", 10);
  int arial_bold = tk::load_font(tk::kAny, "Arial", 10, tk::kFontBold);
  make_extmaker_icons();

  tk::open_window(kExtmakerWindow, 0, 0, 1024, 768, kExtmakerTitle, tk::kWindowCentred);
  for (const Field& f : kFields) {
    tk::set_font(tk::label(tk::kAny, f.x, f.y - 25, 200, 22, f.label), arial_bold);
    if (f.multi_line)
      tk::text_area(f.widget, f.x, f.y, f.width, f.height);
    else
      tk::input(f.widget, f.x, f.y, f.width, f.height, "");
    tk::set_font(f.widget, arial);
  }
  tk::set_font(tk::label(tk::kAny, 220, 10, 200, 22, "Code"), arial_bold);
  codeeditor::create_code_editor(kCodeEditor, 220, 35, 794, 703, nullptr, codeeditor::kEditorLineNumbers);
  setup_extmaker_javascript_editor(kCodeEditor);
  tk::remove_all_shortcuts(kExtmakerWindow);
  codeeditor::editor_set_text(kCodeEditor, "", 0);
  tk::set_font(kCodeEditor, courier);
  build_file_menu();
}

bool handle_extmaker_event(const tk::Event& e) {
  bool exit_asked = (e.type == tk::kEventCloseWindow && e.window == kExtmakerWindow) ||
                    (e.type == tk::kEventMenu && e.object == kItemExit);
  if (exit_asked) return tk::yes_no("Confirm", "Exit from Quillop Extension Maker?") != 1;
  if (e.type != tk::kEventMenu) return true;
  switch (e.object) {
    case kItemNew:
      if (tk::yes_no("Confirm", "Create a new extension?") == 1) clear_extension();
      break;
    case kItemOpen: open_extension_package(); break;
    case kItemSave: save_extension(); break;
    case kItemSaveAs: save_extension_as(); break;
  }
  return true;
}

int extmaker_main(int argc, char** argv) {
  if (!tk::init(argc, argv)) {
    std::fprintf(stderr, "quillop-extmaker: cannot open the display\n");
    return 1;
  }
  build_extmaker_window();
  while (handle_extmaker_event(tk::wait_event())) {
  }
  codeeditor::free_code_editor(kCodeEditor);
  tk::close_all_windows();
  return 0;
}
