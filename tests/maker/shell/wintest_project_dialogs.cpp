// The project name dialog and the save commands, the open-project dialog,
// and opening a project with its pictures, copies, service window and log.
#include <utime.h>

#include <set>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/project/project_file.h"
#include "maker/project/save_project.h"
#include "maker/project/thumbnails.h"
#include "maker/shell/open_project.h"
#include "maker/shell/project_dialogs.h"
#include "maker/shell/startup.h"
#include "shell_fixture.h"

namespace {

namespace fs = std::filesystem;

// The open window of that title (dialogs take their numbers at run time).
int window_titled(const std::string& title) {
  for (int w = tk::kFirstDynamicNumber; w < tk::kFirstDynamicNumber + 100000; ++w)
    if (tk::window_exists(w) && tk::window_title(w) == title) return w;
  return -1;
}

int name_input(int dialog) {
  for (int w : tk::test::widgets_of_window(dialog))
    if (tk::widget_kind(w) == tk::WidgetKind::Input) return w;
  return -1;
}

// Answers the name dialog: types `name` over its text and presses the button.
void answer_name(const std::string& name, const char* button = "OK") {
  tk::test::when_idle([name, button] {
    int dialog = window_titled("Enter the project name");
    ASSERT_NE(dialog, -1);
    tk::set_text(name_input(dialog), "");
    tk::test::type_text(name_input(dialog), name);
    tk::test::click(tk::test::find_widget(dialog, button));
  });
}

class ProjectDialogs : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    g_service_mode = g_debug_log = 0;
  }
  void TearDown() override {
    g_service_mode = g_debug_log = 0;
    ShellTest::TearDown();
  }
  // A saved project under `name`, with one sprite, then a new empty project.
  static void saved_project(const std::string& name, int version = 127) {
    g_project_name = name;
    new_sprite();
    ASSERT_TRUE(write_project(name));
    if (version != 127) {
      std::string bytes = read_file("Projects/" + name + ".qgp");
      bytes[0] = char(version);
      std::ofstream("Projects/" + name + ".qgp", std::ios::binary) << bytes;
    }
    set_project_modified(0);
    new_project();
  }
};

TEST_F(ProjectDialogs, NameDialogRefusesNamesThatCannotNameTheProjectFilesAndKeepsBlanks) {
  new_sprite();
  tk::test::when_idle([] {
    int dialog = window_titled("Enter the project name");
    ASSERT_NE(dialog, -1);
    EXPECT_EQ(tk::window_width(dialog), 400);
    EXPECT_EQ(tk::window_height(dialog), 100);
    EXPECT_TRUE(tk::window_disabled(kMainWindow));
    EXPECT_TRUE(tk::window_kept_above(dialog));
    int ok = tk::test::find_widget(dialog, "OK");
    EXPECT_EQ(std::make_pair(tk::widget_x(ok), tk::widget_y(ok)), std::make_pair(290, 65));
    tk::test::request_close(dialog);  // the close box does nothing
  });
  const std::string kCannot =
      "A project name cannot contain \"/\", \".qgp\" or a line break nor be \".\" or \"..\".";
  // The project file's name is 250 bytes at most: the file systems take 255,
  // and it is written beside it with ".part" more.
  const std::string longest(246, 'p');
  const std::pair<std::string, std::string> refused[] = {
      {"a/b", kCannot}, {".", kCannot}, {"..", kCannot}, {"/", kCannot},
      // "v1.qgp.old" would be listed as "v1.old" and never open again.
      {"v1.qgp.old", kCannot}, {"game.qgp", kCannot}, {"a\nb", kCannot}, {"a\rb", kCannot},
      {longest + "p", "The project name is too long"},
  };
  std::vector<std::string> messages;
  for (const auto& [name, message] : refused) {
    answer_name(name);
    messages.push_back(message);
  }
  answer_name("  my game ");
  save_project_or_ask();

  EXPECT_EQ(ask_->messages(), messages);
  for (const tk::test::Question& q : ask_->asked) EXPECT_EQ(q.title, "Error");
  EXPECT_EQ(g_project_name, "  my game ");
  EXPECT_TRUE(fs::is_regular_file("Projects/  my game .qgp"));
  EXPECT_TRUE(fs::is_directory("Projects/  my game "));
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_EQ(tk::window_title(kMainWindow), "Quillop Game Maker v1.2.7 -   my game ");
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
  EXPECT_EQ(window_titled("Enter the project name"), -1);

  // Named now: saved without a question (an unexpected dialog would fail).
  new_sprite();
  save_project_or_ask();
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);

  answer_name(longest);
  save_project_as();
  EXPECT_EQ(g_project_name, longest);
  EXPECT_TRUE(fs::is_regular_file("Projects/" + longest + ".qgp"));
}

