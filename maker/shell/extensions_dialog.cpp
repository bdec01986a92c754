#include "maker/shell/extensions_dialog.h"

#include <string>
#include <vector>

#include "maker/project/extensions.h"
#include "maker/project/state.h"
#include "maker/shell/main_window.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kPaneColour = rgb(238, 238, 238);

std::string package_information(const ExtensionInfo& p) {
  return "NAME:" + p.title + "\rAUTHOR: " + p.author + "\r\rDESCRIPTION: " + p.description +
         "HELP:" + p.help;
}

// The installed package a list row stands for; nullptr for a row whose data
// names none.
const ExtensionInfo* package_of_row(int list, int row) {
  int index = tk::item_data(list, row);
  return index >= 0 && index < g_installed_extensions.count() ? &g_installed_extensions[index]
                                                              : nullptr;
}

}  // namespace

void installed_extensions_dialog() {
  if (g_project_name.empty()) {
    tk::message_box("Message", "Please save your project.");
    return;
  }
  scan_installed_extensions();

  int window = tk::open_window(tk::kAny, 0, 0, 640, 480, "Installed extensions", tk::kWindowCentred);
  tk::disable_window(kMainWindow, true);
  tk::keep_window_above(window, true);
  int pane = tk::text_area(tk::kAny, 200, 10, 430, 420);
  tk::set_colour(pane, tk::ColourRole::Back, kPaneColour);
  tk::set_font(pane, kFontCode);
  int cancel = tk::button(tk::kAny, 10, 440, 100, 25, "Cancel");
  int ok = tk::button(tk::kAny, 530, 440, 100, 25, "OK");
  int list = tk::list_view(tk::kAny, 10, 10, 180, 420, "Name", 160, tk::kListCheckBoxes);
  tk::set_font(list, kFontCode);
  for (int i = 0; i < g_installed_extensions.count(); ++i) {
    int row = tk::add_item(list, -1, g_installed_extensions[i].title);
    tk::set_item_data(list, row, i);
    tk::set_item_state(list, row, g_installed_extensions[i].enabled);
  }

  for (;;) {
    tk::Event e = tk::wait_event();
    if (e.type != tk::kEventWidget) continue;
    if (e.object == list) {
      int row = tk::state(list);
      if (const ExtensionInfo* package = row >= 0 ? package_of_row(list, row) : nullptr)
        tk::set_text(pane, package_information(*package));
    } else if (e.object == ok) {
      std::vector<std::string> ticked;
      for (int row = 0; row < tk::item_count(list); ++row)
        if (const ExtensionInfo* package = package_of_row(list, row); package && tk::item_state(list, row))
          ticked.push_back(package->base_name);
      save_project_extension_list(ticked);
      break;
    } else if (e.object == cancel) {
      break;
    }
  }

  tk::keep_window_above(window, false);
  tk::disable_window(kMainWindow, false);
  tk::close_window(window);
  tk::activate_window(kMainWindow);
}
