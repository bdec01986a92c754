#include "maker/export/run_game.h"

#include <filesystem>
#include <system_error>

#include "maker/export/export.h"
#include "maker/project/state.h"
#include "toolkit/requester.h"
#include "toolkit/system.h"

namespace fs = std::filesystem;

const std::string& index_html_text() {
  static const std::string page =
      "<!DOCTYPE html>\n"
      "<meta charset=\"UTF-8\">\n"
      "<html>\n"
      "<head></head>\n"
      "<body style=\"background-color:RGB(0,0,0);margin:0;padding:0;overflow:hidden;\">\n"
      "<div id=\"quillopgame\"></div>\n"
      "<script type=\"text/javascript\" src=\"game.js\"></script>\n"
      "</body>\n"
      "</html>\n";
  return page;
}

int run_game_in_browser(const std::function<void()>& save_project) {
  if (g_project_name.empty()) {
    tk::message_box("Message", "Please save your game.");
    return 0;
  }
  if (save_project) save_project();
  export_game();

  std::error_code error;
  std::string page = fs::current_path(error).string();
  if (page.empty() || page.back() != '/') page += '/';
  page += "Projects/" + g_project_name + "/index.html";
  if (fs::is_regular_file(page, error) && fs::file_size(page, error) > 0 && !error) {
    tk::run_detached("x-www-browser", (pref_add_file_protocol == 1 ? "file://" : "") + page);
  } else {
    tk::message_box("Message",
                    "The INDEX.HTML file is missing. You can allow Quillop to create it (enable it "
                    "in the Preferences) or you can copy your file in the project folder.");
  }
  return 0;
}