TEST_F(ProjectDialogs, SaveAsStartsWithTheNameAndCancelLeavesTheProjectUnnamed) {
  g_project_name = "demo";
  update_main_window_title();
  tk::test::when_idle([] {
    EXPECT_EQ(tk::window_title(kMainWindow), "Quillop Game Maker v1.2.7 - demo");
    int dialog = window_titled("Enter the project name");
    EXPECT_EQ(tk::text(name_input(dialog)), "demo");
    tk::test::click(tk::test::find_widget(dialog, "Cancel"));
  });
  save_project_as();
  EXPECT_EQ(g_project_name, "");
  EXPECT_EQ(tk::window_title(kMainWindow), "Quillop Game Maker v1.2.7");  // the old name is gone
  EXPECT_FALSE(fs::exists("Projects/demo.qgp"));

  answer_name("");  // "OK" on an empty name is a cancel
  save_project_or_ask();
  EXPECT_EQ(g_project_name, "");
  EXPECT_TRUE(fs::is_empty("Projects"));
}

TEST_F(ProjectDialogs, NameOfAnotherProjectAsksBeforeReplacingIt) {
  saved_project("other");
  const std::string other = read_file("Projects/other.qgp");
  new_sprite();
  new_sprite();
  const char* const kQuestion = "The project 'other' already exists. Replace it?";

  // Unnamed, No: nothing written, still unnamed.
  answer_name("other");
  ask_->answer_yes_no(0);
  EXPECT_EQ(save_project_or_ask(), 0);
  EXPECT_EQ(g_project_name, "");
  EXPECT_EQ(g_project_modified, 1);

  // Named "mine", Save as "other", No: nothing written (no export either),
  // still "mine".
  answer_name("mine");
  EXPECT_EQ(save_project_or_ask(), 1);
  fs::remove("Projects/mine/game.js");
  new_sprite();
  answer_name("other");
  ask_->answer_yes_no(0);
  run_menu_command(kItemSaveAs);
  EXPECT_EQ(g_project_name, "mine");
  EXPECT_EQ(g_project_modified, 1);
  EXPECT_FALSE(fs::exists("Projects/mine/game.js"));
  EXPECT_EQ(read_file("Projects/other.qgp"), other);

  // Its own name again: no question.
  answer_name("mine");
  EXPECT_EQ(save_project_as(), 1);
  EXPECT_EQ(g_project_modified, 0);

  // A project folder without its file is a project of that name too.
  fs::create_directories("Projects/folder only");
  answer_name("folder only");
  ask_->answer_yes_no(0);
  EXPECT_EQ(save_project_as(), 0);
  EXPECT_FALSE(fs::exists("Projects/folder only.qgp"));

  // Yes: saved as before.
  answer_name("other");
  ask_->answer_yes_no(1);
  EXPECT_EQ(save_project_as(), 1);
  EXPECT_EQ(g_project_name, "other");
  EXPECT_NE(read_file("Projects/other.qgp"), other);

  std::vector<std::string> questions;
  for (const tk::test::Question& q : ask_->asked)
    if (q.what == tk::test::Asked::YesNo) questions.push_back(q.title + ": " + q.text);
  EXPECT_EQ(questions, (std::vector<std::string>{
                           std::string("Confirm: ") + kQuestion, std::string("Confirm: ") + kQuestion,
                           "Confirm: The project 'folder only' already exists. Replace it?",
                           std::string("Confirm: ") + kQuestion}));
}

