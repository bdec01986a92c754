// The background properties dialog driven while its own loop runs: the
// preview and its tile grid, choosing an image, "Done" and "Delete".
#include <filesystem>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/project/thumbnails.h"
#include "maker/shell/background_dialog.h"
#include "maker/shell/small_windows.h"
#include "shell_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr imaging::Colour kPaint = imaging::rgba(10, 20, 30);
constexpr imaging::Colour kInverted = imaging::rgba(245, 235, 225);

// The n-th widget of that kind in the dialog, in creation order.
int dialog_widget(tk::WidgetKind kind, int n = 0) {
  for (int w : tk::test::widgets_of_window(kDialogWindow))
    if (tk::widget_kind(w) == kind && n-- == 0) return w;
  return -1;
}
int name_input() { return dialog_widget(tk::WidgetKind::Input, 0); }
// Width, height, X offset, Y offset, X space, Y space.
int tile_input(int k) { return dialog_widget(tk::WidgetKind::Input, 1 + k); }
int use_as_tileset() { return dialog_widget(tk::WidgetKind::CheckBox); }
int canvas() { return dialog_widget(tk::WidgetKind::Canvas); }

void retype(int input, const std::string& text) {
  tk::set_text(input, "");
  tk::test::type_text(input, text);
}
void press(const char* button) { tk::test::click(tk::test::find_widget(kDialogWindow, button)); }
void tick() { tk::post_event(tk::kEventTimer, kDialogWindow, 777); }

void write_picture(const std::string& path, int w, int h, imaging::Colour colour = kPaint) {
  imaging::Image picture(w, h);
  imaging::Canvas paint(picture);
  paint.set_colour(colour);
  paint.box(0, 0, w, h);
  ASSERT_TRUE(imaging::save_png(picture, path));
}

int add_tile(const std::string& name, const std::string& background, int left, int top) {
  Tile t;
  t.name = name;
  t.background_name = background;
  t.source_left = left;
  t.source_top = top;
  t.width = t.height = 16;
  t.image = imaging::create_image(imaging::kAnyImage, 16, 16);
  imaging::Canvas(t.image).box(0, 0, 16, 16);  // white before the new picture
  return g_tiles.append(t);
}

const Tile* tile_named(const std::string& name) {
  for (const Tile& t : g_tiles)
    if (t.name == name) return &t;
  return nullptr;
}

class BackgroundDialog : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    name_ = new_background();
    folder_ = g_project_folder + "/";
  }
  std::string name_, folder_;
};

}  // namespace

