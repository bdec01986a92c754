// The File commands as the main loop runs them: Save and Save as export
// only a named project, Open shows the comments afterwards, Run game needs
// a name.
#include "shell_fixture.h"

namespace {

int window_with_title(const std::string& title) {
  for (int w = tk::kFirstDynamicNumber; w < tk::kFirstDynamicNumber + 1000; ++w)
    if (tk::window_exists(w) && tk::window_title(w) == title) return w;
  return -1;
}

// Answers the project name dialog with `name`, or cancels it for "".
void answer_project_name(const std::string& name) {
  tk::test::when_idle([name] {
    int dialog = window_with_title("Enter the project name");
    ASSERT_NE(dialog, -1);
    if (name.empty()) {
      tk::test::click(tk::test::find_widget(dialog, "Cancel"));
      return;
    }
    for (int w : tk::test::widgets_of_window(dialog))
      if (tk::widget_kind(w) == tk::WidgetKind::Input) {
        tk::set_text(w, "");
        tk::test::type_text(w, name);
      }
    tk::test::click(tk::test::find_widget(dialog, "OK"));
  });
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace

TEST_F(ShellTest, SaveWithTheNameRequestCancelledExportsNothing) {
  new_scene();
  answer_project_name("");
  tk::test::press_key(kMainWindow, 'S', tk::kControl);
  run_loop();
  EXPECT_EQ(g_project_name, "");
  EXPECT_TRUE(std::filesystem::is_empty("Projects"));
  EXPECT_EQ(g_project_modified, 1);
}

TEST_F(ShellTest, SaveAndSaveAsWriteAndExportTheNamedProject) {
  new_scene();
  answer_project_name("first");
  tk::test::click(g_toolbar_buttons[2]);  // Save game
  run_loop();
  EXPECT_EQ(g_project_name, "first");
  EXPECT_TRUE(exists("Projects/first.qgp"));
  EXPECT_TRUE(exists("Projects/first/game.js"));
  EXPECT_TRUE(exists("Projects/first/index.html"));
  EXPECT_EQ(tk::window_title(kMainWindow), "Quillop Game Maker v1.2.7 - first");
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_TRUE(ask_->messages().empty()) << ask_->messages()[0];

  answer_project_name("second");
  tk::test::choose_menu_item(kItemSaveAs);
  run_loop();
  EXPECT_TRUE(exists("Projects/second.qgp"));
  EXPECT_TRUE(exists("Projects/second/game.js"));
  EXPECT_EQ(tk::window_title(kMainWindow), "Quillop Game Maker v1.2.7 - second");
}

TEST_F(ShellTest, RunGameNeedsASavedProject) {
  tk::test::press_key(kMainWindow, tk::kKeyF1 + 4);  // F5
  run_loop();
  ASSERT_EQ(ask_->messages().size(), 1u);
  EXPECT_EQ(ask_->messages()[0], "Please save your game.");
}

TEST_F(ShellTest, CancelledOpenStillShowsTheCommentsOfTheProjectThatStays) {
  g_game_settings[0].comments = "kept\r\ncomments";
  std::string shown;
  tk::test::when_idle([] {
    int dialog = window_with_title("Open a project...");
    ASSERT_NE(dialog, -1);
    tk::test::click(tk::test::find_widget(dialog, "Cancel"));
  });
  tk::test::when_idle([&] {
    ASSERT_TRUE(tk::window_exists(136));
    shown = tk::window_title(136);
    tk::test::click(tk::test::find_widget(136, "OK"));
  });
  tk::test::press_key(kMainWindow, 'O', tk::kControl);
  run_loop();
  EXPECT_EQ(shown, "Game comments");
  EXPECT_EQ(g_game_settings[0].comments, "kept\r\ncomments");
  EXPECT_EQ(tk::test::idle_actions_left(), 0);

  // Without comments nothing is shown after the dialog.
  g_game_settings[0].comments = "";
  tk::test::when_idle([] {
    tk::test::click(tk::test::find_widget(window_with_title("Open a project..."), "Cancel"));
  });
  tk::test::choose_menu_item(kItemOpen);
  run_loop();
  EXPECT_FALSE(tk::window_exists(136));
}