TEST_F(ProjectDialogs, OpenDialogListsProjectsWithPictureAndDate) {
  saved_project("alpha");
  saved_project("beta");
  fs::create_directories("Projects/folder only");
  imaging::Image picture(240, 180);
  imaging::Canvas(picture).box(0, 0, 240, 180);
  ASSERT_TRUE(imaging::save_png(picture, "Projects/alpha.png"));
  std::ofstream("Projects/beta.png");  // empty: the placeholder
  utimbuf when{0, 1614834360};         // 2021-03-04 05:06 UTC
  utime("Projects/alpha.qgp", &when);

  std::string opened;
  tk::test::when_idle([] {
    int dialog = window_titled("Open a project...");
    ASSERT_NE(dialog, -1);
    EXPECT_TRUE(tk::window_disabled(kMainWindow));
    int list = -1, view = -1, date = -1;
    for (int w : tk::test::widgets_of_window(dialog)) {
      if (tk::widget_kind(w) == tk::WidgetKind::ListView) list = w;
      if (tk::widget_kind(w) == tk::WidgetKind::ImageView) view = w;
      if (tk::widget_kind(w) == tk::WidgetKind::Label) date = w;
    }
    ASSERT_EQ(tk::item_count(list), 2);
    EXPECT_EQ((std::set<std::string>{tk::item_text(list, 0), tk::item_text(list, 1)}),
              (std::set<std::string>{"alpha", "beta"}));
    int alpha = tk::item_text(list, 0) == "alpha" ? 0 : 1;

    tk::test::choose_item(list, alpha);
    tk::post_event(tk::kEventWidget, dialog, list, tk::kLeftClick);
    tk::test::when_idle([=] {
      EXPECT_EQ(tk::text(date), "Project started: 2021-03-04 05:06");
      int shown = tk::widget_image(view);
      EXPECT_NE(shown, 216);
      EXPECT_EQ(imaging::image_width(shown), 240);
      EXPECT_EQ(imaging::image_height(shown), 180);
      tk::test::choose_item(list, 1 - alpha);
      tk::post_event(tk::kEventWidget, dialog, list, tk::kLeftClick);
    });
    tk::test::when_idle([=] {
      EXPECT_EQ(tk::widget_image(view), 216);
      tk::test::request_close(dialog);
    });
    tk::test::when_idle([=] { tk::test::click(tk::test::find_widget(dialog, "Open")); });
  });
  opened = open_project_dialog();
  EXPECT_EQ(opened, "beta");
  EXPECT_EQ(window_titled("Open a project..."), -1);
  EXPECT_FALSE(tk::window_disabled(kMainWindow));

  // "Open" with no row selected is a cancel.
  tk::test::when_idle([] {
    tk::test::click(tk::test::find_widget(window_titled("Open a project..."), "Open"));
  });
  EXPECT_EQ(open_project_dialog(), "");
}

// Answers the open-project dialog with the project `name` by a double-click.
void choose_project(const std::string& name) {
  tk::test::when_idle([name] {
    int dialog = window_titled("Open a project...");
    ASSERT_NE(dialog, -1);
    for (int w : tk::test::widgets_of_window(dialog)) {
      if (tk::widget_kind(w) != tk::WidgetKind::ListView) continue;
      for (int row = 0; row < tk::item_count(w); ++row)
        if (tk::item_text(w, row) == name) tk::test::choose_item(w, row);
      tk::post_event(tk::kEventWidget, dialog, w, tk::kLeftDoubleClick);
    }
  });
}