TEST_F(BackgroundDialog, TimerDrawsThePictureWithTheGridOfTheTypedSettings) {
  write_picture(folder_ + "grid.png", 100, 64);
  g_backgrounds[0].image_file = "grid.png";
  g_backgrounds[0].tile_width = 99;  // the typed settings count, not the record
  struct Case {
    const char* settings[6];  // width, height, x and y offset, x and y space
    bool grid;
    std::vector<std::pair<int, int>> inverted, plain;
  } cases[] = {
      // 3 x 2 whole tiles: 4 x 3 cells, the last column starting at x = 96.
      {{"32", "32", "0", "0", "0", "0"}, true, {{5, 0}, {0, 5}, {5, 31}, {31, 5}, {96, 5}, {5, 32}},
       {{5, 5}, {99, 5}, {0, 0}}},
      {{"32", "32", "2", "3", "4", "0"}, true, {{10, 3}, {2, 10}, {33, 10}, {38, 10}},
       {{10, 0}, {0, 10}, {34, 10}, {36, 10}}},
      // No width: no whole tile, yet the one column of empty cells at x = 0.
      {{"", "32", "0", "0", "0", "0"}, true, {{0, 5}, {0, 40}}, {{5, 0}, {5, 5}, {32, 5}}},
      {{"32", "32", "0", "0", "0", "0"}, false, {}, {{5, 0}, {0, 5}, {96, 5}}},
      // Settings from a damaged project file: far-off cells and cells drawn
      // over each other, without overflow or endless drawing.
      {{"1", "1", "-2147483648", "0", "2147483647", "-1"}, true, {{0, 0}, {0, 1}}, {{1, 0}, {1, 1}}},
      {{"2147483647", "2147483647", "0", "0", "0", "0"}, true, {{5, 0}, {0, 5}}, {{0, 0}, {5, 5}}},
  };
  for (const Case& c : cases) {
    tk::test::when_idle([&] {
      for (int k = 0; k < 6; ++k) tk::set_text(tile_input(k), c.settings[k]);
      tk::set_state(use_as_tileset(), c.grid);
      tick();
    });
    tk::test::when_idle([&] {
      imaging::Image* shown = tk::canvas_image(canvas());
      ASSERT_NE(shown, nullptr);
      for (auto [x, y] : c.inverted) EXPECT_EQ(imaging::get_pixel(*shown, x, y), kInverted) << x << "," << y;
      for (auto [x, y] : c.plain) EXPECT_EQ(imaging::get_pixel(*shown, x, y), kPaint) << x << "," << y;
    });
  }
  tk::test::when_idle([] {
    EXPECT_EQ(tk::widget_width(canvas()), 100);
    EXPECT_EQ(tk::widget_height(canvas()), 64);
    int area = dialog_widget(tk::WidgetKind::ScrollArea);
    EXPECT_EQ(tk::scroll_inner_width(area), 100);
    EXPECT_EQ(tk::scroll_inner_height(area), 64);
    EXPECT_TRUE(tk::timer_exists(kDialogWindow, 777));
    press("Done");
  });
  open_background_properties(name_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_EQ(g_backgrounds[0].tile_width, 2147483647);  // the last case's
  EXPECT_EQ(g_backgrounds[0].use_as_tileset, 1);
}

TEST_F(BackgroundDialog, ChosenImageRenewsThumbnailAndTilesAndDoneCopiesIt) {
  fs::create_directories("elsewhere");
  write_picture("elsewhere/photo.png", 50, 50);
  write_picture(folder_ + "photo.png", 8, 8, imaging::rgba(0, 0, 0));
  const int old_thumbnail = g_backgrounds[0].thumbnail_image = make_thumbnail(-1);
  add_tile("right", name_, 64, 0);   // past the new width: deleted
  add_tile("below", name_, 0, 40);   // re-cut from the new picture
  add_tile("edge", name_, 50, 0);    // exactly at the width: kept, now transparent
  add_tile("other", "somewhere else", 64, 0);
  set_project_modified(0);
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::window_title(kDialogWindow), "Background properties - " + name_);
    EXPECT_EQ(tk::window_width(kDialogWindow), 800);
    EXPECT_EQ(tk::window_height(kDialogWindow), 600);
    EXPECT_TRUE(tk::window_disabled(kMainWindow));
    EXPECT_EQ(std::make_pair(tk::widget_x(65), tk::widget_y(65)), std::make_pair(725, 565));
    EXPECT_NE(tk::test::find_widget(kDialogWindow, "File: "), -1);
    press("Select image...");
  });
  tk::test::when_idle([&] {
    EXPECT_NE(tk::test::find_widget(kDialogWindow, "photo.png"), -1);
    EXPECT_FALSE(imaging::image_exists(old_thumbnail));
    EXPECT_EQ(imaging::image_width(g_backgrounds[0].thumbnail_image), 150);
    EXPECT_EQ(tk::widget_width(canvas()), 50);
    EXPECT_EQ(tile_named("right"), nullptr);
    ASSERT_NE(tile_named("below"), nullptr);
    EXPECT_EQ(imaging::image_pixel(tile_named("below")->image, 3, 9), kPaint);
    EXPECT_EQ(imaging::image_pixel(tile_named("below")->image, 3, 10), 0u);  // below the picture
    ASSERT_NE(tile_named("edge"), nullptr);
    EXPECT_EQ(imaging::image_pixel(tile_named("edge")->image, 0, 0), 0u);
    EXPECT_NE(tile_named("other"), nullptr);
    EXPECT_EQ(g_backgrounds[0].image_file, "");  // only "Done" stores
    EXPECT_NE(read_file(folder_ + "photo.png"), read_file("elsewhere/photo.png"));
    tk::test::request_close(kDialogWindow);  // no cancel
  });
  tk::test::when_idle([] { press("Done"); });
  ask_->answer_file(dir_ + "/elsewhere/photo.png");
  open_background_properties(name_);

  ASSERT_EQ(ask_->asked.size(), 1u);
  EXPECT_EQ(ask_->asked[0].title, "Select an image");
  EXPECT_EQ(ask_->asked[0].default_path, "");
  EXPECT_EQ(ask_->asked[0].patterns,
            "Image files(jpg, bmp, png)|*.jpg;*.bmp;*.png|JPG files(*.jpg)|*.jpg|BMP files(*.bmp)|*.bmp|"
            "PNG files(*.png)|*.png");
  EXPECT_EQ(ask_->asked[0].pattern, 0);
  EXPECT_EQ(g_backgrounds[0].image_file, "photo.png");
  EXPECT_EQ(read_file(folder_ + "photo.png"), read_file("elsewhere/photo.png"));
  EXPECT_EQ(g_project_modified, 1);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
  EXPECT_NE(card_of(name_), -1);

  // Opened again: the stored file is read from the working folder.
  tk::test::when_idle([] {
    EXPECT_NE(tk::test::find_widget(kDialogWindow, "File: photo.png"), -1);
    EXPECT_EQ(tk::widget_width(canvas()), 50);
    press("Done");
  });
  open_background_properties(name_);
}

