#include "maker/shell/small_windows.h"

#include "maker/codewindows/code_windows.h"
#include "maker/project/records.h"
#include "maker/shell/main_window.h"
#include "toolkit/toolkit.h"

namespace {

// Takes events until a widget event of `widget`; every other event is dropped.
void wait_for_widget(int widget) {
  for (;;) {
    tk::Event e = tk::wait_event();
    if (e.type == tk::kEventWidget && e.object == widget) return;
  }
}

// Window 136 with the comments; returns the text area after "OK".
int run_game_comments_window(unsigned text_flags) {
  tk::open_window(kGameCommentsWindow, 0, 0, 800, 600, "Game comments", tk::kWindowCentred);
  tk::keep_window_above(kGameCommentsWindow, true);
  int ok = tk::button(tk::kAny, 800 - 75, 600 - 35, 65, 25, "OK");
  int area = tk::text_area(tk::kAny, 10, 10, 780, 540, text_flags);
  tk::set_font(area, kFontCode);
  tk::set_text(area, g_game_settings[0].comments);
  wait_for_widget(ok);
  return area;
}

void close_game_comments_window() {
  tk::keep_window_above(kGameCommentsWindow, false);
  tk::close_window(kGameCommentsWindow);
}

}  // namespace

void show_about_window() {
  std::string version = version_text();
  tk::open_window(kDialogWindow, 0, 0, 500, 350, "Quillop Game Maker v" + version,
                  tk::kWindowBorderless | tk::kWindowCentred);
  tk::disable_window(kMainWindow, true);
  int picture = tk::image_view(tk::kAny, 0, 0, 500, 350, kAboutPicture);
  int label = tk::label(tk::kAny, 380, 122, 80, 18, "version " + version);
  tk::set_colour(label, tk::ColourRole::Front, rgb(255, 255, 255));
  tk::set_colour(label, tk::ColourRole::Back, rgb(0, 0, 0));
  wait_for_widget(picture);
  tk::disable_window(kMainWindow, false);
  tk::close_window(kDialogWindow);
}

void edit_game_comments() {
  int area = run_game_comments_window(0);
  g_game_settings[0].comments = with_crlf_line_ends(tk::text(area));
  set_project_modified(1);
  close_game_comments_window();
}

void show_game_comments() {
  run_game_comments_window(tk::kTextReadOnly);
  close_game_comments_window();
}
