#include "maker/shell/main_loop.h"

#include <cstdlib>

#include "imaging/image.h"
#include "maker/codewindows/code_windows.h"
#include "maker/export/export.h"
#include "maker/export/run_game.h"
#include "maker/project/confirm.h"
#include "maker/project/new_project.h"
#include "maker/project/preferences.h"
#include "maker/project/records.h"
#include "maker/shell/extensions_dialog.h"
#include "maker/shell/help.h"
#include "maker/shell/main_window.h"
#include "maker/shell/open_project.h"
#include "maker/shell/preferences_dialog.h"
#include "maker/shell/project_dialogs.h"
#include "maker/shell/resource_browser.h"
#include "maker/shell/small_windows.h"
#include "maker/shell/version_check.h"
#include "toolkit/toolkit.h"

int g_last_event_widget = -1;
std::string g_new_resource_name;

namespace {

void add_resource(const ResourceKind& kind) {
  g_new_resource_name = kind.create();
  if (!g_new_resource_name.empty() && kind.edit) kind.edit(g_new_resource_name);
}

// The Game tab's pictures and check box; false for other widgets.
bool run_game_tab_widget(int widget) {
  switch (widget) {
    case kGlobalVariablesPicture: edit_global_variables(); return true;
    case kCustomFunctionsPicture: edit_custom_functions(); return true;
    case kGameCommentsPicture: edit_game_comments(); return true;
    case kInstalledExtensionsPicture: installed_extensions_dialog(); return true;
    case kAdvancedModeCheckBox:
      g_game_settings[0].advanced_mode = tk::state(kAdvancedModeCheckBox);
      return true;
    default: return false;
  }
}

void handle_widget_event(const tk::Event& event) {
  g_last_event_widget = event.object;
  for (size_t i = 0; i < g_toolbar_buttons.size(); ++i)
    if (g_toolbar_buttons[i] == event.object) run_menu_command(toolbar_buttons()[i].menu_item);
  if (!run_game_tab_widget(event.object))
    if (const ResourceKind* kind = resource_kind_of_create_card(event.object)) add_resource(*kind);

  if (event.subtype == tk::kRightClick)
    show_entry_popup_menu(g_last_event_widget);
  else if (event.subtype == tk::kLeftDoubleClick)
    open_resource_entry(g_last_event_widget);
}

}  // namespace

void run_menu_command(int item) {
  if (const ResourceKind* kind = resource_kind_of_add_item(item)) {
    add_resource(*kind);
    return;
  }
  switch (item) {
    case kItemNew:
      new_project();
      rebuild_resource_panel();
      break;
    case kItemOpen:
      open_project();
      rebuild_resource_panel();
      if (!g_game_settings[0].comments.empty()) show_game_comments();
      break;
    case kItemSave:
      if (save_project_or_ask()) export_game();
      break;
    case kItemSaveAs:
      if (save_project_as()) export_game();
      break;
    case kItemRunGame: run_game_in_browser([] { save_project_or_ask(); }); break;
    case kItemExit: confirm_exit(); break;
    case kItemPreferences: preferences_dialog(); break;
    case kItemHelp: show_help(); break;
    case kItemAbout: show_about_window(); break;
    case kItemCheckVersion: check_version_now(); break;
    default: run_popup_command(item); break;
  }
}

void handle_main_event(const tk::Event& event) {
  switch (event.type) {
    case tk::kEventCloseWindow: confirm_exit(); break;
    case tk::kEventMaximize:
    case tk::kEventMinimize:
    case tk::kEventSizeWindow: layout_main_window(); break;
    case tk::kEventWidget: handle_widget_event(event); break;
    case tk::kEventMenu: run_menu_command(event.object); break;
    default: break;
  }
}

void main_event_loop() {
  for (;;) handle_main_event(tk::wait_event());
}

int confirm_exit() {
  // Exit deletes the working folder: unsaved work is asked about whatever
  // the preference says.
  if (g_project_modified == 1) {
    if (!confirm_yes_no("Confirm", "Unsaved changes will be lost. Exit from Quillop Game Maker?"))
      return 0;
  } else if (pref_confirm_exit == 1 && !confirm_yes_no("Confirm", "Exit from Quillop Game Maker?")) {
    return 0;
  }
  delete_working_folder();
  save_preferences();
  tk::close_all_windows();
  imaging::free_all_images();
  std::exit(0);
}
