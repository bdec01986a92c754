#include "maker/shell/project_dialogs.h"

#include <dirent.h>
#include <sys/stat.h>

#include <ctime>

#include "imaging/codec.h"
#include "maker/project/confirm.h"
#include "maker/project/records.h"
#include "maker/project/save_project.h"
#include "maker/shell/main_window.h"
#include "toolkit/files.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kNoPicture = 216;
const std::string kProjectExtension = ".qgp";

void write_named_project() {
  save_project();
  update_main_window_title();
}

// A project name becomes a file and a folder name in "Projects", so it is
// a plain file name; the project list drops every ".qgp" of a file name, so
// a name holding one could not be opened again.
bool usable_project_name(const std::string& name) {
  return name.empty() || (plain_file_name(name) && name.find(kProjectExtension) == std::string::npos);
}

bool project_exists(const std::string& name) {
  struct stat st;
  return stat(("Projects/" + name + kProjectExtension).c_str(), &st) == 0 ||
         stat(("Projects/" + name).c_str(), &st) == 0;
}

std::string without_every(std::string text, const std::string& part) {
  for (size_t at; (at = text.find(part)) != std::string::npos;) text.erase(at, part.size());
  return text;
}

std::string project_date(const std::string& name) {
  struct stat st;
  time_t modified = stat(("Projects/" + name + kProjectExtension).c_str(), &st) == 0 ? st.st_mtime : 0;
  struct tm utc;
  gmtime_r(&modified, &utc);
  char text[32];
  strftime(text, sizeof text, "%Y-%m-%d %H:%M", &utc);
  return text;
}

long long file_size(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? (long long)st.st_size : -1;
}

}  // namespace

bool ask_project_name() {
  const std::string own_name = g_project_name;
  int window = tk::open_window(tk::kAny, 0, 0, 400, 100, "Enter the project name", tk::kWindowCentred);
  tk::disable_window(kMainWindow, true);
  tk::keep_window_above(window, true);
  int cancel = tk::button(tk::kAny, 10, 65, 100, 25, "Cancel");
  int ok = tk::button(tk::kAny, 290, 65, 100, 25, "OK");
  int input = tk::input(tk::kAny, 10, 10, 380, 25, g_project_name);
  bool chosen = false;
  for (;;) {
    tk::Event e = tk::wait_event();
    if (e.type != tk::kEventWidget || e.subtype != tk::kLeftClick) continue;
    if (e.object == cancel) {
      g_project_name = "";
      break;
    }
    if (e.object != ok) continue;
    std::string name = tk::text(input);
    if (!usable_project_name(name)) {
      tk::message_box(
          "Error", "A project name cannot contain \"/\", \".qgp\" or a line break nor be \".\" or \"..\".",
          tk::MessageKind::Error);
      continue;
    }
    if ((name + kProjectExtension).size() > tk::kLongestFileName) {
      tk::message_box("Error", "The project name is too long", tk::MessageKind::Error);
      continue;
    }
    // Saving writes over the project file and into the folder of that name.
    if (!name.empty() && name != own_name && project_exists(name) &&
        !confirm_yes_no("Confirm", "The project '" + name + "' already exists. Replace it?"))
      break;
    g_project_name = name;
    chosen = !name.empty();
    break;
  }
  tk::keep_window_above(window, false);
  tk::disable_window(kMainWindow, false);
  tk::close_window(window);
  tk::activate_window(kMainWindow);
  update_main_window_title();  // "Cancel" leaves the project unnamed
  return chosen;
}

int save_project_or_ask() {
  if (g_project_name.empty() && !ask_project_name()) return 0;
  write_named_project();
  return 1;
}

int save_project_as() {
  if (!ask_project_name()) return 0;
  write_named_project();
  return 1;
}

void scan_project_files() {
  g_project_names.clear();
  DIR* dir = opendir("Projects");
  if (!dir) return;
  while (dirent* e = readdir(dir)) {
    std::string file = e->d_name;
    if (file.size() < kProjectExtension.size() ||
        file.compare(file.size() - kProjectExtension.size(), std::string::npos, kProjectExtension) != 0)
      continue;
    struct stat st;
    if (stat(("Projects/" + file).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    g_project_names.append(without_every(file, kProjectExtension));
  }
  closedir(dir);
}

std::string open_project_dialog() {
  scan_project_files();
  constexpr int W = 640, H = 400;
  int window = tk::open_window(tk::kAny, 0, 0, W, H, "Open a project...", tk::kWindowCentred);
  tk::disable_window(kMainWindow, true);
  tk::keep_window_above(window, true);
  int cancel = tk::button(tk::kAny, 10, 365, 100, 25, "Cancel");
  int open = tk::button(tk::kAny, W - 110, 365, 100, 25, "Open");
  int list = tk::list_view(tk::kAny, 10, 10, 370, 340, "", 366, tk::kListNoHeaders);
  tk::set_font(list, kFontLargeBold);
  for (const std::string& name : g_project_names) tk::add_item(list, -1, name);
  int view = tk::image_view(tk::kAny, 390, 10, 240, 240, -1, tk::kImageViewSunken);
  int date = tk::label(tk::kAny, 390, 260, 240, 25, "");

  int picture = -1;
  std::string chosen;
  for (bool done = false; !done;) {
    tk::Event e = tk::wait_event();
    if (e.type != tk::kEventWidget) continue;
    int row = tk::state(list);
    if (e.object == list && e.subtype == tk::kLeftClick && row >= 0) {
      std::string name = tk::item_text(list, row);
      imaging::free_image(picture);
      picture = -1;
      tk::set_image(view, -1);
      const std::string file = "Projects/" + name + ".png";
      if (file_size(file) > 0) {
        picture = imaging::load_image_file(imaging::kAnyImage, file);
        tk::set_image(view, picture);
      } else {
        tk::set_image(view, kNoPicture);
      }
      tk::set_text(date, "Project started: " + project_date(name));
    } else if (e.object == list && e.subtype == tk::kLeftDoubleClick && row >= 0) {
      chosen = tk::item_text(list, row);
      done = true;
    } else if (e.object == open && e.subtype == tk::kLeftClick) {
      chosen = row >= 0 ? tk::item_text(list, row) : "";
      done = true;
    } else if (e.object == cancel && e.subtype == tk::kLeftClick) {
      chosen = "";
      done = true;
    }
  }
  imaging::free_image(picture);
  tk::keep_window_above(window, false);
  tk::disable_window(kMainWindow, false);
  tk::close_window(window);
  tk::activate_window(kMainWindow);
  return chosen;
}