TEST_F(ProjectDialogs, OpenFillsTheProjectWithPicturesCopiesTilesAndDepths) {
  // The project as it was saved.
  g_project_name = "world";
  new_sprite();
  int frame = imaging::create_image(imaging::kAnyImage, 4, 2);
  imaging::set_image_pixel(frame, 1, 1, imaging::rgba(1, 2, 3));
  g_frames.append({"1", "sprite_2", frame});
  new_sound();
  g_sounds[0].wav_file = "jump.wav";
  new_background();
  new_background();
  g_backgrounds[0].image_file = "tiles.png";
  g_backgrounds[1].image_file = "gone.png";  // saved without its file
  imaging::Image tiles(64, 64);
  imaging::set_pixel(tiles, 40, 8, imaging::rgba(9, 8, 7));
  ASSERT_TRUE(imaging::save_png(tiles, g_project_folder + "/tiles.png"));
  std::ofstream(g_project_folder + "/jump.wav") << "RIFF";
  g_tiles.append({"t1", g_backgrounds[0].name, 32, 0, 16, 16, 0, 0, 1000000, "", -1, 0});
  g_tiles.append({"t2", g_backgrounds[1].name, 0, 0, 8, 4, 0, 0, 1000000, "", -1, 0});
  g_tiles.append({"t3", "no such background", 0, 0, 8, 4, 0, 0, 1000000, "", -1, 0});
  g_tiles.append({"t4", g_backgrounds[0].name, 32, 0, 16, 16, 64, 0, 1000000, "", -1, 0});
  new_object();
  g_objects[0].depth = 5;
  GameObject instance = g_objects[0];
  instance.is_prototype = 0;
  instance.template_name = instance.name;
  instance.name = "SceneObject9";
  instance.depth = 1;
  g_objects.append(instance);
  new_scene();
  ASSERT_TRUE(write_project("world"));
  const int uid = g_project_uid;
  const std::string file_before = read_file("Projects/world.qgp");

  set_project_modified(0);
  new_project();
  new_font();  // an unsaved change: Open asks first
  ask_->answer_yes_no(1);
  choose_project("world");
  open_project();

  EXPECT_EQ(ask_->asked.at(0).text, "Unsaved changes will be lost. Open a new project?");
  EXPECT_EQ(g_project_name, "world");
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_EQ(g_project_uid, uid);
  EXPECT_EQ(g_fonts.count(), 0);
  ASSERT_EQ(g_frames.count(), 1);
  EXPECT_EQ(imaging::image_pixel(g_frames[0].image, 1, 1), imaging::rgba(1, 2, 3));
  EXPECT_EQ(read_file(g_project_folder + "/jump.wav"), "RIFF");
  ASSERT_EQ(g_tiles.count(), 4);
  EXPECT_EQ(imaging::image_pixel(g_tiles[0].image, 8, 8), imaging::rgba(9, 8, 7));
  EXPECT_EQ(imaging::image_pixel(g_tiles[0].image, 0, 0), 0u);
  EXPECT_EQ(imaging::image_pixel(g_tiles[1].image, 7, 3), imaging::rgba(255, 0, 0));
  EXPECT_FALSE(imaging::image_exists(g_tiles[2].image));
  // A tile showing the same part as another has a picture of its own.
  ASSERT_NE(g_tiles[3].image, g_tiles[0].image);
  EXPECT_EQ(imaging::image_pixel(g_tiles[3].image, 8, 8), imaging::rgba(9, 8, 7));
  imaging::set_image_pixel(g_tiles[0].image, 8, 8, imaging::rgba(1, 1, 1));
  EXPECT_EQ(imaging::image_pixel(g_tiles[3].image, 8, 8), imaging::rgba(9, 8, 7));
  EXPECT_EQ(g_objects[1].depth, 5);
  EXPECT_EQ(g_scenes[0].thumbnail_image, 91);
  EXPECT_TRUE(imaging::image_exists(g_sprites[0].thumbnail_image));
  // The backgrounds' thumbnails: of the picture read, or the bare card.
  const std::pair<int, const imaging::Image*> pictures[] = {{0, &tiles}, {1, nullptr}};
  for (auto [b, picture] : pictures) {
    const imaging::Image* thumbnail = imaging::image_ptr(g_backgrounds[b].thumbnail_image);
    ASSERT_NE(thumbnail, nullptr) << b;
    EXPECT_EQ(thumbnail->pixels, thumbnail_of(picture).pixels) << b;
  }
  EXPECT_EQ(tk::state(kResourcePanel), 0);
  EXPECT_EQ(read_file("Projects/world.qgp"), file_before);
}

