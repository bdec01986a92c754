// The main loop driven through the real window: add commands by toolbar,
// shortcut, menu and create card with the dialogs they open, New, re-layout,
// the Game tab's check box, help and exit.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "maker/project/preferences.h"
#include "maker/shell/builtin_pictures.h"
#include "maker/shell/help.h"
#include "maker/shell/small_windows.h"
#include "maker/shell/startup.h"
#include "shell_fixture.h"
#include "toolkit/gtk_access.h"

namespace {

// Resources of each kind, in the order of resource_kinds().
std::vector<int> resource_counts() {
  int objects = 0;
  for (const GameObject& o : g_objects) objects += o.is_prototype;
  return {g_sprites.count(), g_sounds.count(), g_musics.count(), g_backgrounds.count(),
          g_fonts.count(),   objects,          g_scenes.count()};
}

// What one add command's dialog showed before its "Done" closed it.
struct OpenedDialog {
  std::string title;
  int modified = -1;  // the project-modified flag while it was open
};

// "Done" is button 65 in every first-level dialog.
constexpr int kDoneButton = 65;

// Closes the next property dialog with "Done", as the user does, noting its
// title first.
void close_next_dialog_with_done(OpenedDialog& seen) {
  tk::test::when_idle([&seen] {
    seen.title = tk::window_title(kDialogWindow);
    seen.modified = g_project_modified;
    tk::test::click(kDoneButton);
  });
}

bool is_folder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

TEST_F(ShellTest, EveryAddCommandAddsOneResourceOfItsKind) {
  // Tab k is added by toolbar button 4 + k, Ctrl + (k + 1), its menu item
  // and its create card; background and font have crossed item numbers.
  const char* tooltips[] = {"Add a new sprite", "Add a new background", "Add a new font"};
  EXPECT_EQ(tk::tooltip(g_toolbar_buttons[4]), tooltips[0]);
  EXPECT_EQ(tk::tooltip(g_toolbar_buttons[7]), tooltips[1]);
  EXPECT_EQ(tk::tooltip(g_toolbar_buttons[8]), tooltips[2]);
  const int items[] = {24, 25, 26, 28, 27, 29, 30};
  struct Way {
    const char* name;
    std::function<void(int kind)> act;
  } ways[] = {
      {"toolbar", [](int k) { tk::test::click(g_toolbar_buttons[size_t(4 + k)]); }},
      {"shortcut", [](int k) { tk::test::press_key(kMainWindow, '1' + k, tk::kControl); }},
      {"menu", [&](int k) { tk::test::choose_menu_item(items[k]); }},
      {"create card",
       [](int k) {
         tk::set_state(kResourcePanel, k);
         tk::test::click(115 + k);
       }},
  };
  // The dialog each add opens on the new resource.
  const char* dialogs[] = {"Sprite properties - ",
                           "Sound properties - ",
                           "Music properties - ",
                           "Background properties - ",
                           "Font properties - ",
                           "Object properties - ",
                           "Scene properties - "};
  for (const Way& way : ways) {
    for (int kind = 0; kind < 7; ++kind) {
      const char* kind_name = resource_kinds()[size_t(kind)].kind;
      set_project_modified(0);
      std::vector<int> expected = resource_counts();
      expected[size_t(kind)] += 1;
      OpenedDialog seen;
      if (dialogs[kind]) close_next_dialog_with_done(seen);
      way.act(kind);
      run_loop();
      EXPECT_EQ(resource_counts(), expected) << way.name << " " << kind_name;
      EXPECT_EQ(g_project_modified, 1) << way.name;
      EXPECT_EQ(tk::test::idle_actions_left(), 0) << way.name << " " << kind_name << ": no dialog";
      tk::set_test_mode(true);  // drops an action no dialog took: the next case starts clean
      if (dialogs[kind]) {
        EXPECT_EQ(seen.title, dialogs[kind] + g_new_resource_name) << way.name;
        EXPECT_EQ(seen.modified, 1) << way.name << " " << kind_name << ": set by the constructor";
      }
      EXPECT_FALSE(tk::window_exists(kDialogWindow)) << way.name << " " << kind_name;
      EXPECT_FALSE(tk::window_disabled(kMainWindow)) << way.name << " " << kind_name;
    }
  }
  EXPECT_EQ(g_sounds[0].name, "sound_3");
  EXPECT_EQ(g_new_resource_name, g_scenes[g_scenes.count() - 1].name);
}

TEST_F(ShellTest, RightClickOnACreateCardAlsoAddsAndShowsNoPopup) {
  OpenedDialog seen;
  close_next_dialog_with_done(seen);
  tk::test::right_click(shown(116));
  run_loop();
  ASSERT_EQ(g_sounds.count(), 1);
  EXPECT_EQ(seen.title, "Sound properties - " + g_sounds[0].name);
  EXPECT_EQ(marked_entries(), 0);
  EXPECT_EQ(tk::last_popup_menu(), -1);
}

TEST_F(ShellTest, NewAsksOnlyWithUnsavedChangesAndAlwaysRebuilds) {
  new_sprite();
  rebuild_resource_panel();
  // Declined: the sprite stays, and the browser is rebuilt all the same.
  new_sound();
  ask_->answer_yes_no(0);
  tk::test::press_key(kMainWindow, 'N', tk::kControl);
  run_loop();
  ASSERT_EQ(ask_->asked.size(), 1u);
  EXPECT_EQ(ask_->asked[0].title, "Confirm");
  EXPECT_EQ(ask_->asked[0].text, "Unsaved changes will be lost. New?");
  EXPECT_EQ(g_sprites.count(), 1);
  EXPECT_EQ(entries_of("Sounds").size(), 3u) << "rebuilt with the new sound";

  ask_->answer_yes_no(1);
  tk::test::click(g_toolbar_buttons[0]);
  run_loop();
  EXPECT_EQ(g_sprites.count(), 0);
  EXPECT_EQ(card_of("sprite_2"), -1);
  EXPECT_EQ(g_project_modified, 0);

  // Nothing modified now: no question.
  tk::test::choose_menu_item(kItemNew);
  run_loop();
  EXPECT_EQ(ask_->asked.size(), 2u);
}

TEST_F(ShellTest, ResizeMinimiseAndMaximiseLayOutAgainButRestoreDoesNot) {
  tk::resize_window(kMainWindow, tk::kKeep, tk::kKeep, 900, 700);
  ASSERT_TRUE(tk::test::wait_until([] { return tk::window_width(kMainWindow) == 900; }));
  tk::post_event(tk::kEventSizeWindow, kMainWindow, kMainWindow);
  run_loop();
  int w = tk::window_width(kMainWindow), h = tk::window_height(kMainWindow);
  EXPECT_EQ(tk::widget_x(kResourcePanel), 5);
  EXPECT_EQ(tk::widget_y(kResourcePanel), 45);
  EXPECT_EQ(tk::widget_width(kResourcePanel), w - 10);
  EXPECT_EQ(tk::widget_height(kResourcePanel), h - tk::menu_bar_height(kMainWindow) - 50);
  for (int area : {82, 83, 84, 85, 86, 87, 88, 89}) {
    EXPECT_EQ(tk::widget_x(area), 0) << area;
    EXPECT_EQ(tk::widget_y(area), 0) << area;
    EXPECT_EQ(tk::widget_width(area), tk::panel_page_width(kResourcePanel)) << area;
    EXPECT_EQ(tk::widget_height(area), tk::panel_page_height(kResourcePanel)) << area;
  }

  // A sprite added behind the browser's back shows only after a re-layout.
  // The window manager's own events of the resize come first.
  ASSERT_TRUE(tk::test::settle(kMainWindow));
  run_loop();
  new_sprite();
  tk::post_event(tk::kEventRestore, kMainWindow, kMainWindow);
  run_loop();
  EXPECT_EQ(card_of("sprite_2"), -1);
  for (int type : {tk::kEventMinimize, tk::kEventMaximize, tk::kEventSizeWindow}) {
    new_sprite();
    std::string name = g_sprites[g_sprites.count() - 1].name;
    tk::post_event(type, kMainWindow, kMainWindow);
    run_loop();
    EXPECT_NE(card_of(name), -1) << "event type " << type;
  }
}

TEST_F(ShellTest, MaximisingBuildsTheBrowserForTheFullWidth) {
  tk::maximize_window(kMainWindow);
  ASSERT_TRUE(tk::test::wait_until([] { return tk::window_maximized(kMainWindow); }));
  ASSERT_TRUE(tk::test::settle(kMainWindow));
  run_loop();
  EXPECT_EQ(tk::widget_width(kResourcePanel), tk::window_width(kMainWindow) - 10);
  EXPECT_EQ(tk::scroll_inner_width(83), tk::panel_page_width(kResourcePanel));
}

// With no window manager, or one that ignores the maximise, the first
// showing of the main window still builds the browser.
TEST_F(ShellTest, BrowserIsBuiltOnTheFirstShowingWithoutAMaximise) {
  build_main_window();
  for (const ResourceKind& k : resource_kinds()) EXPECT_FALSE(tk::widget_exists(k.create_card));
  run_loop();
  GtkWidget* window = tk::gtk_window_of(kMainWindow);
  for (const ResourceKind& k : resource_kinds())
    EXPECT_EQ(tk::widget_window(k.create_card), kMainWindow) << k.kind;
  int banners = 0;
  for (int w : tk::test::widgets_of_window(kMainWindow))
    banners += tk::widget_kind(w) == tk::WidgetKind::ImageView && tk::widget_width(w) == 2880;
  EXPECT_EQ(banners, 7);
  // The first tab's create card is on the screen, inside the window.
  GtkWidget* card = tk::gtk_widget_of(resource_kinds()[0].create_card);
  ASSERT_TRUE(GTK_WIDGET_MAPPED(card));
  int x = -1, y = -1;
  ASSERT_TRUE(gtk_widget_translate_coordinates(card, window, 0, 0, &x, &y));
  EXPECT_GT(x, 0);
  EXPECT_GT(y, 0);
  EXPECT_LE(y + card->allocation.height, window->allocation.height);
}

TEST_F(ShellTest, AdvancedScriptingCheckBoxSetsTheFlagAtOnceWithoutModifying) {
  tk::set_state(kResourcePanel, 7);
  tk::test::click(kAdvancedModeCheckBox);
  run_loop();
  EXPECT_EQ(g_game_settings[0].advanced_mode, 1);
  EXPECT_EQ(g_project_modified, 0);
  tk::test::click(kAdvancedModeCheckBox);
  run_loop();
  EXPECT_EQ(g_game_settings[0].advanced_mode, 0);

  // A rebuild shows the flag of the game settings.
  g_game_settings[0].advanced_mode = 1;
  rebuild_resource_panel();
  EXPECT_EQ(tk::state(kAdvancedModeCheckBox), 1);
}

// The working directory holds no help document: F1 and Help > Help each
// tell the user so instead of doing nothing.
TEST_F(ShellTest, HelpThatCannotBeShownSaysSo) {
  const std::function<void()> asks[] = {[] { tk::test::press_key(kMainWindow, tk::kKeyF1); },
                                         [] { tk::test::choose_menu_item(kItemHelp); }};
  for (const auto& ask : asks) {
    ask_->asked.clear();
    ask();
    run_loop();
    ASSERT_EQ(ask_->asked.size(), 1u);
    EXPECT_EQ(ask_->asked[0].title, "Message");
    const std::string& text = ask_->asked[0].text;
    EXPECT_EQ(text.rfind("The help cannot be shown. ", 0), 0u) << text;
    EXPECT_NE(text.find(kHelpDocument), std::string::npos) << text;  // the desktop's reason names it
  }
}

TEST_F(ShellTest, DecliningTheExitQuestionChangesNothing) {
  open_debug_window();
  EXPECT_EQ(tk::window_title(kDebugWindow), "Debug");
  EXPECT_TRUE(tk::window_kept_above(kDebugWindow));
  // The close box of either window, and Exit.
  std::function<void()> ways[] = {
      [] { tk::test::request_close(kMainWindow); },
      [] { tk::test::request_close(kDebugWindow); },
      [] { tk::test::press_key(kMainWindow, 'X', tk::kControl); },
  };
  for (auto& way : ways) {
    ask_->answer_yes_no(0);
    way();
    run_loop();
  }
  ASSERT_EQ(ask_->asked.size(), 3u);
  for (const tk::test::Question& q : ask_->asked) {
    EXPECT_EQ(q.what, tk::test::Asked::YesNo);
    EXPECT_EQ(q.title, "Confirm");
    EXPECT_EQ(q.text, "Exit from Quillop Game Maker?");
  }
  EXPECT_TRUE(tk::window_exists(kMainWindow));
  EXPECT_TRUE(is_folder("_temp_090503"));
}

TEST_F(ShellTest, ModifiedProjectAsksAboutUnsavedChangesOnExitWhateverConfirmExitSays) {
  std::function<void()> ways[] = {
      [] { tk::test::request_close(kMainWindow); },
      [] { tk::test::press_key(kMainWindow, 'X', tk::kControl); },
      [] { tk::test::choose_menu_item(kItemExit); },
  };
  new_sprite();
  set_project_modified(1);
  // In a child that ends with code 3 once every No has been answered: an exit
  // of the program on the way would end it with 0.
  EXPECT_EXIT(
      {
        for (int confirm_exit : {0, 1}) {
          pref_confirm_exit = confirm_exit;
          for (auto& way : ways) {
            ask_->answer_yes_no(0);
            way();
            run_loop();
          }
        }
        bool asked = ask_->asked.size() == 6;
        for (const tk::test::Question& q : ask_->asked)
          asked = asked && q.title == "Confirm" &&
                  q.text == "Unsaved changes will be lost. Exit from Quillop Game Maker?";
        bool kept = tk::window_exists(kMainWindow) && is_folder("_temp_090503") &&
                    g_project_modified == 1 && g_sprites.count() == 1;
        std::_Exit(asked && kept ? 3 : 4);
      },
      ::testing::ExitedWithCode(3), "");
}

namespace {
// Death tests re-run the test in a child process with a directory of its
// own; the child works in the parent's directory so that the parent can
// look at what the exit left behind.
void enter_parents_directory(std::string& dir) {
  if (const char* parent = std::getenv("QUILLOP_SHELL_EXIT_DIR")) {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    dir = parent;
    ASSERT_EQ(chdir(dir.c_str()), 0);
    new_project();
  } else {
    setenv("QUILLOP_SHELL_EXIT_DIR", dir.c_str(), 1);
  }
}
}  // namespace

TEST_F(ShellTest, ExitWithYesDeletesTheWorkingFolderAndWritesThePreferences) {
  enter_parents_directory(dir_);
  ASSERT_TRUE(is_folder("_temp_090503"));
  std::remove(kPreferencesFile);
  pref_font_size = 23;
  ask_->answer_yes_no(1);
  EXPECT_EXIT(
      {
        tk::test::request_close(kMainWindow);
        run_loop();
      },
      ::testing::ExitedWithCode(0), "");
  unsetenv("QUILLOP_SHELL_EXIT_DIR");
  ask_.reset();  // the answer was used up in the child
  EXPECT_FALSE(is_folder(dir_ + "/_temp_090503"));
  EXPECT_NE(read_file(kPreferencesFile).find("\nsci_font_size = 23\n"), std::string::npos);
}

TEST_F(ShellTest, ExitWithoutTheQuestionWhenConfirmExitIsZero) {
  enter_parents_directory(dir_);
  pref_confirm_exit = 0;
  // No answer is queued: a question would fail the child.
  EXPECT_EXIT(
      {
        tk::test::choose_menu_item(kItemExit);
        run_loop();
      },
      ::testing::ExitedWithCode(0), "");
  unsetenv("QUILLOP_SHELL_EXIT_DIR");
  EXPECT_FALSE(is_folder(dir_ + "/_temp_090503"));
  EXPECT_NE(read_file(kPreferencesFile).find("\nConfirmExit = 0\n"), std::string::npos);
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  if (!tk::init(argc, argv)) {
    std::fprintf(stderr, "window tests need a display\n");
    return 1;
  }
  tk::set_failure_handler([](const std::string& reason) { ADD_FAILURE() << reason; });
  load_main_fonts();
  load_builtin_pictures();
  return RUN_ALL_TESTS();
}
