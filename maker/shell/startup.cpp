#include "maker/shell/startup.h"

#include <cstdio>

#include "maker/export/export.h"
#include "maker/project/keywords.h"
#include "maker/project/new_project.h"
#include "maker/project/records.h"
#include "maker/shell/builtin_pictures.h"
#include "maker/shell/main_loop.h"
#include "maker/shell/main_window.h"
#include "maker/shell/project_dialogs.h"
#include "maker/shell/version_check.h"
#include "toolkit/toolkit.h"

namespace {

// The splash shows while the engine template is read.
void show_splash() {
  int splash = tk::open_window(tk::kAny, 0, 0, 800, 600, "Please wait...",
                               tk::kWindowBorderless | tk::kWindowCentred);
  tk::image_view(tk::kAny, 0, 0, 800, 600, kSplashPicture);
  tk::process_pending();
  g_engine_template = load_engine_template();
  tk::close_window(splash);
}

}  // namespace

void read_command_line_switches(const std::vector<std::string>& parameters) {
  for (size_t i = 0; i < parameters.size() && i < 2; ++i) {
    if (parameters[i] == "-s") g_service_mode = 1;
    if (parameters[i] == "-d") g_debug_log = 1;
  }
}

void open_debug_window() {
  tk::open_window(kDebugWindow, tk::first_monitor_width() - 420, 100, 400, 600, "Debug",
                  tk::kWindowMinimizeBox);
  tk::text_area(kDebugText, 10, 10, 380, 580);
  tk::keep_window_above(kDebugWindow, true);
}

bool start_up(int argc, char** argv) {
  // Taken before the toolkit removes its own options from the command line.
  std::vector<std::string> parameters(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (!tk::init(argc, argv)) return false;
  reset_program_values();
  read_command_line_switches(parameters);
  if (g_debug_log) open_debug_window();
  clear_resource_lists();
  fill_keyword_table();
  load_main_fonts();
  load_builtin_pictures();
  show_splash();
  tk::pause(1000);
  build_main_window();
  // The browser is first built when the main loop handles the size event of
  // the window's first showing (and again on the maximise, when there is one).
  tk::maximize_window(kMainWindow);
  new_project();
  check_version_at_startup();
  scan_project_files();
  update_main_window_title();
  add_main_shortcuts();
  return true;
}

int main_program(int argc, char** argv) {
  if (!start_up(argc, argv)) {
    std::fprintf(stderr, "quillop-maker: cannot open the display\n");
    return 1;
  }
  main_event_loop();
}
