// The sprite properties dialog driven while its own loop runs: fields stored
// as they are typed, the animated preview, the buttons that reach the frame
// editor, the strip import and writer, "Delete" and " Done " with the rename.
#include "maker/graphics/frame_editor.h"
#include "maker/graphics/sprite_dialog.h"
#include "maker/project/save_project.h"
#include "maker/shell/main_window.h"
#include "maker/shell/small_windows.h"
#include "graphics_fixture.h"

using namespace graphics_test;

namespace {

constexpr imaging::Colour kGrey = imaging::rgba(192, 192, 192);
constexpr imaging::Colour kWhite = imaging::rgba(255, 255, 255);
constexpr imaging::Colour kBlack = imaging::rgba(0, 0, 0);

int input(int n) { return widget_of(kDialogWindow, tk::WidgetKind::Input, n); }
// Inputs in creation order: name, speed, origin X, origin Y, radius, left,
// right, top, bottom.
enum { kName, kSpeed, kOriginX, kOriginY, kRadius, kLeft, kRight, kTop, kBottom };
int canvas() { return widget_of(kDialogWindow, tk::WidgetKind::Canvas); }
int area() { return widget_of(kDialogWindow, tk::WidgetKind::ScrollArea); }
int shape() { return widget_of(kDialogWindow, tk::WidgetKind::DropDown); }
int zoom() { return widget_of(kDialogWindow, tk::WidgetKind::Slider); }
int size_label() { return widget_of(kDialogWindow, tk::WidgetKind::Label, 0); }
void press(const char* text) { graphics_test::press(kDialogWindow, text); }
void tick() { tk::post_event(tk::kEventTimer, kDialogWindow, kSpritePreviewTimer); }
imaging::Colour pixel_at(int x, int y) { return imaging::get_pixel(*tk::canvas_image(canvas()), x, y); }

class SpriteDialog : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    g_sprites[0].thumbnail_image = imaging::create_image(imaging::kAnyImage, 150, 100);
  }
};

}  // namespace