TEST_F(ProjectDialogs, OpenRefusesNewerAndDamagedFilesAndChangesNothing) {
  saved_project("future", 128);
  g_project_uid = 1;
  ASSERT_TRUE(write_project("broken"));
  std::string bytes = read_file("Projects/broken.qgp");
  bytes[16] = 0x10;  // 16 sprites in the 40 bytes left
  std::ofstream("Projects/broken.qgp", std::ios::binary) << bytes;

  g_project_name = "current";
  new_sprite();
  const std::string folder = g_project_folder;
  struct Case { const char* project; const char* message; };
  const Case cases[] = {
      {"future", "This project requires a new program version (v128)."},
      {"broken", "The project file Projects/broken.qgp is damaged and cannot be opened."},
  };
  for (const Case& c : cases) {
    ask_->asked.clear();
    ask_->answer_yes_no(1);
    choose_project(c.project);
    open_project();
    ASSERT_EQ(ask_->asked.size(), 2u) << c.project;
    EXPECT_EQ(ask_->asked[1].title, "Error");
    EXPECT_EQ(ask_->asked[1].text, c.message);
    EXPECT_EQ(g_project_name, "current");
    EXPECT_EQ(g_project_modified, 1);
    EXPECT_EQ(g_sprites.count(), 1);
    EXPECT_EQ(g_project_folder, folder);
  }
}

TEST_F(ProjectDialogs, ServiceModeShowsEveryValueAndTakesTheModifiedOne) {
  saved_project("svc");
  const std::string file_before = read_file("Projects/svc.qgp");
  g_service_mode = 1;
  // Header 7, eleven counts, one sprite of 9 values.
  constexpr int kValues = 7 + 11 + 9;
  std::vector<std::string> labels;
  choose_project("svc");
  for (int v = 0; v < kValues; ++v)
    tk::test::when_idle([&labels] {
      int window = window_titled("Service mode");
      ASSERT_NE(window, -1);
      EXPECT_EQ(tk::window_width(window), 800);
      EXPECT_TRUE(tk::window_disabled(kMainWindow));
      EXPECT_TRUE(tk::window_kept_above(window));
      std::vector<int> w = tk::test::widgets_of_window(window);
      ASSERT_EQ(w.size(), 6u);
      labels.push_back(tk::text(w[0]));
      EXPECT_EQ(tk::text(w[3]), tk::text(w[4]));
      if (labels.back() == "Sprite name") {
        tk::set_text(w[4], "");
        tk::test::type_text(w[4], "renamed");
      }
      tk::test::request_close(window);  // ignored
      tk::test::click(w[5]);
    });
  open_project();
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  ASSERT_EQ(labels.size(), size_t(kValues));
  EXPECT_EQ(labels[0], "File version");
  EXPECT_EQ(labels[1], "UID");
  EXPECT_EQ(labels[7], "Number of sprites");
  EXPECT_EQ(labels[8], "Sprite name");
  EXPECT_EQ(labels.back(), "Number of tiles");
  ASSERT_EQ(g_sprites.count(), 1);
  EXPECT_EQ(g_sprites[0].name, "renamed");
  EXPECT_EQ(read_file("Projects/svc.qgp"), file_before);
}

TEST_F(ProjectDialogs, LoadLogStartsWithTheFileAndTheCounter) {
  g_project_uid = 1;
  ASSERT_TRUE(write_project("empty"));
  open_debug_window();
  tk::set_text(kDebugText, "");
  g_debug_log = 1;
  choose_project("empty");
  open_project();
  std::string log = tk::text(kDebugText);
  EXPECT_EQ(log.rfind("\r\nOpening file...empty\r\nFile version: 127\r\nUID: 1\r\n"
                     "-----------------------------------------\r\n", 0),
            0u);
  EXPECT_NE(log.find("\r\nUID: 1\r\n-----------------------------------------\r\n"
                     "<<<<<<<<<<< CODE START >>>>>>>>>>>\r\nGlobal functions: \r\n"),
            std::string::npos);
  tk::close_window(kDebugWindow);
}

}  // namespace