TEST_F(BackgroundDialog, DoneAsksBeforeReplacingAnotherResourcesFileOfTheSameName) {
  Background first;
  first.name = "first";
  first.image_file = "tiles.png";
  g_backgrounds.append(first);
  write_picture(folder_ + "tiles.png", 8, 8, imaging::rgba(0, 0, 0));
  const std::string kept = read_file(folder_ + "tiles.png");
  fs::create_directories("elsewhere");
  write_picture("elsewhere/tiles.png", 20, 20);
  tk::test::when_idle([] {
    press("Select image...");
    press("Done");
  });
  tk::test::when_idle([&] {
    EXPECT_TRUE(tk::window_exists(kDialogWindow));
    EXPECT_EQ(g_backgrounds[0].image_file, "");
    EXPECT_EQ(read_file(folder_ + "tiles.png"), kept);
    press("Done");
  });
  ask_->answer_file(dir_ + "/elsewhere/tiles.png");
  ask_->answer_yes_no(0);
  ask_->answer_yes_no(1);
  open_background_properties(name_);
  ASSERT_EQ(ask_->asked.size(), 3u);
  EXPECT_EQ(ask_->asked[1].title, "Confirm");
  EXPECT_EQ(ask_->asked[1].text, "Another resource uses a different file named 'tiles.png'. Replace it?");
  EXPECT_EQ(g_backgrounds[0].image_file, "tiles.png");
  EXPECT_EQ(read_file(folder_ + "tiles.png"), read_file("elsewhere/tiles.png"));

  // The same picture chosen again is copied without a question.
  tk::test::when_idle([] {
    press("Select image...");
    press("Done");
  });
  ask_->answer_file(dir_ + "/elsewhere/tiles.png");
  open_background_properties("first");
  EXPECT_EQ(ask_->asked.size(), 4u);
  EXPECT_EQ(g_backgrounds[1].image_file, "tiles.png");
}

TEST_F(BackgroundDialog, DamagedPicturesShowNothingAndLeaveTheTiles) {
  write_picture(folder_ + "good.png", 40, 40);
  std::string png = read_file(folder_ + "good.png");
  std::ofstream(folder_ + "stored.png", std::ios::binary) << png.substr(0, png.size() / 2);
  std::ofstream("cut.png", std::ios::binary) << png.substr(0, png.size() - 20);
  g_backgrounds[0].image_file = "stored.png";
  g_backgrounds[0].use_as_tileset = 1;
  const int thumbnail = g_backgrounds[0].thumbnail_image = make_thumbnail(-1);
  add_tile("kept", name_, 64, 64);
  tk::test::when_idle([] {
    tick();  // nothing to draw without a picture
  });
  tk::test::when_idle([&] {
    imaging::Image* shown = tk::canvas_image(canvas());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(imaging::get_pixel(*shown, 0, 0), 0u);
    press("Select image...");  // a cut file
  });
  tk::test::when_idle([] { press("Select image..."); });  // a missing file
  tk::test::when_idle([&] {
    EXPECT_NE(tk::test::find_widget(kDialogWindow, "File: stored.png"), -1);
    EXPECT_EQ(g_backgrounds[0].thumbnail_image, thumbnail);
    ASSERT_NE(tile_named("kept"), nullptr);
    EXPECT_EQ(imaging::image_pixel(tile_named("kept")->image, 0, 0), imaging::rgba(255, 255, 255));
    press("Done");
  });
  ask_->answer_file(dir_ + "/cut.png");
  ask_->answer_file(dir_ + "/missing.png");
  open_background_properties(name_);
  EXPECT_EQ(ask_->messages(), (std::vector<std::string>{"The file 'cut.png' cannot be read as an image",
                                                        "The file 'missing.png' cannot be read as an image"}));
  EXPECT_EQ(ask_->asked[1].title, "Error");
  EXPECT_EQ(g_backgrounds[0].image_file, "stored.png");
  EXPECT_FALSE(fs::exists(folder_ + "cut.png"));
}