TEST_F(SpriteDialog, FieldsAreStoredAsTheirInputsChange) {
  add_frame(sprite_, "0", 20, 20);
  add_frame("other", "0", 50, 50);
  add_frame(sprite_, "1", 10, 8);  // the frame size is the last frame's
  g_sprites[0].collision_shape = "Box";
  set_project_modified(0);
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::window_title(kDialogWindow), "Sprite properties - " + sprite_);
    EXPECT_EQ(tk::window_width(kDialogWindow), 800);
    EXPECT_TRUE(tk::window_disabled(kMainWindow));
    EXPECT_EQ(tk::text(65), " Done ");
    EXPECT_EQ(std::make_pair(tk::widget_x(65), tk::widget_y(65)), std::make_pair(725, 565));
    EXPECT_EQ(tk::text(size_label()), "Size: 10 x 8");
    EXPECT_EQ(tk::text(shape()), "Box");
    EXPECT_EQ(tk::item_text(shape(), 0), "Circle");
    EXPECT_EQ(tk::text(input(kSpeed)), "30");
    EXPECT_EQ(tk::state(zoom()), 1);
    EXPECT_TRUE(tk::timer_exists(kDialogWindow, kSpritePreviewTimer));
    tk::test::request_close(kDialogWindow);  // ignored
  });
  // Each step is typed, then checked once the dialog has handled it.
  struct Step {
    int input;
    const char* text;  // retyped; nullptr types nothing
    int Sprite::*field;
    int stored;
  } steps[] = {
      {kOriginX, "1", &Sprite::origin_x, 1},
      {kOriginX, "12", &Sprite::origin_x, 1},  // wider than the frame: ignored
      {kOriginY, "-5", &Sprite::origin_y, -5},
      {kOriginY, "8", &Sprite::origin_y, 8},
      {kOriginY, "9", &Sprite::origin_y, 8},
      {kRadius, "1x5", &Sprite::collision_radius, 15},  // digits only
      {kLeft, "-4", &Sprite::collision_left, -4},
      {kRight, "20", &Sprite::collision_right, 20},
      {kTop, " 2", &Sprite::collision_top, 2},
      {kBottom, "$10", &Sprite::collision_bottom, 16},
      {kBottom, "x", &Sprite::collision_bottom, 0},
  };
  for (const Step& step : steps) {
    tk::test::when_idle([&] { retype(input(step.input), step.text); });
    tk::test::when_idle([&] { EXPECT_EQ(g_sprites[0].*step.field, step.stored) << step.text; });
  }
  tk::test::when_idle([] {
    EXPECT_EQ(tk::text(input(kOriginX)), "12");  // the text stays as typed
    tk::test::choose_item(shape(), 0);
    tk::test::click(tk::test::find_widget(kDialogWindow, "Show collision shape"));
    press("Center");
  });
  tk::test::when_idle([] {
    EXPECT_EQ(g_sprites[0].collision_shape, "Circle");
    EXPECT_EQ(g_sprite_show_collision, 0);
    EXPECT_EQ(tk::text(input(kOriginX)), "5");
    EXPECT_EQ(tk::text(input(kOriginY)), "4");
    EXPECT_EQ(std::make_pair(g_sprites[0].origin_x, g_sprites[0].origin_y), std::make_pair(5, 4));
    retype(input(kSpeed), "0");
  });
  tk::test::when_idle([] {
    EXPECT_EQ(g_sprite_preview_speed, 30);  // 0 changes nothing
    retype(input(kSpeed), "5000");
  });
  tk::test::when_idle([] {
    EXPECT_EQ(g_sprite_preview_speed, 5000);  // below a millisecond: no timer
    EXPECT_FALSE(tk::timer_exists(kDialogWindow, kSpritePreviewTimer));
    retype(input(kSpeed), "20");
  });
  tk::test::when_idle([] {
    EXPECT_TRUE(tk::timer_exists(kDialogWindow, kSpritePreviewTimer));
    EXPECT_EQ(g_project_modified, 0);
    press(" Done ");
  });
  edit_sprite(sprite_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
  EXPECT_EQ(g_sprite_preview_image.count(), 0);
  EXPECT_EQ(g_sprite_preview_speed, 20);  // kept for the next opening
  EXPECT_EQ(g_project_modified, 1);
}

TEST_F(SpriteDialog, PreviewDrawsTheFrameOriginLinesAndCollisionShapeZoomed) {
  add_frame(sprite_, "0", picture(32, 32, imaging::rgba(0, 0, 0, 0)));
  add_frame(sprite_, "1", picture(32, 32, imaging::rgba(200, 0, 0)));
  Sprite& s = g_sprites[0];
  s.origin_x = s.origin_y = 16;
  s.collision_shape = "Box";
  s.collision_left = 2, s.collision_top = 2, s.collision_right = 4, s.collision_bottom = 4;
  s.collision_radius = 2;
  const imaging::Colour green_over_grey = imaging::blend(kGrey, imaging::rgba(0, 255, 0, 130));
  g_sprite_preview_speed = 5000;  // no timer: the test ticks, which frame shows never depends on time
  tk::test::when_idle([] { tk::test::move_slider(zoom(), 3); });
  tk::test::when_idle([] {
    EXPECT_EQ(g_sprite_preview_zoom, 3);
    EXPECT_EQ(tk::widget_width(canvas()), 96);
    EXPECT_EQ(tk::widget_height(canvas()), 96);
    EXPECT_EQ(tk::scroll_inner_width(area()), 96);
    tick();
  });
  tk::test::when_idle([&] {
    // The first, transparent frame over the checkerboard.
    EXPECT_EQ(pixel_at(0, 0), kGrey);
    EXPECT_EQ(pixel_at(20, 0), kWhite);
    EXPECT_EQ(pixel_at(48, 5), kBlack);
    EXPECT_EQ(pixel_at(5, 48), kBlack);
    EXPECT_EQ(pixel_at(47, 5), kGrey);
    EXPECT_EQ(pixel_at(6, 6), green_over_grey);  // the box from (6, 6) to (12, 12)
    EXPECT_EQ(pixel_at(11, 11), green_over_grey);
    EXPECT_EQ(pixel_at(12, 12), kGrey);
    EXPECT_EQ(pixel_at(5, 5), kGrey);
    tick();
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(pixel_at(90, 90), imaging::rgba(200, 0, 0));  // the second frame
    tk::test::choose_item(shape(), 0);
  });
  tk::test::when_idle([] { tick(); });  // back to the first frame
  tk::test::when_idle([&] {
    // A circle of radius 6 around the middle of the frame (48, 48).
    EXPECT_EQ(pixel_at(53, 50), green_over_grey);
    EXPECT_EQ(pixel_at(55, 50), kGrey);
    EXPECT_EQ(pixel_at(6, 6), kGrey);
    g_sprites[0].thumbnail_image = -1;  // no preview without a thumbnail
    tk::canvas_image(canvas())->pixels.assign(tk::canvas_image(canvas())->pixels.size(), 0);
    tick();
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(pixel_at(0, 0), 0u);
    press(" Done ");
  });
  edit_sprite(sprite_);
  EXPECT_EQ(g_sprite_preview_zoom, 3);
}

