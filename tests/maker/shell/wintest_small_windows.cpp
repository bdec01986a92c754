// The About window and the game-comments windows, driven while their own
// loops run.
#include "maker/shell/small_windows.h"
#include "shell_fixture.h"

namespace {

int first_of_kind(int window, tk::WidgetKind kind) {
  for (int w : tk::test::widgets_of_window(window))
    if (tk::widget_kind(w) == kind) return w;
  return -1;
}

}  // namespace

TEST_F(ShellTest, AboutClosesOnlyOnAClickOnItsPicture) {
  int picture = -1, sprites_while_open = -1;
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::window_title(kDialogWindow), "Quillop Game Maker v1.2.7");
    EXPECT_EQ(tk::window_width(kDialogWindow), 500);
    EXPECT_EQ(tk::window_height(kDialogWindow), 350);
    EXPECT_TRUE(tk::window_disabled(kMainWindow));
    int label = tk::test::find_widget(kDialogWindow, "version 1.2.7");
    ASSERT_NE(label, -1);
    EXPECT_EQ(tk::widget_x(label), 380);
    EXPECT_EQ(tk::widget_y(label), 122);
    EXPECT_EQ(tk::colour(label, tk::ColourRole::Front), rgb(255, 255, 255));
    EXPECT_EQ(tk::colour(label, tk::ColourRole::Back), 0);
    picture = first_of_kind(kDialogWindow, tk::WidgetKind::ImageView);
    EXPECT_EQ(tk::widget_image(picture), kAboutPicture);
    tk::post_event(tk::kEventWidget, kDialogWindow, label, tk::kLeftClick);
  });
  tk::test::when_idle([] { tk::test::request_close(kDialogWindow); });
  // The main window's commands are dropped while About is open.
  tk::test::when_idle([] { tk::post_event(tk::kEventMenu, kMainWindow, kItemAddSprite); });
  tk::test::when_idle([&] {
    sprites_while_open = g_sprites.count();
    EXPECT_TRUE(tk::window_exists(kDialogWindow));
    tk::test::click(picture);
  });
  tk::test::choose_menu_item(kItemAbout);
  run_loop();
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_EQ(sprites_while_open, 0);
  EXPECT_EQ(g_sprites.count(), 0);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
}

TEST_F(ShellTest, CommentsEditorStoresCrLfTextAndMarksModifiedOnOk) {
  g_game_settings[0].comments = "first\r\nsecond";
  tk::test::when_idle([] {
    EXPECT_EQ(tk::window_title(kGameCommentsWindow), "Game comments");
    EXPECT_TRUE(tk::window_kept_above(kGameCommentsWindow));
    EXPECT_FALSE(tk::window_disabled(kMainWindow));
    int area = first_of_kind(kGameCommentsWindow, tk::WidgetKind::TextArea);
    ASSERT_NE(area, -1);
    EXPECT_EQ(tk::widget_x(area), 10);
    EXPECT_EQ(tk::widget_width(area), 780);
    EXPECT_EQ(tk::widget_font(area), kFontCode);
    tk::test::type_text(area, "\nthird");
    tk::test::request_close(kGameCommentsWindow);  // ignored
  });
  tk::test::when_idle([] {
    int ok = tk::test::find_widget(kGameCommentsWindow, "OK");
    ASSERT_NE(ok, -1);
    EXPECT_EQ(tk::widget_x(ok), 725);
    EXPECT_EQ(tk::widget_y(ok), 565);
    tk::test::click(ok);
  });
  tk::set_state(kResourcePanel, 7);
  tk::test::click(kGameCommentsPicture);
  run_loop();
  EXPECT_EQ(g_game_settings[0].comments, "first\r\nsecond\r\nthird");
  EXPECT_EQ(g_project_modified, 1);
  EXPECT_FALSE(tk::window_exists(kGameCommentsWindow));

  // OK without a change still marks the project modified.
  set_project_modified(0);
  tk::test::when_idle([] { tk::test::click(tk::test::find_widget(kGameCommentsWindow, "OK")); });
  edit_game_comments();
  EXPECT_EQ(g_game_settings[0].comments, "first\r\nsecond\r\nthird");
  EXPECT_EQ(g_project_modified, 1);
}

TEST_F(ShellTest, ReadOnlyCommentsChangeNothing) {
  g_game_settings[0].comments = "read\r\nonly";
  tk::test::when_idle([] {
    int area = first_of_kind(kGameCommentsWindow, tk::WidgetKind::TextArea);
    EXPECT_EQ(tk::text(area), "read\r\nonly");
    tk::set_text(area, "changed");
    tk::test::click(tk::test::find_widget(kGameCommentsWindow, "OK"));
  });
  show_game_comments();
  EXPECT_EQ(g_game_settings[0].comments, "read\r\nonly");
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_FALSE(tk::window_exists(kGameCommentsWindow));
}

TEST_F(ShellTest, GameTabPicturesOpenTheirWindows) {
  struct Case {
    int picture;
    const char* title;
  } cases[] = {{kGlobalVariablesPicture, "Global variables"},
               {kCustomFunctionsPicture, "Custom functions"},
               {kGameCommentsPicture, "Game comments"}};
  tk::set_state(kResourcePanel, 7);
  for (const Case& c : cases) {
    std::string title;
    tk::test::when_idle([&] {
      int window = tk::window_exists(kDialogWindow) ? kDialogWindow : kGameCommentsWindow;
      title = tk::window_title(window);
      int close = tk::test::find_widget(window, window == kDialogWindow ? "Cancel" : "OK");
      ASSERT_NE(close, -1);
      tk::test::click(close);
    });
    tk::test::click(c.picture);
    run_loop();
    EXPECT_EQ(title, c.title);
    EXPECT_FALSE(tk::window_exists(kDialogWindow));
    EXPECT_FALSE(tk::window_exists(kGameCommentsWindow));
  }
}