TEST_F(BackgroundDialog, DoneRenamesWithScenesAndTilesAndStoresTheSettings) {
  const std::string other = new_background();
  new_scene();
  new_scene();
  g_scenes[0].background_name = name_;
  g_scenes[1].background_name = other;
  add_tile("mine", name_, 0, 0);
  add_tile("theirs", other, 0, 0);
  set_project_modified(0);
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::widget_x(dialog_widget(tk::WidgetKind::Container)), 10000);
    tk::test::click(use_as_tileset());
    EXPECT_EQ(tk::text(tile_input(0)), "32");
    retype(tile_input(0), "1x6");  // letters are dropped
    EXPECT_EQ(tk::text(tile_input(0)), "16");
    retype(tile_input(3), "007");
    tk::set_text(tile_input(5), "");
    retype(name_input(), other);
    press("Done");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::widget_x(dialog_widget(tk::WidgetKind::Container)), 10);
    EXPECT_EQ(g_project_modified, 1);  // set before the checks
    EXPECT_EQ(g_backgrounds[0].tile_width, 32);
    EXPECT_EQ(g_scenes[0].background_name, name_);
    set_project_modified(0);
    tk::set_text(name_input(), "");
    press("Done");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_project_modified, 1);
    retype(name_input(), "sky");
    press("Done");
  });
  open_background_properties(name_);

  EXPECT_EQ(ask_->messages(), (std::vector<std::string>{"The background name '" + other + "' already exists",
                                                        "The background name is missing"}));
  for (const tk::test::Question& q : ask_->asked) EXPECT_EQ(q.title, "Error");
  const Background& b = g_backgrounds[0];
  EXPECT_EQ(b.name, "sky");
  EXPECT_EQ(b.use_as_tileset, 1);
  EXPECT_EQ(std::vector<int>({b.tile_width, b.tile_height, b.tile_offset_x, b.tile_offset_y,
                              b.tile_space_x, b.tile_space_y}),
            std::vector<int>({16, 32, 0, 7, 0, 0}));
  EXPECT_EQ(g_scenes[0].background_name, "sky");
  EXPECT_EQ(g_scenes[1].background_name, other);
  EXPECT_EQ(tile_named("mine")->background_name, "sky");
  EXPECT_EQ(tile_named("theirs")->background_name, other);
  EXPECT_EQ(g_backgrounds[1].name, other);
  EXPECT_NE(card_of("sky"), -1);

  // Opened again: the stored settings, the tile settings in sight.
  tk::test::when_idle([] {
    EXPECT_EQ(tk::state(use_as_tileset()), 1);
    EXPECT_EQ(tk::widget_x(dialog_widget(tk::WidgetKind::Container)), 10);
    EXPECT_EQ(tk::text(tile_input(3)), "7");
    press("Done");
  });
  open_background_properties("sky");
}

TEST_F(BackgroundDialog, DeleteAsksAndTakesTheScenesBackgroundAndTilesAlong) {
  new_scene();
  g_scenes[0].background_name = name_;
  add_tile("mine", name_, 0, 0);
  set_project_modified(0);
  tk::test::when_idle([] {
    retype(name_input(), "renamed but not stored");
    press("Delete");  // answered No
  });
  tk::test::when_idle([] {
    EXPECT_TRUE(tk::window_exists(kDialogWindow));
    press("Delete");
  });
  ask_->answer_yes_no(0);
  ask_->answer_yes_no(1);
  open_background_properties(name_);
  ASSERT_EQ(ask_->asked.size(), 2u);
  EXPECT_EQ(ask_->asked[1].title, "Confirm");
  EXPECT_EQ(ask_->asked[1].text, "Do you really want to delete this background?");
  EXPECT_EQ(g_backgrounds.count(), 0);
  EXPECT_EQ(g_scenes[0].background_name, "");
  EXPECT_EQ(g_tiles.count(), 0);
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
  EXPECT_EQ(card_of(name_), -1);

  open_background_properties(name_);  // none left: only rebuilds
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
}