// The slider's top zoom is drawn for a 64 x 64 sprite: what it reads is
// what the preview shows.
TEST_F(SpriteDialog, SixtyFourBySixtyFourIsDrawnAtZoomSixtyFour) {
  add_frame(sprite_, "0", picture(64, 64, imaging::rgba(200, 0, 0)));
  g_sprite_preview_speed = 5000;  // no timer: the test ticks
  tk::test::when_idle([] { tk::test::move_slider(zoom(), 64); });
  tk::test::when_idle([] {
    EXPECT_EQ(tk::widget_width(canvas()), 4096);
    EXPECT_EQ(tk::widget_height(canvas()), 4096);
    EXPECT_EQ(tk::scroll_inner_width(area()), 4096);
    tick();
  });
  tk::test::when_idle([] {
    EXPECT_EQ(pixel_at(4095, 4095), imaging::rgba(200, 0, 0));
    EXPECT_EQ(pixel_at(63 * 64 + 1, 100), imaging::rgba(200, 0, 0));
    press(" Done ");
  });
  edit_sprite(sprite_);
}

TEST_F(SpriteDialog, ValuesFromADamagedProjectAndLargeZoomsStayBounded) {
  add_frame(sprite_, "0", 3000, 10);
  Sprite& s = g_sprites[0];
  s.origin_x = INT_MAX, s.origin_y = INT_MIN;
  s.collision_shape = "Box";
  s.collision_left = INT_MIN, s.collision_right = INT_MAX;
  s.collision_top = INT_MAX, s.collision_bottom = INT_MIN;
  g_sprite_preview_speed = 5000;  // no timer: the test ticks
  tk::test::when_idle([] { tk::test::move_slider(zoom(), 64); });
  tk::test::when_idle([] {
    EXPECT_EQ(tk::widget_width(canvas()), 15000);  // the highest zoom a canvas holds
    EXPECT_EQ(tk::widget_height(canvas()), 50);
    tick();
  });
  tk::test::when_idle([] {
    EXPECT_EQ(imaging::alpha(pixel_at(14999, 49)), 255);
    tk::test::choose_item(shape(), 0);
    g_sprites[0].collision_radius = INT_MAX;
  });
  tk::test::when_idle([] { tick(); });
  tk::test::when_idle([] { press(" Done "); });
  edit_sprite(sprite_);
}

TEST_F(SpriteDialog, ASpriteWithoutFramesHasNoSizeAndTakesOnlyOriginsUpToZero) {
  tk::test::when_idle([] {
    EXPECT_EQ(tk::text(size_label()), "");
    EXPECT_EQ(tk::widget_width(canvas()), 0);
    EXPECT_EQ(tk::widget_height(canvas()), 0);
    retype(input(kOriginX), "1");
    retype(input(kOriginY), "-3");
  });
  tk::test::when_idle([] { press("Center"); });
  tk::test::when_idle([] {
    EXPECT_EQ(g_sprites[0].origin_x, 0);
    EXPECT_EQ(g_sprites[0].origin_y, -3);
    EXPECT_EQ(tk::text(input(kOriginX)), "1");
    tick();
  });
  tk::test::when_idle([] { press(" Done "); });
  edit_sprite(sprite_);
}

TEST_F(SpriteDialog, DoneRefusesMissingAndTakenNamesAndRenamesWithTheCascade) {
  const std::string other = new_sprite();
  const int first = add_frame(sprite_, "0", 12, 7);
  add_frame(sprite_, "1", 3, 3);
  add_frame(other, "0", 5, 5);
  new_object();
  new_object();
  g_objects[0].sprite_name = sprite_;
  g_objects[0].sprite_image = -1;
  g_objects[1].sprite_name = other;
  tk::test::when_idle([&] {
    set_project_modified(0);
    tk::set_text(input(kName), "");
    press(" Done ");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_project_modified, 1);  // also when refused
    retype(input(kName), other);
    press(" Done ");
  });
  tk::test::when_idle([&] {
    EXPECT_TRUE(tk::window_exists(kDialogWindow));
    std::string upper = other;
    upper[0] = char(toupper(upper[0]));
    retype(input(kName), upper);  // names compare case-sensitively
    press(" Done ");
  });
  edit_sprite(sprite_);
  EXPECT_EQ(ask_->messages(), (std::vector<std::string>{"The sprite name is missing",
                                                        "The sprite name '" + other + "' already exists"}));
  EXPECT_EQ(ask_->asked[0].title, "Error");
  std::string upper = other;
  upper[0] = char(toupper(upper[0]));
  EXPECT_EQ(g_sprites[0].name, upper);
  EXPECT_EQ(counters_of(upper), (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(counters_of(sprite_).size(), 0u);
  EXPECT_EQ(g_objects[0].sprite_name, upper);
  EXPECT_EQ(g_objects[0].sprite_image, g_frames[first].image);
  EXPECT_EQ(std::make_pair(g_objects[0].image_width, g_objects[0].image_height), std::make_pair(12, 7));
  EXPECT_EQ(g_objects[1].sprite_name, other);
  EXPECT_NE(card_of(upper), -1);

  // The own name again: accepted, and the objects' pictures refreshed.
  g_objects[0].image_width = 0;
  tk::test::when_idle([] { press(" Done "); });
  edit_sprite(upper);
  EXPECT_EQ(g_objects[0].image_width, 12);
  EXPECT_EQ(ask_->messages().size(), 2u);
}

// The sprite name starts the file names of its frame pictures on save, and
// the project file blanks line breaks in it.
TEST_F(SpriteDialog, DoneRefusesNamesThatCannotNameAFrameFile) {
  add_frame(sprite_, "0", 4, 4);
  add_frame(sprite_, "-2147483648", 4, 4);  // the longest counter the frame commands make
  const std::string kCannot = "A sprite name cannot contain \"/\" or a line break nor be \".\" or \"..\".";
  const std::string kTooLong = "The sprite name is too long";
  // Its longest frame file name is 250 bytes: the file systems take 255,
  // and a file is written beside it with ".part" more.
  const std::string longest(234, 'a');
  std::string accented;
  for (int i = 0; i < 118; ++i) accented += "\u00e9";  // 118 letters, 236 bytes
  struct Case {
    std::string name;
    bool pasted;
    std::string message;
  } refused[] = {
      {"a/b", false, kCannot},          {"/", false, kCannot},
      {".", false, kCannot},            {"..", false, kCannot},
      {"a\nb", true, kCannot},          {"a\rb", false, kCannot},
      {"name\r\n", true, kCannot},      {longest + "b", false, kTooLong},
      {accented, false, kTooLong},
  };
  for (const Case& c : refused) {
    tk::test::when_idle([c] {
      EXPECT_TRUE(tk::window_exists(kDialogWindow));
      tk::set_text(input(kName), "");
      if (c.pasted)
        tk::test::paste_text(input(kName), c.name);  // how a line break reaches a one-line input
      else
        tk::test::type_text(input(kName), c.name);
      EXPECT_EQ(tk::text(input(kName)), c.name);
      press(" Done ");
    });
  }
  tk::test::when_idle([&] {
    EXPECT_TRUE(tk::window_exists(kDialogWindow));
    retype(input(kName), longest);
    press(" Done ");
  });
  edit_sprite(sprite_);
  std::vector<std::string> expected;
  for (const Case& c : refused) expected.push_back(c.message);
  EXPECT_EQ(ask_->messages(), expected);
  for (const tk::test::Question& q : ask_->asked) EXPECT_EQ(q.title, "Error");
  EXPECT_EQ(g_sprites[0].name, longest);
  EXPECT_EQ(counters_of(longest), (std::vector<std::string>{"0", "-2147483648"}));

  // Saved, every frame has its picture.
  ASSERT_TRUE(write_project("p"));
  EXPECT_TRUE(std::filesystem::is_regular_file("Projects/p/" + longest + "_0.png"));
  EXPECT_TRUE(std::filesystem::is_regular_file("Projects/p/" + longest + "_-2147483648.png"));
}

TEST_F(SpriteDialog, DeleteAsksFirstAndRemovesTheSpriteWithItsFrames) {
  add_frame(sprite_, "0", 4, 4);
  add_frame("other", "0", 4, 4);
  set_project_modified(0);
  tk::test::when_idle([] { press("Delete"); });
  tk::test::when_idle([] {
    EXPECT_TRUE(tk::window_exists(kDialogWindow));
    press("Delete");
  });
  ask_->answer_yes_no(0);
  ask_->answer_yes_no(1);
  edit_sprite(sprite_);
  EXPECT_EQ(ask_->asked[0].title, "Confirm");
  EXPECT_EQ(ask_->asked[0].text, "Do you really want to delete this sprite?");
  EXPECT_EQ(g_sprites.count(), 0);
  EXPECT_EQ(frames_of(sprite_).size(), 0u);
  EXPECT_EQ(frames_of("other").size(), 1u);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_EQ(card_of(sprite_), -1);

  edit_sprite("nobody");  // no dialog: only the browser is rebuilt
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
}

TEST_F(SpriteDialog, EditLoadAndSaveReachTheFrameEditorImportAndWriter) {
  add_frame(sprite_, "0", 8, 8);
  write_png("strip.png", gradient(60, 20));
  tk::test::when_idle([] { press("Edit"); });
  tk::test::when_idle([] {
    const int editor = tk::widget_window(kFrameStripArea);
    ASSERT_NE(editor, -1);
    EXPECT_TRUE(tk::window_disabled(kDialogWindow));
    tk::test::press_key(editor, 'D', tk::kControl);
  });
  tk::test::when_idle([] { press(tk::widget_window(kFrameStripArea), "Done"); });
  tk::test::when_idle([&] {
    EXPECT_EQ(counters_of(sprite_), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(g_sprite_preview_image.count(), 2);
    press("Load...");
  });
  tk::test::when_idle([] {
    const int importer = window_titled("Importing image strips");
    retype(widget_of(importer, tk::WidgetKind::Input, 0), "3");
    press(importer, " Import! ");
  });
  tk::test::when_idle([] {
    EXPECT_EQ(tk::text(size_label()), "Size: 20 x 20");
    EXPECT_EQ(g_sprite_preview_image.count(), 3);
    EXPECT_EQ(tk::text(input(kRadius)), "10");
    EXPECT_EQ(tk::text(input(kRight)), "20");
    EXPECT_EQ(tk::text(input(kBottom)), "20");
    EXPECT_EQ(tk::text(input(kOriginX)), "0");
    press("Save as PNG...");
  });
  tk::test::when_idle([] { press(" Done "); });
  ask_->answer_file(dir_ + "/strip.png");
  ask_->answer_file(dir_ + "/again");
  edit_sprite(sprite_);
  EXPECT_EQ(ask_->asked[1].title, "Save sprite as PNG strip");
  auto written = imaging::decode_image_file("again.png");
  ASSERT_TRUE(written);
  EXPECT_EQ(written->width, 60);
}
